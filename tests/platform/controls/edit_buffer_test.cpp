// The edit control's text and selection model: the typing limit and deletions.
#include <gtest/gtest.h>

#include <ostream>

#include "controls/edit_buffer.h"

namespace {

using pda::controls::EditBuffer;

TEST(EditBufferTest, SetTextIgnoresTheLimitButTypingHonoursIt) {
  EditBuffer b;
  b.SetLimit(5);
  b.SetText(u"1234567");
  EXPECT_EQ(b.text(), u"1234567") << "set text is not cut";
  b.MoveCaret(7, false);
  const auto r = b.ReplaceSelection(u"8", true);
  EXPECT_EQ(r.inserted, 0u);
  EXPECT_TRUE(r.cut);
  EXPECT_EQ(b.text(), u"1234567");
}

struct LimitCase {
  const char* name;
  std::u16string start;
  std::size_t selectFrom, selectTo;
  std::u16string insert;
  std::u16string expected;
  bool cut;
};
void PrintTo(const LimitCase& c, std::ostream* os) { *os << c.name; }

class LimitTest : public ::testing::TestWithParam<LimitCase> {};

TEST_P(LimitTest, InsertsWhatTheLimitLeavesRoomFor) {
  EditBuffer b;
  b.SetLimit(6);
  b.SetText(GetParam().start);
  b.Select(GetParam().selectFrom, GetParam().selectTo);
  const auto r = b.ReplaceSelection(GetParam().insert, true);
  EXPECT_EQ(b.text(), GetParam().expected);
  EXPECT_EQ(r.cut, GetParam().cut);
  EXPECT_EQ(b.caret(), GetParam().selectFrom + r.inserted) << "caret after the insertion";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, LimitTest,
    ::testing::Values(
        LimitCase{"FitsWhole", u"abc", 3, 3, u"de", u"abcde", false},
        LimitCase{"CutToTheRoomLeft", u"abc", 3, 3, u"defgh", u"abcdef", true},
        LimitCase{"TheSelectionMakesRoom", u"abcdef", 1, 4, u"XYZ", u"aXYZef", false},
        LimitCase{"NeverSplitsASurrogatePair", u"abcde", 5, 5, u"\U0001F30D", u"abcde", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditBufferTest, ZeroLimitMeansTheLargest) {
  EditBuffer b;
  b.SetLimit(0);
  EXPECT_EQ(b.limit(), EditBuffer::kLargestLimit);
}

TEST(EditBufferTest, BackspaceAndDeleteTreatCrLfAsOne) {
  EditBuffer b;
  b.SetText(u"a\r\nb");
  b.MoveCaret(3, false);
  EXPECT_TRUE(b.DeleteBackward());
  EXPECT_EQ(b.text(), u"ab");
  b.SetText(u"a\r\nb");
  b.MoveCaret(1, false);
  EXPECT_TRUE(b.DeleteForward());
  EXPECT_EQ(b.text(), u"ab");
  EXPECT_FALSE(b.DeleteForward() && b.DeleteForward() && b.DeleteForward());
  EXPECT_TRUE(b.modified());
}

TEST(EditBufferTest, SelectionIsOrderedAndClampedOffCrLfMiddles) {
  EditBuffer b;
  b.SetText(u"ab\r\ncd");
  b.Select(99, 3);
  EXPECT_EQ(b.selectionStart(), 2u) << "3 is inside CR LF: moved before it";
  EXPECT_EQ(b.selectionEnd(), 6u);
  EXPECT_EQ(b.selectedText(), u"\r\ncd");
}

}  // namespace
