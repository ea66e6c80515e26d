// The EDIT control's layout and scrolling over its state record (see edit_state.h).
#include <algorithm>

#include "controls/edit_state.h"

namespace pda::controls {

int Margin(const EditState&) { return std::max(1, GetSystemMetrics(SM_CXVSCROLL) / 6); }

RECT ScrollBarArea(const EditState& s) {
  if (!s.hasScrollBar()) return RECT{};
  const int bar = GetSystemMetrics(SM_CXVSCROLL);
  return RECT{std::max(s.width - bar, 0), 0, s.width, s.height};
}

RECT TextArea(const EditState& s) {
  const int margin = Margin(s);
  const int right = s.hasScrollBar() ? ScrollBarArea(s).left : s.width;
  return RECT{margin, 0, std::max(right - margin, margin), s.height};
}

int VisibleLines(const EditState& s) {
  return std::max(1, s.height / std::max(s.measure.LineHeight(), 1));
}

int MaxFirstLine(const EditState& s) {
  return std::max(0, static_cast<int>(s.lines.size()) - VisibleLines(s));
}

namespace {
// A zero-width multi-line control (not yet placed) does not wrap: one line per paragraph.
int WrapWidth(const EditState& s) {
  const RECT area = TextArea(s);
  return s.wraps() ? area.right - area.left : 0;
}
}  // namespace

void Relayout(EditState& s) {
  const int wrapWidth = WrapWidth(s);
  s.lines = s.multiLine() ? WrapText(s.buffer.text(), wrapWidth, s.measure)
                          : std::vector<TextLine>{{0, s.buffer.text().size()}};
  s.laidOut = s.buffer.text();
  s.laidOutWidth = wrapWidth;
  s.firstLine = std::clamp(s.firstLine, 0, MaxFirstLine(s));
}

Rewrapped RelayoutAfterEdit(EditState& s) {
  if (!s.multiLine() || s.laidOutWidth != WrapWidth(s)) {
    const std::size_t before = s.lines.size();
    Relayout(s);
    return Rewrapped{0, before, s.lines.size()};
  }
  const Rewrapped changed =
      RewrapText(s.laidOut, s.buffer.text(), s.laidOutWidth, s.measure, s.lines);
  s.laidOut = s.buffer.text();
  s.firstLine = std::clamp(s.firstLine, 0, MaxFirstLine(s));
  return changed;
}

void ScrollCaretIntoView(EditState& s) {
  const std::u16string& text = s.buffer.text();
  const std::size_t line = LineOfPosition(s.lines, s.buffer.caret());
  if (s.multiLine()) {
    const int caretLine = static_cast<int>(line);
    if (caretLine < s.firstLine)
      s.firstLine = caretLine;
    else if (caretLine >= s.firstLine + VisibleLines(s))
      s.firstLine = caretLine - VisibleLines(s) + 1;
    s.firstLine = std::clamp(s.firstLine, 0, MaxFirstLine(s));
    if (s.wraps()) return;
  }
  const RECT area = TextArea(s);
  const int visible = std::max<int>(area.right - area.left, 1);
  const int x = XOfPosition(text, s.lines[line], s.buffer.caret(), s.measure);
  if (x < s.scrollX)
    s.scrollX = std::max(0, x - visible / 4);  // a quarter back, so that some text shows
  else if (x >= s.scrollX + visible)
    s.scrollX = x - visible + 1;
}

int ScrollLines(EditState& s, int lines) {
  const int before = s.firstLine;
  s.firstLine = std::clamp(s.firstLine + lines, 0, MaxFirstLine(s));
  return s.firstLine - before;
}

std::size_t PositionAt(const EditState& s, int x, int y) {
  const RECT area = TextArea(s);
  const int lineHeight = std::max(s.measure.LineHeight(), 1);
  // Above the text: the line before the first shown (a drag upwards scrolls line by line).
  const int row = !s.multiLine() ? 0 : y < 0 ? s.firstLine - 1 : s.firstLine + y / lineHeight;
  const std::size_t line =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(row, 0)), s.lines.size() - 1);
  return PositionAtX(s.buffer.text(), s.lines[line], x - area.left + s.scrollX, s.measure);
}

}  // namespace pda::controls
