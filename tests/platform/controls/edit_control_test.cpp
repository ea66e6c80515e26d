// The EDIT control through its messages: text, limit, wrapping, scrolling, typing, clipboard,
// notifications, and its drawn look.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_fixture.h"
#include "memory_canvas.h"
#include "controls/edit_state.h"
#include "pda/clipboard.h"
#include "pda/controls.h"
#include "pda/testing/clipboard.h"
#include "pda/testing/dialogs.h"
#include "pda/testing/user.h"

namespace {

constexpr DWORD kTextPaneStyle = 0x50200844;  // child, visible, vscroll, multi-line, auto, read-only
using control_test::Send;
using control_test::TextOf;

std::vector<WORD> notices;  // EN_ codes the parent got

void Type(HWND edit, std::u16string_view keys) {
  for (char16_t c : keys) SendMessageW(edit, WM_CHAR, c, 0);
}

class EditTest : public control_test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    Hook() = [](UINT message, WPARAM wParam, LPARAM) {
      if (message == WM_COMMAND) notices.push_back(HIWORD(wParam));
    };
    notices.clear();
  }
  void TearDown() override {
    ControlTest::TearDown();
    for (HFONT f : fonts_) DeleteObject(f);
  }
  HWND Edit(DWORD style, int w, int h, const char16_t* text = u"") {
    HWND edit = CreateWindowExW(0, WC_EDITW, text, style, 0, 0, w, h, parent_,
                                HANDLE{50321u}, HINSTANCE{}, nullptr);
    EXPECT_TRUE(edit);
    return edit;
  }
  HFONT Font(int height) {
    HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Courier New");
    EXPECT_TRUE(font);
    fonts_.push_back(font);
    return font;
  }
  int LineCount(HWND edit) { return static_cast<int>(Send(edit, EM_GETLINECOUNT)); }
  int FirstVisible(HWND edit) { return static_cast<int>(Send(edit, EM_GETFIRSTVISIBLELINE)); }
  static pda::controls::EditState& State(HWND edit) {
    return *reinterpret_cast<pda::controls::EditState*>(GetWindowLongPtrW(edit, 0));
  }

  std::vector<HFONT> fonts_;
};

std::u16string Words(int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) text += u"position ";
  return text;
}

std::u16string Lines(int count) {
  std::u16string text;
  for (int i = 0; i < count; ++i) text += u"line " + std::u16string(1, char16_t(u'a' + i % 26)) + u"\r\n";
  return text;
}

// ---- text ----------------------------------------------------------------------------------
TEST_F(EditTest, TextRoundTripsAndCreationTextIsTheStartingText) {
  HWND edit = Edit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 200, 20, u"start");
  EXPECT_EQ(TextOf(edit), u"start");
  ASSERT_TRUE(SetWindowTextW(edit, u"47.6062095,-122.3320708"));
  EXPECT_EQ(TextOf(edit), u"47.6062095,-122.3320708");
  EXPECT_EQ(GetWindowTextLengthW(edit), 23);
  char16_t small[6];
  EXPECT_EQ(GetWindowTextW(edit, small, 6), 5) << "cut to the buffer, with a terminator";
  EXPECT_EQ(std::u16string(small), u"47.60");
  ASSERT_TRUE(SetWindowTextW(edit, u""));
  EXPECT_EQ(TextOf(edit), u"");
  EXPECT_FALSE(notices.empty());
  EXPECT_EQ(notices.back(), EN_CHANGE);
}

TEST_F(EditTest, LimitStopsTypingAndPasteButNotSetText) {
  HWND edit = Edit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 300, 20);
  Send(edit, EM_LIMITTEXT, 4);
  EXPECT_EQ(Send(edit, EM_GETLIMITTEXT), 4);
  Type(edit, u"123456");
  EXPECT_EQ(TextOf(edit), u"1234");
  SetWindowTextW(edit, u"1234567");
  EXPECT_EQ(TextOf(edit), u"1234567") << "WM_SETTEXT is not limited";

  SetWindowTextW(edit, u"12");
  Send(edit, EM_SETSEL, 2, 2);
  notices.clear();
  const auto beeps = pda::testing::MessageBeepCount();
  Send(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(u"abcdef"));
  EXPECT_EQ(TextOf(edit), u"12ab");
  EXPECT_GT(pda::testing::MessageBeepCount(), beeps);
  EXPECT_NE(std::find(notices.begin(), notices.end(), EN_MAXTEXT), notices.end());
}

// ---- multi-line: the text pane -------------------------------------------------------------
TEST_F(EditTest, TextPaneKeepsItsLimitFontAndVisibility) {
  HWND pane = Edit(kTextPaneStyle, 480, 400);
  HFONT font = Font(-14);
  Send(pane, WM_SETFONT, static_cast<WPARAM>(font.value), TRUE);
  EXPECT_EQ(Send(pane, WM_GETFONT), static_cast<LRESULT>(font.value));
  Send(pane, EM_LIMITTEXT, 65536);
  EXPECT_EQ(Send(pane, EM_GETLIMITTEXT), 65536);
  EXPECT_TRUE(IsWindowVisible(pane));
  ShowWindow(pane, SW_HIDE);
  EXPECT_FALSE(IsWindowVisible(pane));
  SetWindowTextW(pane, u"kept while hidden");
  ShowWindow(pane, SW_SHOW);
  EXPECT_TRUE(IsWindowVisible(pane));
  EXPECT_EQ(TextOf(pane), u"kept while hidden");
  SetWindowTextW(pane, u"");
  EXPECT_EQ(GetWindowTextLengthW(pane), 0);
}

TEST_F(EditTest, WrappedLineCountFollowsWidthAndFont) {
  HWND pane = Edit(kTextPaneStyle, 200, 400);
  Send(pane, WM_SETFONT, static_cast<WPARAM>(Font(-14).value), TRUE);
  SetWindowTextW(pane, Words(30).c_str());
  const int narrow = LineCount(pane);
  EXPECT_GT(narrow, 3);
  MoveWindow(pane, 0, 0, 400, 400, FALSE);
  const int wide = LineCount(pane);
  EXPECT_LT(wide, narrow) << "a wider pane needs fewer lines";
  Send(pane, WM_SETFONT, static_cast<WPARAM>(Font(-28).value), TRUE);
  EXPECT_GT(LineCount(pane), wide) << "a bigger font needs more lines";
  // Every wrapped line but the last is full words: no line starts with a space.
  for (int i = 0; i < LineCount(pane); ++i) {
    const auto start = static_cast<std::size_t>(Send(pane, EM_LINEINDEX, static_cast<WPARAM>(i)));
    EXPECT_NE(TextOf(pane)[start], u' ') << "line " << i;
  }
}

TEST_F(EditTest, ScrollCaretBringsTheCaretLineIntoView) {
  HWND pane = Edit(kTextPaneStyle, 300, 100);
  SetWindowTextW(pane, Lines(40).c_str());
  const int visible = 100 / State(pane).measure.LineHeight();
  ASSERT_GE(visible, 1);
  ASSERT_EQ(LineCount(pane), 41);
  Send(pane, EM_SETSEL, static_cast<WPARAM>(-1), 0);
  const auto end = static_cast<WPARAM>(GetWindowTextLengthW(pane));
  Send(pane, EM_SETSEL, end, static_cast<LPARAM>(end));
  EXPECT_EQ(FirstVisible(pane), 0) << "EM_SETSEL alone does not scroll a multi-line edit";
  Send(pane, EM_SCROLLCARET);
  EXPECT_EQ(FirstVisible(pane), 40 - visible + 1) << "the caret's line is the last visible";
  Send(pane, EM_SETSEL, 0, 0);
  Send(pane, EM_SCROLLCARET);
  EXPECT_EQ(FirstVisible(pane), 0);
}

TEST_F(EditTest, LineScrollMovesTheFirstVisibleLineWithinTheText) {
  HWND pane = Edit(kTextPaneStyle, 300, 100);
  SetWindowTextW(pane, Lines(40).c_str());
  const int visible = 100 / State(pane).measure.LineHeight();
  Send(pane, EM_LINESCROLL, 0, 5);
  EXPECT_EQ(FirstVisible(pane), 5);
  Send(pane, EM_LINESCROLL, 0, -100);
  EXPECT_EQ(FirstVisible(pane), 0);
  Send(pane, EM_LINESCROLL, 0, 1000);
  EXPECT_EQ(FirstVisible(pane), 41 - visible) << "the last line at the bottom, no further";
  Send(pane, WM_VSCROLL, 6 /* SB_TOP */, 0);
  EXPECT_EQ(FirstVisible(pane), 0);
}

TEST_F(EditTest, ReadOnlyRefusesTypingButCopies) {
  HWND pane = Edit(kTextPaneStyle, 300, 100, u"fixed text");
  const auto beeps = pda::testing::MessageBeepCount();
  Type(pane, u"x\b");
  Send(pane, WM_PASTE);
  Send(pane, WM_CUT);
  EXPECT_EQ(TextOf(pane), u"fixed text");
  EXPECT_GT(pda::testing::MessageBeepCount(), beeps);
  Send(pane, EM_SETSEL, 0, 5);
  Send(pane, WM_COPY);
  EXPECT_EQ(pda::testing::SystemClipboardText(), "fixed");
}

// ---- single-line: settings fields ----------------------------------------------------------
TEST_F(EditTest, DigitsOnlyRefusesLettersWithABeep) {
  HWND field = Edit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_NUMBER, 300, 20);
  const auto beeps = pda::testing::MessageBeepCount();
  Type(field, u"12a3-4");
  EXPECT_EQ(TextOf(field), u"1234");
  EXPECT_EQ(pda::testing::MessageBeepCount(), beeps + 2);
  Type(field, u"\b");
  EXPECT_EQ(TextOf(field), u"123") << "backspace still works";
}

TEST_F(EditTest, PasteInsertsAtTheCaretUpToTheLimitAndTheFirstLineBreak) {
  HWND field = Edit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 300, 20, u"ab");
  Send(field, EM_LIMITTEXT, 8);
  Send(field, EM_SETSEL, 1, 1);
  pda::testing::SetSystemClipboardText("123\r\nsecond line");
  Send(field, WM_PASTE);
  EXPECT_EQ(TextOf(field), u"a123b");
  pda::testing::SetSystemClipboardText("XYZWVU");
  Send(field, WM_PASTE);
  EXPECT_EQ(TextOf(field), u"a123XYZb") << "cut to the limit of 8";
}

TEST_F(EditTest, CopyAndPasteRoundTripThroughTheClipboard) {
  HWND from = Edit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 300, 20, u"someone@example.org");
  HWND to = Edit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 300, 20);
  Send(from, EM_SETSEL, 0, -1);
  DWORD start = 99, end = 99;
  Send(from, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 0u);
  EXPECT_EQ(end, 19u);
  Send(from, WM_COPY);
  Send(to, WM_PASTE);
  EXPECT_EQ(TextOf(to), u"someone@example.org");
}

TEST_F(EditTest, TypingPastTheWidthScrollsOnlyWithAutoHScroll) {
  HWND scrolling = Edit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 60, 20);
  HWND fixed = Edit(WS_CHILD | WS_VISIBLE, 60, 20);
  Type(scrolling, u"0123456789012345");
  Type(fixed, u"0123456789012345");
  EXPECT_EQ(GetWindowTextLengthW(scrolling), 16);
  EXPECT_GT(State(scrolling).scrollX, 0) << "the caret stays in view";
  EXPECT_LT(GetWindowTextLengthW(fixed), 16) << "without ES_AUTOHSCROLL only what fits goes in";
  EXPECT_GT(GetWindowTextLengthW(fixed), 0);
  Send(scrolling, WM_KEYDOWN, VK_HOME);
  EXPECT_EQ(State(scrolling).scrollX, 0) << "back to the start";
}

TEST_F(EditTest, FocusIsNotifiedToTheParent) {
  HWND field = Edit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 100, 20);
  HWND other = Edit(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, 100, 20);
  SetFocus(field);
  notices.clear();
  SetFocus(other);
  ASSERT_GE(notices.size(), 2u);
  EXPECT_EQ(notices[0], EN_KILLFOCUS);
  EXPECT_EQ(notices[1], EN_SETFOCUS);
}

// ---- look ----------------------------------------------------------------------------------
TEST_F(EditTest, PaintsTextOnWhiteWithAProportionalScrollThumb) {
  HWND pane = Edit(kTextPaneStyle, 200, 100);
  SetWindowTextW(pane, Lines(20).c_str());
  auto& state = State(pane);
  const test_support::MemoryCanvas canvas(200, 100);
  const HDC dc = canvas.dc();
  pda::controls::PaintEdit(dc, state);

  const RECT bar = pda::controls::ScrollBarArea(state);
  const int barX = (bar.left + bar.right) / 2;
  EXPECT_EQ(GetPixel(dc, barX, 1), RGB(0x90, 0x90, 0x90)) << "thumb at the top";
  EXPECT_EQ(GetPixel(dc, barX, 98), RGB(0xE8, 0xE8, 0xE8)) << "track below it";
  EXPECT_EQ(GetPixel(dc, bar.left - 2, 98), RGB(255, 255, 255)) << "white background";
  bool ink = false;
  for (int x = 0; x < 40 && !ink; ++x)
    for (int y = 0; y < state.measure.LineHeight() && !ink; ++y)
      ink = GetPixel(dc, x, y) != RGB(255, 255, 255);
  EXPECT_TRUE(ink) << "the first line is drawn";

  Send(pane, EM_LINESCROLL, 0, 1000);
  pda::controls::PaintEdit(dc, state);
  EXPECT_EQ(GetPixel(dc, barX, 98), RGB(0x90, 0x90, 0x90)) << "thumb at the bottom";
  EXPECT_EQ(GetPixel(dc, barX, 1), RGB(0xE8, 0xE8, 0xE8));
}

}  // namespace
