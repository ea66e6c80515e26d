// The EDIT control's state record (created on WM_CREATE, freed on WM_DESTROY) and the parts of
// the control that work on it: layout and scrolling here, painting in edit_paint.cpp. The note
// editor (RichInk, rich_ink.cpp) is an EDIT window with the same record and a few settings more.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "controls/edit_buffer.h"
#include "controls/text_measure.h"
#include "controls/text_wrap.h"
#include "pda/controls.h"
#include "pda/gdi.h"
#include "pda/owners.h"

namespace pda::controls {

// The note editor's set-up messages, remembered; an EDIT window keeps the defaults.
struct NoteSettings {
  WPARAM penMode = MODE_SELECT;
  WPARAM view = VT_TYPINGVIEW;
  WPARAM wrapMode = RI_WRAPTOWINDOW;  // the editor wraps to its width whatever is asked
  WPARAM pageStyle = PS_LEFTMARGIN;
  int zoomPercent = 100;
  UniqueFont zoomFont;  // the system face at zoomPercent; null at 100 %

  bool ruledLines() const { return (pageStyle & PS_RULEDLINES) != 0; }
};

struct EditState {
  // The record of a new EDIT window (null refuses it: no font to measure with).
  static std::unique_ptr<EditState> Create(HWND window, const CREATESTRUCTW& create);

  HWND window;
  DWORD style = 0;
  EditBuffer buffer;
  HFONT font;  // the caller's (WM_SETFONT); null: the system font
  DcTextMeasure measure;
  std::vector<TextLine> lines{{0, 0}};
  std::u16string laidOut;  // the text `lines` were made for
  int laidOutWidth = -1;   // and the wrap width; -1 until the first layout
  int width = 0;   // client size
  int height = 0;
  int firstLine = 0;  // multi-line: the top visible line
  int scrollX = 0;    // pixels scrolled to the left (single-line, or unwrapped multi-line)
  bool focused = false;
  bool selecting = false;  // the stylus went down in the text and holds it: a drag selects
  NoteSettings note;

  bool multiLine() const { return (style & ES_MULTILINE) != 0; }
  bool readOnly() const { return (style & ES_READONLY) != 0; }
  bool hasScrollBar() const { return multiLine() && (style & WS_VSCROLL) != 0; }
  // Multi-line text wraps at words unless it scrolls sideways (ES_AUTOHSCROLL or WS_HSCROLL).
  bool wraps() const { return multiLine() && !(style & (ES_AUTOHSCROLL | WS_HSCROLL)); }
};

// The text's part of the client area (left of the scroll bar, inside the margins).
RECT TextArea(const EditState& s);
RECT ScrollBarArea(const EditState& s);  // empty without WS_VSCROLL
int Margin(const EditState& s);
int VisibleLines(const EditState& s);
int MaxFirstLine(const EditState& s);

// Lines again after a change of text, font or size; keeps the scroll position in range.
void Relayout(EditState& s);
// Lines again after an edit of the text (same font and size): only the paragraphs it touched
// are measured again. Returns which lines changed.
Rewrapped RelayoutAfterEdit(EditState& s);
// Scrolls so that the caret is in view (EM_SCROLLCARET).
void ScrollCaretIntoView(EditState& s);
// Scrolls by lines (clamped); returns the lines actually scrolled.
int ScrollLines(EditState& s, int lines);
// The character position under a client point.
std::size_t PositionAt(const EditState& s, int x, int y);

// Draws the whole control at client coordinates.
void PaintEdit(HDC dc, const EditState& s);

// The EDIT class's window procedure: the note editor passes on what it does not answer itself.
LRESULT EditProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The note editor's class (rich_ink.cpp); true when registered now or already.
bool RegisterRichInkClass();

}  // namespace pda::controls
