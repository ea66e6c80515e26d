// WrapText and the line/position look-ups of the edit control's layout.
#include "controls/text_wrap.h"

#include <algorithm>

namespace pda::controls {
namespace {

bool IsBreak(char16_t c) { return c == u'\r' || c == u'\n'; }

// Lines of one paragraph [start, end) (no line breaks inside), appended to lines.
void WrapParagraph(std::u16string_view text, std::size_t start, std::size_t end, int width,
                   const TextMeasure& measure, std::vector<TextLine>& lines) {
  if (width <= 0 || start == end) {
    lines.push_back({start, end});
    return;
  }
  std::vector<int> advances;
  measure.Advances(text.substr(start, end - start), advances);
  auto widthOf = [&](std::size_t from, std::size_t to) {  // paragraph-relative [from, to)
    return to == from ? 0 : advances[to - 1] - (from ? advances[from - 1] : 0);
  };
  std::size_t from = 0;
  const std::size_t length = end - start;
  while (from < length) {
    std::size_t fit = from;
    while (fit < length && widthOf(from, fit + 1) <= width) ++fit;
    if (fit == length) {
      lines.push_back({start + from, end});
      return;
    }
    // Break after the last space that fits; spaces following it hang on this line too.
    std::size_t breakAt = fit;
    while (breakAt > from && text[start + breakAt] != u' ' && text[start + breakAt - 1] != u' ')
      --breakAt;
    if (breakAt == from) breakAt = std::max(fit, from + 1);  // one long word: cut it
    while (breakAt < length && text[start + breakAt] == u' ') ++breakAt;
    lines.push_back({start + from, start + breakAt});
    from = breakAt;
  }
}

}  // namespace

std::vector<TextLine> WrapText(std::u16string_view text, int width, const TextMeasure& measure) {
  std::vector<TextLine> lines;
  std::size_t start = 0;
  for (;;) {
    std::size_t end = start;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    WrapParagraph(text, start, end, width, measure, lines);
    if (end == text.size()) break;
    start = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
  }
  return lines;
}

Rewrapped RewrapText(std::u16string_view before, std::u16string_view text, int width,
                     const TextMeasure& measure, std::vector<TextLine>& lines) {
  // The changed part: what lies between the common beginning and the common end.
  const std::size_t shorter = std::min(before.size(), text.size());
  const std::size_t prefix = static_cast<std::size_t>(
      std::mismatch(before.begin(), before.begin() + static_cast<std::ptrdiff_t>(shorter),
                    text.begin()).first - before.begin());
  std::size_t suffix = 0;
  while (suffix < shorter - prefix &&
         before[before.size() - 1 - suffix] == text[text.size() - 1 - suffix])
    ++suffix;
  // From the start of the paragraph before the one that holds the change (text before `prefix`
  // is the same; a change just after a CR may join it to a LF, which changes that paragraph's end).
  std::size_t first = lines.empty() ? 0 : LineOfPosition(lines, prefix);
  auto toParagraphStart = [&] {
    while (first > 0 && !IsBreak(before[lines[first].start - 1])) --first;
  };
  toParagraphStart();
  if (first > 0) {
    --first;
    toParagraphStart();
  }
  const std::size_t from = lines.empty() ? 0 : lines[first].start;

  // Paragraphs again until one ends inside the common end (or the text ends).
  std::vector<TextLine> fresh;
  std::size_t start = from, end = from;
  for (;;) {
    end = start;
    while (end < text.size() && !IsBreak(text[end])) ++end;
    WrapParagraph(text, start, end, width, measure, fresh);
    if (end == text.size() || end > text.size() - suffix) break;
    start = end + ((text[end] == u'\r' && end + 1 < text.size() && text[end + 1] == u'\n') ? 2 : 1);
  }
  // The old lines after that paragraph show the same text, moved by the change in length.
  std::size_t oldEnd = lines.size();
  if (end < text.size()) {
    const std::size_t oldBreak = end + before.size() - text.size();  // the same break, before
    oldEnd = first;
    while (oldEnd < lines.size() && lines[oldEnd].start <= oldBreak) ++oldEnd;
  }
  const auto shift =
      static_cast<std::ptrdiff_t>(text.size()) - static_cast<std::ptrdiff_t>(before.size());
  for (std::size_t i = oldEnd; i < lines.size(); ++i) {
    lines[i].start = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(lines[i].start) + shift);
    lines[i].end = static_cast<std::size_t>(static_cast<std::ptrdiff_t>(lines[i].end) + shift);
  }
  const std::size_t newEnd = first + fresh.size();
  lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(first),
              lines.begin() + static_cast<std::ptrdiff_t>(oldEnd));
  lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(first), fresh.begin(), fresh.end());
  return Rewrapped{first, oldEnd, newEnd};
}

std::size_t LineOfPosition(const std::vector<TextLine>& lines, std::size_t position) {
  auto it = std::upper_bound(lines.begin(), lines.end(), position,
                             [](std::size_t p, const TextLine& line) { return p < line.start; });
  return it == lines.begin() ? 0 : static_cast<std::size_t>(it - lines.begin() - 1);
}

int XOfPosition(std::u16string_view text, const TextLine& line, std::size_t position,
                const TextMeasure& measure) {
  const std::size_t count = std::min(position, line.end) - std::min(position, line.start);
  if (count == 0) return 0;
  std::vector<int> advances;
  measure.Advances(text.substr(line.start, count), advances);
  return advances.back();
}

std::size_t PositionAtX(std::u16string_view text, const TextLine& line, int x,
                        const TextMeasure& measure) {
  std::vector<int> advances;
  measure.Advances(text.substr(line.start, line.end - line.start), advances);
  int previous = 0;
  for (std::size_t i = 0; i < advances.size(); ++i) {
    if (x < (previous + advances[i] + 1) / 2) return line.start + i;  // nearer the left edge
    previous = advances[i];
  }
  return line.end;
}

}  // namespace pda::controls
