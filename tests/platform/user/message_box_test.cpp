// The message box: answers to scripted taps and keys, the disabled owner, and its drawn look.
#include <gtest/gtest.h>

#include <ostream>

#include <functional>
#include <string>

#include "pda/testing/dialogs.h"
#include "pda/testing/user.h"
#include "user/message_box.h"

namespace {

constexpr UINT kScript = WM_APP + 1;
constexpr char16_t kOwnerClass[] = u"MessageBoxOwner";

// The owner runs the script when the box's loop delivers kScript to it.
std::function<void(HWND owner)> script;
bool ownerEnabledDuringBox = true;

LRESULT OwnerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kScript) {
    ownerEnabledDuringBox = IsWindowEnabled(window) != FALSE;
    if (script) script(window);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

LPARAM Point(const RECT& r) {
  return MAKELPARAM(static_cast<WORD>((r.left + r.right) / 2),
                    static_cast<WORD>((r.top + r.bottom) / 2));
}

void TapButton(int result) {
  auto box = pda::testing::OpenMessageBox();
  ASSERT_TRUE(box);
  for (const auto& button : box->buttons)
    if (button.result == result) {
      PostMessageW(box->window, WM_LBUTTONDOWN, 1, Point(button.rect));
      PostMessageW(box->window, WM_LBUTTONUP, 0, Point(button.rect));
      return;
    }
  ADD_FAILURE() << "no button answers " << result;
}

void PressKey(int key) {
  auto box = pda::testing::OpenMessageBox();
  ASSERT_TRUE(box);
  PostMessageW(box->window, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
}

void CloseBox() {
  auto box = pda::testing::OpenMessageBox();
  ASSERT_TRUE(box);
  PostMessageW(box->window, WM_CLOSE, 0, 0);
}

class MessageBoxTest : public ::testing::Test {
 protected:
  void SetUp() override {
    pda::testing::ChangeScreen(480, 640, 192);
    static const bool registered = [] {
      WNDCLASSW wc{};
      wc.lpfnWndProc = OwnerProcedure;
      wc.lpszClassName = kOwnerClass;
      return RegisterClassW(&wc) != 0;
    }();
    ASSERT_TRUE(registered);
    owner_ = CreateWindowExW(0, kOwnerClass, u"Owner", WS_VISIBLE, CW_USEDEFAULT, CW_USEDEFAULT,
                             CW_USEDEFAULT, CW_USEDEFAULT, HWND{}, HANDLE{}, HINSTANCE{}, nullptr);
    ASSERT_TRUE(owner_);
    ownerEnabledDuringBox = true;
  }
  void TearDown() override {
    script = nullptr;
    DestroyWindow(owner_);
    MSG msg;
    while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  // Shows a box whose loop first runs the script.
  int Show(UINT type, std::function<void(HWND)> action) {
    script = std::move(action);
    PostMessageW(owner_, kScript, 0, 0);
    return MessageBoxW(owner_, u"No email accounts found", u"Zazorudu", type);
  }
  HWND owner_;
};

struct AnswerCase {
  const char* name;
  UINT type;
  std::function<void()> act;
  int expected;
};
void PrintTo(const AnswerCase& c, std::ostream* os) { *os << c.name; }

class MessageBoxAnswerTest : public MessageBoxTest,
                             public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(MessageBoxAnswerTest, ReturnsTheChosenAnswerAndEnablesTheOwnerAgain) {
  const int answer = Show(GetParam().type, [](HWND) { GetParam().act(); });
  EXPECT_EQ(answer, GetParam().expected);
  EXPECT_FALSE(ownerEnabledDuringBox) << "the owner is disabled while the box is open";
  EXPECT_TRUE(IsWindowEnabled(owner_)) << "and enabled again afterwards";
  EXPECT_FALSE(pda::testing::OpenMessageBox()) << "the box is gone";
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MessageBoxAnswerTest,
    ::testing::Values(
        AnswerCase{"TapOk", MB_ICONHAND | MB_SETFOREGROUND, [] { TapButton(IDOK); }, IDOK},
        AnswerCase{"EnterOnOkBox", MB_OK, [] { PressKey(VK_RETURN); }, IDOK},
        AnswerCase{"EscapeOnOkBoxIsOk", MB_OK, [] { PressKey(VK_ESCAPE); }, IDOK},
        AnswerCase{"CloseOnOkBoxIsOk", MB_OK, [] { CloseBox(); }, IDOK},
        AnswerCase{"TapCancel", MB_OKCANCEL, [] { TapButton(IDCANCEL); }, IDCANCEL},
        AnswerCase{"EscapeIsCancel", MB_OKCANCEL, [] { PressKey(VK_ESCAPE); }, IDCANCEL},
        AnswerCase{"CloseIsCancel", MB_OKCANCEL, [] { CloseBox(); }, IDCANCEL},
        AnswerCase{"EnterTakesTheSecondDefault", MB_OKCANCEL | MB_DEFBUTTON2,
                   [] { PressKey(VK_RETURN); }, IDCANCEL},
        AnswerCase{"TapYes", MB_YESNO | MB_ICONQUESTION, [] { TapButton(IDYES); }, IDYES},
        AnswerCase{"TapNo", MB_YESNO, [] { TapButton(IDNO); }, IDNO},
        AnswerCase{"EscapeIsNo", MB_YESNO, [] { PressKey(VK_ESCAPE); }, IDNO},
        AnswerCase{"CloseOnYesNoIsCancel", MB_YESNO, [] { CloseBox(); }, IDCANCEL}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MessageBoxTest, TheOpenBoxShowsItsTextCaptionAndButtons) {
  std::optional<pda::testing::MessageBoxInfo> seen;
  Show(MB_ICONHAND | MB_SETFOREGROUND, [&](HWND) {
    seen = pda::testing::OpenMessageBox();
    PressKey(VK_RETURN);
  });
  ASSERT_TRUE(seen);
  EXPECT_EQ(seen->text, u"No email accounts found");
  EXPECT_EQ(seen->caption, u"Zazorudu");
  EXPECT_EQ(seen->type, 0x10010u);
  ASSERT_EQ(seen->buttons.size(), 1u);
  EXPECT_EQ(seen->buttons[0].label, u"OK");
}

TEST_F(MessageBoxTest, ATapThatLeavesTheButtonBeforeLiftingChoosesNothing) {
  const int answer = Show(MB_OKCANCEL, [](HWND) {
    auto box = pda::testing::OpenMessageBox();
    ASSERT_TRUE(box);
    PostMessageW(box->window, WM_LBUTTONDOWN, 1, Point(box->buttons[0].rect));
    PostMessageW(box->window, WM_LBUTTONUP, 0, Point(box->buttons[1].rect));
    PostMessageW(box->window, WM_KEYDOWN, VK_ESCAPE, 0);
  });
  EXPECT_EQ(answer, IDCANCEL);
}

TEST_F(MessageBoxTest, QuitInsideTheBoxEndsItAndIsPostedAgain) {
  const int answer = Show(MB_OKCANCEL, [](HWND) { PostQuitMessage(3); });
  EXPECT_EQ(answer, IDCANCEL);
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 3u);
}

// ---- layout and look -----------------------------------------------------------------------
class MessageBoxLookTest : public ::testing::Test {
 protected:
  static constexpr int kDpi = 96;
  void SetUp() override {
    fonts_.text = CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
    fonts_.bold = CreateFontW(-12, 0, 0, 0, FW_BOLD, 0, 0, 0, 0, 0, 0, 0, 0, u"Tahoma");
    ASSERT_TRUE(fonts_.text && fonts_.bold);
  }
  void TearDown() override {
    DeleteObject(fonts_.text);
    DeleteObject(fonts_.bold);
  }
  pda::user::MessageBoxFonts fonts_{};
};

bool Inside(const RECT& inner, const RECT& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

TEST_F(MessageBoxLookTest, PanelIsCentredAndHoldsEverything) {
  pda::user::MessageBoxContent content{u"No email accounts found", u"Zazorudu",
                                       MB_YESNO | MB_ICONQUESTION};
  const auto layout = pda::user::LayOutMessageBox(content, fonts_, 240, 320, kDpi);
  const RECT& p = layout.panel;
  EXPECT_EQ(p.left, 240 - p.right) << "centred horizontally";
  EXPECT_LE(std::abs(p.top - (320 - p.bottom)), 1) << "centred vertically";
  const RECT client{0, 0, p.right - p.left, p.bottom - p.top};
  EXPECT_TRUE(Inside(layout.caption, client));
  EXPECT_TRUE(Inside(layout.icon, client));
  EXPECT_TRUE(Inside(layout.text, client));
  ASSERT_EQ(layout.buttons.size(), 2u);
  EXPECT_TRUE(Inside(layout.buttons[0].rect, client));
  EXPECT_TRUE(Inside(layout.buttons[1].rect, client));
  EXPECT_LE(layout.buttons[0].rect.right, layout.buttons[1].rect.left) << "side by side";
  EXPECT_LE(layout.icon.right, layout.text.left) << "the text starts right of the icon";
}

TEST_F(MessageBoxLookTest, LongTextWrapsIntoATallerBoxButStaysOnScreen) {
  pda::user::MessageBoxContent shortText{u"No email accounts found", u"Zazorudu", MB_OK};
  pda::user::MessageBoxContent longText = shortText;
  longText.text.clear();
  for (int i = 0; i < 8; ++i) longText.text += u"No email accounts found. ";
  pda::user::MessageBoxContent huge = shortText;
  for (int i = 0; i < 400; ++i) huge.text += u" word";
  const auto a = pda::user::LayOutMessageBox(shortText, fonts_, 240, 320, kDpi);
  const auto b = pda::user::LayOutMessageBox(longText, fonts_, 240, 320, kDpi);
  const auto c = pda::user::LayOutMessageBox(huge, fonts_, 240, 320, kDpi);
  EXPECT_EQ(a.panel.right - a.panel.left, b.panel.right - b.panel.left) << "same width";
  EXPECT_GT(b.text.bottom - b.text.top, 2 * (a.text.bottom - a.text.top)) << "several lines";
  EXPECT_GE(c.panel.top, 0);
  EXPECT_LE(c.panel.bottom, 320) << "the buttons stay on a small screen";
}

TEST_F(MessageBoxLookTest, PaintsCaptionIconAndButtonInTheirColours) {
  pda::user::MessageBoxContent content{u"No email accounts found", u"Zazorudu", MB_ICONHAND};
  const auto layout = pda::user::LayOutMessageBox(content, fonts_, 240, 320, kDpi);
  const int w = layout.panel.right - layout.panel.left;
  const int h = layout.panel.bottom - layout.panel.top;
  HDC dc = CreateCompatibleDC(HDC{});
  HBITMAP bitmap = CreateCompatibleBitmap(dc, w, h);
  HGDIOBJ old = SelectObject(dc, bitmap);
  pda::user::PaintMessageBox(dc, layout, content, fonts_, kDpi, -1);

  const RECT& icon = layout.icon;
  const int iconMid = (icon.left + icon.right) / 2;
  EXPECT_EQ(GetPixel(dc, iconMid, icon.top + 2), RGB(0xC8, 0x1E, 0x1E)) << "red disc";
  EXPECT_EQ(GetPixel(dc, icon.left, icon.top), RGB(255, 255, 255)) << "outside the disc";
  EXPECT_EQ(GetPixel(dc, layout.caption.right - 3, layout.caption.bottom - 2),
            RGB(0x1C, 0x4E, 0x9A)) << "caption band";
  const RECT& ok = layout.buttons[0].rect;
  EXPECT_EQ(GetPixel(dc, ok.left + 4, ok.top + 4), RGB(0xE4, 0xE4, 0xE4)) << "button face";
  EXPECT_EQ(GetPixel(dc, ok.left, ok.top), RGB(0, 0, 0)) << "default button's edge";
  EXPECT_EQ(GetPixel(dc, 0, h / 2), RGB(0x40, 0x40, 0x40)) << "panel edge";

  pda::user::PaintMessageBox(dc, layout, content, fonts_, kDpi, 0);
  EXPECT_EQ(GetPixel(dc, ok.left + 4, ok.top + 4), RGB(0xB8, 0xB8, 0xB8)) << "held button";
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

}  // namespace
