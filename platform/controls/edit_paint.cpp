// Painting the EDIT control: white background, the visible lines in the control's font with the
// selection highlighted (grey text when the control is disabled), the caret while focused, the
// drawn scroll bar, and a frame with WS_BORDER; the note editor's ruled page adds a faint rule
// under each row.
#include <algorithm>

#include "controls/edit_state.h"
#include "look/look.h"
#include "look/scroll_bar.h"

namespace pda::controls {
namespace {

using look::Fill;
namespace palette = look::palette;

// One run of a line's characters [from, to) at x, y.
void DrawRun(HDC dc, const EditState& s, std::size_t from, std::size_t to, int x, int y,
             const RECT& clip) {
  if (to <= from) return;
  ExtTextOutW(dc, x, y, ETO_CLIPPED, &clip, s.buffer.text().data() + from,
              static_cast<UINT>(to - from), nullptr);
}

void PaintLine(HDC dc, const EditState& s, const TextLine& line, int y, const RECT& area) {
  const std::u16string& text = s.buffer.text();
  const int lineHeight = s.measure.LineHeight();
  const RECT clip{area.left, std::max<int>(y, area.top), area.right,
                  std::min<int>(y + lineHeight, area.bottom)};
  const int x0 = area.left - s.scrollX;
  const std::size_t selFrom = std::clamp(s.buffer.selectionStart(), line.start, line.end);
  const std::size_t selTo = std::clamp(s.buffer.selectionEnd(), line.start, line.end);
  const bool showSelection = s.focused || (s.style & ES_NOHIDESEL);

  SetTextColor(dc, IsWindowEnabled(s.window) ? palette::kText : palette::kDisabledText);
  DrawRun(dc, s, line.start, line.end, x0, y, clip);
  if (showSelection && selTo > selFrom) {
    const int a = x0 + XOfPosition(text, line, selFrom, s.measure);
    const int b = x0 + XOfPosition(text, line, selTo, s.measure);
    RECT band{std::max<int>(a, clip.left), clip.top, std::min<int>(b, clip.right), clip.bottom};
    if (band.right > band.left) {
      Fill(dc, band, palette::kAccent);
      SetTextColor(dc, palette::kAccentText);
      DrawRun(dc, s, selFrom, selTo, a, y, band);
    }
  }
}

void PaintCaret(HDC dc, const EditState& s, const RECT& area) {
  if (!s.focused || s.buffer.hasSelection()) return;
  const std::size_t line = LineOfPosition(s.lines, s.buffer.caret());
  const int row = static_cast<int>(line) - (s.multiLine() ? s.firstLine : 0);
  if (row < 0 || row >= VisibleLines(s)) return;
  const int x = area.left - s.scrollX +
                XOfPosition(s.buffer.text(), s.lines[line], s.buffer.caret(), s.measure);
  if (x < area.left - 1 || x >= area.right + 1) return;
  const int y = row * s.measure.LineHeight();
  const int thickness = std::max(1, GetSystemMetrics(SM_CXVSCROLL) / 13);
  Fill(dc, RECT{x, y, x + thickness, std::min<int>(y + s.measure.LineHeight(), area.bottom)}, palette::kText);
}

void PaintScrollBar(HDC dc, const EditState& s) {
  const RECT bar = ScrollBarArea(s);
  if (bar.right <= bar.left) return;
  look::PaintScrollBar(dc, look::VerticalScrollBar(bar, static_cast<int>(s.lines.size()),
                                                  VisibleLines(s), s.firstLine,
                                                  bar.right - bar.left));
}

}  // namespace

void PaintEdit(HDC dc, const EditState& s) {
  RECT box{0, 0, s.width, s.height};  // only the rows inside the DC's clip are drawn
  GetClipBox(dc, &box);
  Fill(dc, box, palette::kWindow);
  const ScopedSelect font(dc, s.font ? HGDIOBJ(s.font) : GetStockObject(SYSTEM_FONT));
  SetBkMode(dc, TRANSPARENT);
  const RECT area = TextArea(s);
  const int lineHeight = std::max(s.measure.LineHeight(), 1);
  const std::size_t first = s.multiLine() ? static_cast<std::size_t>(s.firstLine) : 0;
  for (std::size_t i = first; i < s.lines.size(); ++i) {
    const int y = static_cast<int>(i - first) * lineHeight;
    if (y >= std::min<int>(area.bottom, box.bottom)) break;
    if (y + lineHeight > box.top) PaintLine(dc, s, s.lines[i], y, area);
  }
  if (s.note.ruledLines())  // a faint rule under every row of the page, written or not
    for (int y = lineHeight - 1; y < area.bottom; y += lineHeight)
      Fill(dc, RECT{area.left, y, area.right, y + 1}, palette::kTrack);
  PaintCaret(dc, s, area);
  PaintScrollBar(dc, s);
  if (s.style & WS_BORDER) look::Frame(dc, RECT{0, 0, s.width, s.height}, 1, palette::kEdge);
}

}  // namespace pda::controls
