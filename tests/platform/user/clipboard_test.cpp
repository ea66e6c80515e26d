// The clipboard: who may open it, who owns its blocks, and what reaches the desktop clipboard.
#include <gtest/gtest.h>

#include <ostream>

#include <future>
#include <string>
#include <thread>

#include "pda/clipboard.h"
#include "pda/testing/clipboard.h"
#include "user/clipboard.h"

namespace {

HGLOBAL TextBlock(std::u16string_view text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  auto* chars = static_cast<char16_t*>(GlobalLock(block));
  std::copy(text.begin(), text.end(), chars);
  chars[text.size()] = u'\0';
  GlobalUnlock(block);
  return block;
}

std::u16string ReadBlock(HGLOBAL block) {
  const auto* chars = static_cast<const char16_t*>(GlobalLock(block));
  if (!chars) return u"<unreadable>";
  std::u16string text(chars);
  GlobalUnlock(block);
  return text;
}

// What the application does to copy text: open, empty, set, close.
bool PutText(HWND owner, std::u16string_view text) {
  if (!OpenClipboard(owner)) return false;
  EmptyClipboard();
  const bool placed = static_cast<bool>(SetClipboardData(CF_UNICODETEXT, TextBlock(text)));
  CloseClipboard();
  return placed;
}

std::u16string GetText() {
  if (!OpenClipboard(HWND{})) return u"<not opened>";
  HGLOBAL block = GetClipboardData(CF_UNICODETEXT);
  std::u16string text = block ? ReadBlock(block) : u"<none>";
  CloseClipboard();
  return text;
}

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { pda::testing::ResetClipboard(); }
  void TearDown() override { pda::testing::ResetClipboard(); }
};

TEST_F(ClipboardTest, OpenIsRefusedWhileAnotherThreadHoldsIt) {
  ASSERT_TRUE(OpenClipboard(HWND{7u}));
  auto other = std::async(std::launch::async, [] {
    const BOOL opened = OpenClipboard(HWND{8u});
    return std::make_pair(opened, GetLastError());
  }).get();
  EXPECT_FALSE(other.first);
  EXPECT_EQ(other.second, ERROR_ACCESS_DENIED);
  EXPECT_TRUE(OpenClipboard(HWND{7u})) << "the holder's thread may open it again";
  EXPECT_TRUE(CloseClipboard());
  EXPECT_FALSE(CloseClipboard());
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  auto after = std::async(std::launch::async, [] {
    const BOOL opened = OpenClipboard(HWND{8u});
    if (opened) CloseClipboard();
    return opened;
  }).get();
  EXPECT_TRUE(after) << "closed: another thread may open it";
}

TEST_F(ClipboardTest, CallsThatNeedItOpenFailWhenClosed) {
  EXPECT_FALSE(EmptyClipboard());
  HGLOBAL block = TextBlock(u"x");
  EXPECT_FALSE(SetClipboardData(CF_UNICODETEXT, block));
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  EXPECT_FALSE(GetClipboardData(CF_UNICODETEXT));
  EXPECT_FALSE(GlobalFree(block)) << "refused block stays the caller's to free";
}

TEST_F(ClipboardTest, SetDataTakesTheBlockAndEmptyFreesIt) {
  const HWND owner{42u};
  ASSERT_TRUE(OpenClipboard(owner));
  ASSERT_TRUE(EmptyClipboard());
  HGLOBAL block = TextBlock(u"47.6062095,-122.3320708");
  ASSERT_EQ(SetClipboardData(CF_UNICODETEXT, block), block);
  EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), block) << "the same block, owned by the clipboard";
  EXPECT_EQ(GetClipboardOwner(), owner);
  EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  EXPECT_EQ(CountClipboardFormats(), 1);
  ASSERT_TRUE(CloseClipboard());
  EXPECT_EQ(GetText(), u"47.6062095,-122.3320708");

  ASSERT_TRUE(OpenClipboard(owner));
  ASSERT_TRUE(EmptyClipboard());
  EXPECT_EQ(LocalSize(block), 0u) << "EmptyClipboard freed the block";
  EXPECT_FALSE(GetClipboardData(CF_UNICODETEXT));
  CloseClipboard();
  EXPECT_EQ(CountClipboardFormats(), 0);
}

TEST_F(ClipboardTest, ANewBlockOfTheSameFormatFreesTheOld) {
  ASSERT_TRUE(OpenClipboard(HWND{}));
  HGLOBAL first = TextBlock(u"one");
  HGLOBAL second = TextBlock(u"two");
  SetClipboardData(CF_UNICODETEXT, first);
  SetClipboardData(CF_UNICODETEXT, second);
  EXPECT_EQ(LocalSize(first), 0u);
  EXPECT_EQ(ReadBlock(GetClipboardData(CF_UNICODETEXT)), u"two");
  CloseClipboard();
}

TEST_F(ClipboardTest, SetDataRefusesABlockThatIsNotMemory) {
  ASSERT_TRUE(OpenClipboard(HWND{}));
  EXPECT_FALSE(SetClipboardData(CF_UNICODETEXT, HGLOBAL{}));
  EXPECT_FALSE(SetClipboardData(CF_UNICODETEXT, HGLOBAL{0x7FFFFFu}));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  CloseClipboard();
}

// What the desktop clipboard receives on close, as UTF-8 up to the first NUL.
struct HandOverCase {
  const char* name;
  std::u16string blockText;
  std::string desktop;
};
void PrintTo(const HandOverCase& c, std::ostream* os) { *os << c.name; }

class HandOverTest : public ClipboardTest, public ::testing::WithParamInterface<HandOverCase> {};

TEST_P(HandOverTest, CloseHandsTheTextToTheDesktop) {
  ASSERT_TRUE(PutText(HWND{1u}, GetParam().blockText));
  EXPECT_EQ(pda::testing::SystemClipboardText(), GetParam().desktop);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, HandOverTest,
    ::testing::Values(
        HandOverCase{"CoordinatesExactlyWithoutLineBreak", u"47.6062095,-122.3320708",
                     "47.6062095,-122.3320708"},
        HandOverCase{"StopsAtTheFirstNul", std::u16string(u"ab\0cd", 5), "ab"},
        HandOverCase{"NonAsciiBecomesUtf8", u"caf\u00e9 \u2192 \U0001F30D",
                     "caf\xc3\xa9 \xe2\x86\x92 \xf0\x9f\x8c\x8d"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ClipboardTest, AJoinedBackEndReceivesTheTextOncePerChange) {
  std::vector<std::string> received;
  pda::user::SetSystemClipboard({[] { return std::optional<std::string>(); },
                                 [&](const std::string& text) {
                                   received.push_back(text);
                                   return true;
                                 }});
  ASSERT_TRUE(PutText(HWND{1u}, u"47.6062095,-122.3320708"));
  ASSERT_TRUE(OpenClipboard(HWND{1u}));
  CloseClipboard();  // nothing changed: nothing handed over
  ASSERT_EQ(received.size(), 1u);
  EXPECT_EQ(received[0], "47.6062095,-122.3320708");
  EXPECT_EQ(pda::testing::SystemClipboardText(), "") << "the in-memory stand-in is left alone";
}

TEST_F(ClipboardTest, TextPutOnTheDesktopByAnotherProgramIsTakenOnOpen) {
  ASSERT_TRUE(PutText(HWND{1u}, u"ours"));
  pda::testing::SetSystemClipboardText("from elsewhere \xc3\xa9");
  EXPECT_EQ(GetText(), u"from elsewhere \u00e9");
  EXPECT_EQ(GetClipboardOwner(), HWND{}) << "another program's text has no owner here";
  EXPECT_EQ(pda::testing::SystemClipboardText(), "from elsewhere \xc3\xa9");
}

TEST_F(ClipboardTest, TheOpenersUnclosedChangeWinsOverTheDesktop) {
  ASSERT_TRUE(OpenClipboard(HWND{1u}));
  EmptyClipboard();
  SetClipboardData(CF_UNICODETEXT, TextBlock(u"mine"));
  pda::testing::SetSystemClipboardText("theirs");
  EXPECT_EQ(ReadBlock(GetClipboardData(CF_UNICODETEXT)), u"mine");
  CloseClipboard();
  EXPECT_EQ(pda::testing::SystemClipboardText(), "mine");
}

TEST_F(ClipboardTest, EmptiedByAnotherProgramLeavesNoText) {
  ASSERT_TRUE(PutText(HWND{1u}, u"ours"));
  pda::testing::SetSystemClipboardText("");
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
}

}  // namespace
