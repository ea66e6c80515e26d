// The note editor (class "RichInk"): an EDIT window that is always multi-line, wraps to its
// width, follows the caret and takes Enter as a line break, with the EDIT record, layout and
// painting; here only what the note editor answers beyond EDIT: streaming the document in and
// out, the remembered set-up messages, the zoom, and the clipboard and undo queries. Everything
// else goes on to the EDIT procedure.
//
// Sections: document form | set-up | queries | the table | procedure and registration
#include <algorithm>
#include <array>
#include <string>

#include "controls/edit_state.h"
#include "kernel/utf.h"
#include "look/look.h"
#include "pda/clipboard.h"
#include "user/window_class.h"
#include "user/window_shape.h"

namespace pda::controls {
namespace {

constexpr std::size_t kStreamChunk = 4096;  // bytes handed to the callback at a time
constexpr int kMinZoom = 75, kMaxZoom = 300;

// ---- document form -------------------------------------------------------------------------
// The text as the note's file holds it: UTF-8, every line break (CR LF, a lone CR or LF) as CR LF.
std::string DocumentBytes(std::u16string_view text) {
  std::u16string lines;
  lines.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      lines += u"\r\n";
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      lines += c;
    }
  }
  return Utf16ToUtf8(lines);
}

// EM_STREAMOUT: wParam the format by value, lParam the EDITSTREAM. Returns the bytes the
// callback took; an unknown format streams nothing.
LRESULT OnStreamOut(EditState& s, WPARAM format, LPARAM lParam) {
  auto* stream = reinterpret_cast<EDITSTREAM*>(lParam);
  if (!stream || !stream->pfnCallback || (format != SF_PWI && format != SF_TEXT)) return 0;
  std::string bytes = DocumentBytes(s.buffer.text());
  stream->dwError = 0;
  LRESULT streamed = 0;
  for (std::size_t at = 0; at < bytes.size();) {
    const std::size_t count = std::min(kStreamChunk, bytes.size() - at);
    LONG written = 0;
    const DWORD error = stream->pfnCallback(stream->dwCookie,
                                            reinterpret_cast<LPBYTE>(bytes.data() + at),
                                            static_cast<LONG>(count), &written);
    const auto took =
        static_cast<std::size_t>(std::clamp<LONG>(written, 0, static_cast<LONG>(count)));
    streamed += static_cast<LRESULT>(took);
    if (error != 0) {
      stream->dwError = error;
      break;
    }
    if (took == 0) break;  // a callback that takes nothing would be called for ever
    at += took;
  }
  return streamed;
}

// EM_STREAMIN: wParam the format by value, lParam the EDITSTREAM. The callback fills chunks until
// it gives no bytes or fails (its error kept in dwError, the stream ends and the text stays as it
// was). The document form becomes the whole text; returns the characters read.
LRESULT OnStreamIn(EditState& s, WPARAM format, LPARAM lParam) {
  auto* stream = reinterpret_cast<EDITSTREAM*>(lParam);
  if (!stream || !stream->pfnCallback || (format != SF_PWI && format != SF_TEXT)) return 0;
  stream->dwError = 0;
  std::string bytes;
  std::array<BYTE, kStreamChunk> chunk{};
  for (;;) {
    LONG read = 0;
    const DWORD error = stream->pfnCallback(stream->dwCookie, chunk.data(),
                                            static_cast<LONG>(chunk.size()), &read);
    if (error != 0) {
      stream->dwError = error;
      return 0;
    }
    if (read <= 0) break;
    bytes.append(reinterpret_cast<const char*>(chunk.data()),
                 static_cast<std::size_t>(std::min<LONG>(read, static_cast<LONG>(chunk.size()))));
  }
  const std::u16string text = Utf8ToUtf16(bytes);
  SendMessageW(s.window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  return static_cast<LRESULT>(text.size());
}

// ---- set-up --------------------------------------------------------------------------------
// Each set-up message is remembered and answers TRUE; a value the editor does not know is
// refused with FALSE and changes nothing.
LRESULT OnSetPenMode(EditState& s, WPARAM mode, LPARAM) {
  if (mode > MODE_SPACE) return FALSE;
  s.note.penMode = mode;  // the editor draws no ink: every mode types and selects
  return TRUE;
}

LRESULT OnSetView(EditState& s, WPARAM view, LPARAM) {
  if (view != VT_TYPINGVIEW && view != VT_WRITINGVIEW && view != VT_DRAWINGVIEW) return FALSE;
  s.note.view = view;
  return TRUE;
}

LRESULT OnSetWrapMode(EditState& s, WPARAM mode, LPARAM) {
  if (mode != RI_WRAPTOPAGE && mode != RI_WRAPTOWINDOW) return FALSE;
  s.note.wrapMode = mode;  // remembered; the lines always wrap to the window
  return TRUE;
}

LRESULT OnSetPageStyle(EditState& s, WPARAM style, LPARAM) {
  constexpr WPARAM kKnown = PS_TOPMARGIN | PS_RULEDLINES | PS_GRIDLINES | PS_TOPLEFTMARGIN |
                            PS_NONE | PS_DOTTEDLINES | PS_YELLOWBACKGROUND;
  if (style & ~kKnown) return FALSE;
  s.note.pageStyle = style;
  InvalidateRect(s.window, nullptr, FALSE);
  return TRUE;
}

// The character height of the system font in pixels (as CreateFont's negative height).
int SystemCharacterHeight() {
  const UniqueMemoryDC dc(CreateCompatibleDC(HDC{}));
  if (!dc) return 0;
  const ScopedSelect font(dc.get(), GetStockObject(SYSTEM_FONT));
  TEXTMETRICW metrics{};
  if (!GetTextMetricsW(dc.get(), &metrics)) return 0;
  return metrics.tmHeight - metrics.tmInternalLeading;
}

// EM_SETZOOMPERCENT: lParam percent, clamped to 75..300; the text is drawn in the system face at
// that share of the system font's height. A font the caller set (WM_SETFONT) is replaced.
LRESULT OnSetZoomPercent(EditState& s, WPARAM, LPARAM percent) {
  const int zoom = static_cast<int>(std::clamp<LPARAM>(percent, kMinZoom, kMaxZoom));
  UniqueFont font;
  if (zoom != 100) {
    const int height = SystemCharacterHeight();
    if (height <= 0) return FALSE;
    font = look::SystemFont(std::max(1, (height * zoom + 50) / 100));
    if (!font) return FALSE;
  }
  s.note.zoomPercent = zoom;
  s.font = font.get();
  s.measure.SetFont(s.font);
  s.note.zoomFont = std::move(font);  // the old zoom font goes only now that nothing uses it
  Relayout(s);
  ScrollCaretIntoView(s);
  InvalidateRect(s.window, nullptr, FALSE);
  return TRUE;
}

// ---- queries -------------------------------------------------------------------------------
LRESULT OnCanPaste(EditState& s, WPARAM, LPARAM) {
  if (s.readOnly()) return FALSE;
  return IsClipboardFormatAvailable(CF_UNICODETEXT) ? TRUE : FALSE;
}

// The editor keeps no history: nothing to undo or redo.
LRESULT OnCannot(EditState&, WPARAM, LPARAM) { return FALSE; }

// ---- the table -----------------------------------------------------------------------------
constexpr user::Route<EditState> kNoteRoutes[] = {
    {EM_STREAMOUT,      OnStreamOut},
    {EM_STREAMIN,       OnStreamIn},
    {EM_SETPENMODE,     OnSetPenMode},
    {EM_SETVIEW,        OnSetView},
    {EM_SETWRAPMODE,    OnSetWrapMode},
    {EM_SETPAGESTYLE,   OnSetPageStyle},
    {EM_SETZOOMPERCENT, OnSetZoomPercent},
    {EM_CANPASTE,       OnCanPaste},
    {EM_CANUNDO,        OnCannot},
    {EM_CANREDO,        OnCannot},
};

// ---- procedure and registration ------------------------------------------------------------
// The styles every note editor has, whatever it was created with: multi-line, wrapping (no
// sideways scrolling), the caret kept in view, Enter a line break.
DWORD NoteStyle(DWORD style) {
  return (style | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN) & ~(ES_AUTOHSCROLL | WS_HSCROLL);
}

LRESULT RichInkProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    CREATESTRUCTW create = *reinterpret_cast<const CREATESTRUCTW*>(lParam);
    create.style = static_cast<LONG>(NoteStyle(static_cast<DWORD>(create.style)));
    return EditProcedure(window, message, wParam, reinterpret_cast<LPARAM>(&create));
  }
  if (EditState* state = user::ShapedState<EditState>(window))
    for (const auto& row : kNoteRoutes)
      if (row.message == message) return row.handler(*state, wParam, lParam);
  return EditProcedure(window, message, wParam, lParam);
}

}  // namespace

bool RegisterRichInkClass() {
  return user::RegisterSlotClass(WC_RICHINKW, RichInkProcedure,
                                 CS_DBLCLKS | user::kClassDrawsOwnScrollBar);
}

}  // namespace pda::controls
