// BUTTON: the owner-drawn button's WM_DRAWITEM requests for each action and state, the stylus
// capture and BN_CLICKED; STATIC, push buttons and EDIT drawn through the look: grey text when
// disabled, wrapping, the edit's frame.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "control_fixture.h"
#include "pda/testing/user.h"

namespace {

constexpr DWORD kOwnerDrawn = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;  // 0x5000000B
constexpr int kId = 3001;

struct Request {
  UINT action;
  UINT state;
  bool operator==(const Request&) const = default;
};
std::vector<Request> requests;  // WM_DRAWITEM the parent got
std::vector<WORD> clicks;       // BN_ codes in WM_COMMAND
bool recordWrong = false;       // a request with the wrong type, id, window or rectangle

// The parent's part: WM_DRAWITEM requests and BN_ codes recorded.
void Record(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DRAWITEM) {
    const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
    RECT client{};
    GetClientRect(item.hwndItem, &client);
    recordWrong |= item.CtlType != ODT_BUTTON || item.CtlID != kId || wParam != kId ||
                   !item.hDC || item.rcItem.right != client.right ||
                   item.rcItem.bottom != client.bottom;
    requests.push_back({item.itemAction, item.itemState});
  }
  if (message == WM_COMMAND && LOWORD(wParam) == kId) clicks.push_back(HIWORD(wParam));
}

class ButtonTest : public control_test::ControlTest {
 protected:
  void SetUp() override {
    ControlTest::SetUp();
    Hook() = Record;
    requests.clear();
    clicks.clear();
    recordWrong = false;
  }
  HWND Make(const char16_t* className, DWORD style, const char16_t* text = u"") {
    HWND control = CreateWindowExW(0, className, text, style, 20, 20, 120, 40, parent_,
                                   HANDLE{static_cast<std::uint32_t>(kId)}, HINSTANCE{}, nullptr);
    EXPECT_TRUE(control);
    return control;
  }
};

// One press-to-lift story per row: stylus steps on the button, then the requests and clicks.
TEST_F(ButtonTest, OwnerDrawnButtonAsksForEachActionWithItsStateAndClicksOnLiftOverIt) {
  constexpr Request kPaint{ODA_DRAWENTIRE, 0};
  constexpr Request kDown{ODA_SELECT, ODS_SELECTED};
  constexpr Request kUp{ODA_SELECT, 0};
  struct Step {
    UINT message;
    int x, y;
  };
  struct Story {
    const char* name;
    std::vector<Step> steps;
    std::vector<Request> requests;
    std::size_t clicks;
  } const stories[] = {
      {"tap", {{WM_LBUTTONDOWN, 5, 5}, {WM_LBUTTONUP, 5, 5}}, {kDown, kUp}, 1},
      {"slide off and lift outside",
       {{WM_LBUTTONDOWN, 5, 5}, {WM_MOUSEMOVE, 200, 5}, {WM_LBUTTONUP, 200, 5}},
       {kDown, kUp}, 0},
      {"slide off and back",
       {{WM_LBUTTONDOWN, 5, 5}, {WM_MOUSEMOVE, 5, 90}, {WM_MOUSEMOVE, 6, 6}, {WM_MOUSEMOVE, 7, 7},
        {WM_LBUTTONUP, 7, 7}},
       {kDown, kUp, kDown, kUp}, 1},
      {"paint while pressed",
       {{WM_LBUTTONDOWN, 5, 5}, {WM_PAINT, 0, 0}, {WM_LBUTTONUP, 5, 5}},
       {kDown, {ODA_DRAWENTIRE, ODS_SELECTED}, kUp}, 1},
      {"paint", {{WM_PAINT, 0, 0}}, {kPaint}, 0},
  };
  for (const Story& story : stories) {
    HWND button = Make(WC_BUTTONW, kOwnerDrawn);
    Drain();
    requests.clear();
    clicks.clear();
    for (const Step& step : story.steps) {
      if (step.message == WM_PAINT) {
        InvalidateRect(button, nullptr, FALSE);
        UpdateWindow(button);
      } else {
        SendMessageW(button, step.message, 0, At(step.x, step.y));
      }
      if (step.message == WM_LBUTTONDOWN) {
        EXPECT_EQ(GetCapture(), button) << story.name;
      }
    }
    EXPECT_EQ(requests, story.requests) << story.name;
    EXPECT_EQ(clicks.size(), story.clicks) << story.name;
    EXPECT_NE(GetCapture(), button) << story.name << ": the capture is let go";
    DestroyWindow(button);
  }
  EXPECT_FALSE(recordWrong) << "type, id, window, context and rectangle of every request";
}

TEST_F(ButtonTest, FocusAndDisablingShowInTheStateAndADisabledButtonIgnoresTheStylus) {
  HWND button = Make(WC_BUTTONW, kOwnerDrawn);
  Drain();
  requests.clear();
  SetFocus(button);
  SetFocus(parent_);
  EXPECT_EQ(requests, (std::vector<Request>{{ODA_FOCUS, ODS_FOCUS}, {ODA_FOCUS, 0}}));

  requests.clear();
  EnableWindow(button, FALSE);
  UpdateWindow(button);
  SendMessageW(button, WM_LBUTTONDOWN, 0, At(5, 5));
  SendMessageW(button, WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(requests, (std::vector<Request>{{ODA_DRAWENTIRE, ODS_DISABLED}}));
  EXPECT_TRUE(clicks.empty());
  EXPECT_NE(GetCapture(), button);

  // A capture taken away mid-press lifts the button without a click.
  EnableWindow(button, TRUE);
  Drain();
  requests.clear();
  SendMessageW(button, WM_LBUTTONDOWN, 0, At(5, 5));
  SetCapture(parent_);
  ReleaseCapture();
  SendMessageW(button, WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_EQ(requests, (std::vector<Request>{{ODA_SELECT, ODS_SELECTED}, {ODA_SELECT, 0}}));
  EXPECT_TRUE(clicks.empty());
}

// Text controls drawn by the platform: ink in the text colour when enabled, only grey ink when
// disabled; a static and a multi-line edit wrap long text onto more lines; a bordered edit is
// framed.
TEST_F(ButtonTest, TextControlsDrawTheirTextGreyWhenDisabled) {
  constexpr DWORD kShown = WS_CHILD | WS_VISIBLE;
  constexpr COLORREF kBlack = RGB(0, 0, 0);
  constexpr COLORREF kGrey = RGB(0x8C, 0x8C, 0x8C);
  struct Case {
    const char16_t* className;
    DWORD style;
    COLORREF ink;
    bool wraps;
  } const cases[] = {
      {WC_STATICW, kShown | SS_LEFT,                                      kBlack, true},
      {WC_STATICW, kShown | WS_DISABLED | SS_LEFT,                        kGrey,  true},
      {WC_BUTTONW, kShown | BS_PUSHBUTTON,                                kBlack, false},
      {WC_BUTTONW, kShown | WS_DISABLED | BS_PUSHBUTTON,                  kGrey,  false},
      {WC_EDITW,   kShown | WS_BORDER | ES_MULTILINE,                     kBlack, true},
      {WC_EDITW,   kShown | WS_BORDER | WS_DISABLED | ES_MULTILINE,       kGrey,  true},
      {WC_EDITW,   kShown | WS_BORDER | WS_DISABLED | ES_AUTOHSCROLL,     kGrey,  false},
  };
  for (const Case& c : cases) {
    HWND control = Make(c.className, c.style, u"Wide words wrap here");
    UpdateWindow(parent_);
    UpdateWindow(control);
    RECT r{};
    GetWindowRect(control, &r);
    bool darkest = false;  // the exact ink colour shows somewhere (glyph cores)
    bool darker = false;   // anything darker than the ink (wrong colour)
    int inkRows = 0;       // rows with any ink at all (antialiased edges too)
    // Inside the button's frame, which is drawn darker than any text.
    for (int y = r.top + 3; y < r.bottom - 3; ++y) {
      bool rowInk = false;
      for (int x = r.left + 3; x < r.right - 3; ++x) {
        const COLORREF p = ScreenAt(x, y);
        if (p == c.ink) darkest = true;
        if (GetRValue(p) < GetRValue(c.ink)) darker = true;
        if (GetRValue(p) < 0xB0) rowInk = true;
      }
      inkRows += rowInk;
    }
    const std::string name = std::string(c.className == WC_STATICW   ? "static"
                                         : c.className == WC_BUTTONW ? "button"
                                                                     : "edit") +
                             ((c.style & WS_DISABLED) ? " disabled" : "");
    EXPECT_TRUE(darkest) << name;
    EXPECT_FALSE(darker) << name;
    if (c.style & WS_BORDER) {
      EXPECT_EQ(ScreenAt(r.left, (r.top + r.bottom) / 2), RGB(0x40, 0x40, 0x40)) << "frame";
      EXPECT_EQ(ScreenAt(r.right - 1, r.top), RGB(0x40, 0x40, 0x40)) << "frame";
    }
    if (c.wraps) {
      TEXTMETRICW tm{};
      HDC dc = GetDC(control);
      SelectObject(dc, GetStockObject(SYSTEM_FONT));
      GetTextMetricsW(dc, &tm);
      ReleaseDC(control, dc);
      EXPECT_GT(inkRows, tm.tmHeight) << name << ": more than one line in 120 pixels";
    }
    DestroyWindow(control);
  }
}

}  // namespace
