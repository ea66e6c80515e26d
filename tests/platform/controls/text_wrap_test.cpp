// Word wrapping of the edit control's layout, with a fixed-width stand-in font.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>

#include <string>
#include <vector>

#include "controls/text_wrap.h"
#include "fixed_measure.h"

namespace {

using pda::controls::TextLine;

// The lines as the text they show, for readable expectations.
std::vector<std::u16string> Shown(std::u16string_view text, int width) {
  controls_test::FixedMeasure measure;
  std::vector<std::u16string> out;
  for (const TextLine& line : pda::controls::WrapText(text, width, measure))
    out.emplace_back(text.substr(line.start, line.end - line.start));
  return out;
}

struct WrapCase {
  const char* name;
  std::u16string text;
  int width;
  std::vector<std::u16string> lines;
};
void PrintTo(const WrapCase& c, std::ostream* os) { *os << c.name; }

class WrapTest : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WrapTest, BreaksIntoTheExpectedLines) {
  EXPECT_EQ(Shown(GetParam().text, GetParam().width), GetParam().lines);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WrapTest,
    ::testing::Values(
        WrapCase{"EmptyTextIsOneEmptyLine", u"", 100, {u""}},
        WrapCase{"FitsOnOneLine", u"hello world", 110, {u"hello world"}},
        WrapCase{"BreaksAfterTheLastSpaceThatFits", u"hello world", 100, {u"hello ", u"world"}},
        WrapCase{"SpacesHangAtTheWrap", u"ab   cd", 30, {u"ab   ", u"cd"}},
        WrapCase{"ALongWordIsCutWhereItOverflows", u"abcdefgh", 30, {u"abc", u"def", u"gh"}},
        WrapCase{"NarrowerThanOneCharacterStillShowsOnePerLine", u"abc", 5, {u"a", u"b", u"c"}},
        WrapCase{"CrLfLfAndCrAllBreak", u"a\r\nb\nc\rd", 100, {u"a", u"b", u"c", u"d"}},
        WrapCase{"ABreakAtTheEndLeavesAnEmptyLastLine", u"a\r\n", 100, {u"a", u""}},
        WrapCase{"EmptyParagraphsStay", u"a\r\n\r\nb", 100, {u"a", u"", u"b"}},
        WrapCase{"NoWidthMeansNoWrapping", u"hello world again", 0, {u"hello world again"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WrapInvariantTest, EveryCharacterBelongsToExactlyOneLine) {
  const std::u16string text = u"The quick brown fox\r\njumps over   the lazy dog.\nx";
  controls_test::FixedMeasure measure;
  for (int width : {5, 30, 60, 95, 200}) {
    const auto lines = pda::controls::WrapText(text, width, measure);
    std::u16string joined;
    for (const TextLine& line : lines) joined += text.substr(line.start, line.end - line.start);
    std::u16string withoutBreaks;
    for (char16_t c : text)
      if (c != u'\r' && c != u'\n') withoutBreaks += c;
    EXPECT_EQ(joined, withoutBreaks) << "width " << width;
    for (std::size_t i = 0; i < lines.size(); ++i)
      EXPECT_EQ(pda::controls::LineOfPosition(lines, lines[i].start), i) << "width " << width;
  }
}

TEST(WrapLookupTest, PositionsAndXAgree) {
  controls_test::FixedMeasure measure;
  const std::u16string text = u"hello world";
  const auto lines = pda::controls::WrapText(text, 100, measure);  // "hello " | "world"
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(pda::controls::LineOfPosition(lines, 5), 0u);
  EXPECT_EQ(pda::controls::LineOfPosition(lines, 6), 1u) << "the wrap point opens the next line";
  EXPECT_EQ(pda::controls::XOfPosition(text, lines[1], 8, measure), 20);
  EXPECT_EQ(pda::controls::PositionAtX(text, lines[1], 24, measure), 8u) << "nearer 20 than 30";
  EXPECT_EQ(pda::controls::PositionAtX(text, lines[1], 26, measure), 9u) << "nearer 30";
  EXPECT_EQ(pda::controls::PositionAtX(text, lines[1], 500, measure), 11u) << "past the end";
}

// Rewrapping after an edit gives the lines of wrapping the new text from scratch, over a long run
// of seeded edits of every kind (typing, line breaks, deleting across breaks, pasting paragraphs).
TEST(RewrapTest, MatchesWrappingTheWholeTextAfterEveryEdit) {
  controls_test::FixedMeasure measure;
  const std::u16string pieces[] = {u"a", u" ", u"\r\n", u"\r", u"\n", u"word ", u"longerword",
                                   u"two\r\nlines ", u""};
  std::uint32_t seed = 12345;
  auto next = [&seed](std::uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  for (int width : {0, 45, 80}) {
    std::u16string text;
    std::vector<TextLine> lines = pda::controls::WrapText(text, width, measure);
    for (int step = 0; step < 1500; ++step) {
      const std::u16string before = text;
      const std::size_t at = next(static_cast<std::uint32_t>(text.size() + 1));
      const std::size_t cut = std::min<std::size_t>(next(4) == 0 ? next(8) : 0, text.size() - at);
      text.replace(at, cut, pieces[next(std::size(pieces))]);
      const auto changed = pda::controls::RewrapText(before, text, width, measure, lines);
      const auto expected = pda::controls::WrapText(text, width, measure);
      ASSERT_EQ(lines.size(), expected.size()) << "width " << width << ", step " << step;
      for (std::size_t i = 0; i < lines.size(); ++i) {
        ASSERT_EQ(lines[i].start, expected[i].start) << "line " << i << ", step " << step;
        ASSERT_EQ(lines[i].end, expected[i].end) << "line " << i << ", step " << step;
      }
      ASSERT_LE(changed.first, changed.newEnd);
      ASSERT_LE(changed.newEnd, lines.size());
    }
  }
}

}  // namespace
