// DrawText's line layout with a fixed-width measure: every character is 10 pixels, tabs go to
// the next multiple of the tab width.
#include <gtest/gtest.h>

#include "gdi/text_layout.h"

namespace {

using pda::gdi::LayOutText;
using pda::gdi::LayoutRules;
using pda::gdi::TextLine;

int FixedWidth(std::u16string_view text, int x) {
  int pen = x;
  for (char16_t c : text) pen = c == u'\t' ? (pen / 40 + 1) * 40 : pen + 10;
  return pen - x;
}

std::vector<std::u16string> Texts(const std::vector<TextLine>& lines) {
  std::vector<std::u16string> out;
  for (const TextLine& line : lines) out.push_back(line.text);
  return out;
}

TEST(TextLayout, Cases) {
  struct Case {
    const char* name;
    std::u16string text;
    LayoutRules rules;
    std::vector<std::u16string> lines;
  };
  LayoutRules plain;
  LayoutRules single;
  single.single_line = true;
  LayoutRules wrap60;
  wrap60.word_break = true;
  wrap60.max_width = 60;
  LayoutRules no_prefix;
  no_prefix.prefixes = false;
  const Case cases[] = {
      {"line breaks split", u"ab\r\ncd\nef\rgh", plain, {u"ab", u"cd", u"ef", u"gh"}},
      {"single line drops breaks", u"ab\r\ncd", single, {u"abcd"}},
      {"prefix removed, double kept", u"&Save && quit", plain, {u"Save & quit"}},
      {"no prefix keeps ampersands", u"&Save", no_prefix, {u"&Save"}},
      {"wraps between words", u"one two three", wrap60, {u"one", u"two", u"three"}},
      {"words that fit share a line", u"ab cd ef gh", wrap60, {u"ab cd", u"ef gh"}},
      {"a long word overflows alone", u"a abcdefghij b", wrap60, {u"a", u"abcdefghij", u"b"}},
      {"empty text is one empty line", u"", plain, {u""}},
      {"blank line kept", u"a\n\nb", wrap60, {u"a", u"", u"b"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Texts(LayOutText(c.text, c.rules, FixedWidth)), c.lines);
  }
}

TEST(TextLayout, WidthsLeaveOutTrailingSpacesOfWrappedLines) {
  LayoutRules wrap;
  wrap.word_break = true;
  wrap.max_width = 50;
  const std::vector<TextLine> lines = LayOutText(u"abc   defg", wrap, FixedWidth);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[0].width, 30);
  EXPECT_EQ(lines[1].width, 40);
  for (const TextLine& line : lines) EXPECT_LE(line.width, wrap.max_width);
}

}  // namespace
