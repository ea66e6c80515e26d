// Breaking text into display lines: at line breaks (CR LF, LF or CR) and, when a width is given,
// at the last space that still fits (a word longer than the width is broken where it overflows).
// Every character belongs to exactly one line; the spaces at a wrap stay at the end of their
// line (they hang past the width), line breaks belong to no line.
#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "controls/text_measure.h"

namespace pda::controls {

struct TextLine {
  std::size_t start;  // first character
  std::size_t end;    // one past the last character, before any line break
};

// width <= 0: no wrapping, lines end only at line breaks. Never empty: "" is one empty line.
std::vector<TextLine> WrapText(std::u16string_view text, int width, const TextMeasure& measure);

// The lines of `text` again after it changed from `before`, whose lines were `lines` (same width
// and measure): only the paragraphs the change touched are measured again; the lines after them
// are moved by the change in length. Equal to WrapText(text, ...) in every case.
struct Rewrapped {
  std::size_t first;    // the first line measured again
  std::size_t oldEnd;   // one past the last replaced line of the old lines
  std::size_t newEnd;   // one past the last line measured again in the new lines
};
Rewrapped RewrapText(std::u16string_view before, std::u16string_view text, int width,
                     const TextMeasure& measure, std::vector<TextLine>& lines);

// The line that shows the character position (a position at a wrap belongs to the next line).
std::size_t LineOfPosition(const std::vector<TextLine>& lines, std::size_t position);

// The x offset of a position within its line, from the line's start.
int XOfPosition(std::u16string_view text, const TextLine& line, std::size_t position,
                const TextMeasure& measure);

// The position in the line nearest to x (measured from the line's start).
std::size_t PositionAtX(std::u16string_view text, const TextLine& line, int x,
                        const TextMeasure& measure);

}  // namespace pda::controls
