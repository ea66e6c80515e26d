// Window classes, creation and destruction: message order, placement, stale handles, data slots.
#include <cstring>

#include "pda/controls.h"
#include "user_fixture.h"

namespace pda::user_test {
namespace {

using Names = std::vector<std::string>;
using pda::testing::ChangeScreen;

TEST_F(UserTest, SecondRegistrationOfAClassIsRefused) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = u"Twice";
  ASSERT_NE(RegisterClassW(&wc), 0);
  wc.lpszClassName = u"TWICE";  // names compare without regard to case
  SetLastError(0);
  EXPECT_EQ(RegisterClassW(&wc), 0);
  EXPECT_EQ(GetLastError(), ERROR_CLASS_ALREADY_EXISTS);
  EXPECT_TRUE(UnregisterClassW(u"Twice", HINSTANCE{}));
}

TEST_F(UserTest, CreatingAnUnknownClassFails) {
  SetLastError(0);
  EXPECT_FALSE(CreateWindowExW(0, u"NoSuchClass", u"", 0, 0, 0, 1, 1, HWND{}, HANDLE{},
                               HINSTANCE{}, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_CLASS_DOES_NOT_EXIST);
}

TEST_F(UserTest, VisibleTopLevelWindowGetsCreateSizeMoveShowActivateFocusInOrder) {
  const HWND main = Make(WS_VISIBLE | WS_SYSMENU);
  ASSERT_TRUE(main);
  EXPECT_EQ(Recorder::Get().NamesFor(main),
            (Names{"WM_CREATE", "WM_SIZE", "WM_MOVE", "WM_SHOWWINDOW", "WM_ACTIVATE",
                   "WM_SETFOCUS"}));
  EXPECT_EQ(GetForegroundWindow(), main);
  EXPECT_EQ(GetFocus(), main);
}

TEST_F(UserTest, CreateGetsTheCreationRecordWithTheResolvedPlacement) {
  CREATESTRUCTW seen{};
  char16_t name[16]{};
  Recorder::Get().On(WM_CREATE, [&](HWND, WPARAM, LPARAM lParam) -> LRESULT {
    seen = *reinterpret_cast<CREATESTRUCTW*>(lParam);
    std::memcpy(name, seen.lpszName, 2 * 5);
    return 0;
  });
  int parameter = 7;
  const HWND window = CreateWindowExW(0, kRecorderClass, u"Title", WS_SYSMENU, CW_USEDEFAULT,
                                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, HWND{},
                                      HANDLE{}, HINSTANCE{}, &parameter);
  ASSERT_TRUE(window);
  made_.push_back(window);
  EXPECT_EQ(seen.lpCreateParams, &parameter);
  EXPECT_EQ((std::vector<int>{seen.x, seen.y, seen.cx, seen.cy}),
            (std::vector<int>{0, 52, 480, 640 - 52}));
  EXPECT_EQ(std::u16string(name, 5), u"Title");
}

TEST_F(UserTest, CreateAnsweringMinusOneDestroysTheWindowAndReturnsNull) {
  HWND seen;
  Recorder::Get().On(WM_CREATE, [&](HWND window, WPARAM, LPARAM) -> LRESULT {
    seen = window;
    return -1;
  });
  EXPECT_FALSE(Make(WS_VISIBLE));
  EXPECT_EQ(Recorder::Get().NamesFor(seen), (Names{"WM_CREATE", "WM_DESTROY"}));
  EXPECT_FALSE(IsWindow(seen));
}

struct PlacementCase {
  const char* name;
  int width, height, dpi;
  RECT expected;
};

TEST_F(UserTest, DefaultPlacementFillsTheScreenBelowTheNavigationBar) {
  const PlacementCase cases[] = {
      {"240x320 at 96 DPI: 26-pixel bar", 240, 320, 96, {0, 26, 240, 320}},
      {"480x640 at 192 DPI: 52-pixel bar", 480, 640, 192, {0, 52, 480, 640}},
      {"640x480 at 192 DPI (landscape)", 640, 480, 192, {0, 52, 640, 480}},
  };
  for (const PlacementCase& c : cases) {
    SCOPED_TRACE(c.name);
    ChangeScreen(c.width, c.height, c.dpi);
    const HWND window = Make(WS_VISIBLE);
    RECT rect{};
    ASSERT_TRUE(GetWindowRect(window, &rect));
    EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
              (std::vector<LONG>{c.expected.left, c.expected.top, c.expected.right,
                                 c.expected.bottom}));
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, c.expected.right - c.expected.left);
    EXPECT_EQ(client.bottom, c.expected.bottom - c.expected.top);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), c.width);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), c.height);
    DestroyWindow(window);
  }
}

TEST_F(UserTest, ChildAtDefaultPositionSitsAtTheParentsOrigin) {
  const HWND parent = Make(WS_VISIBLE);
  const HWND child = Make(WS_CHILD | WS_VISIBLE, parent, CW_USEDEFAULT, 0, 30, 40);
  RECT rect{};
  GetWindowRect(child, &rect);
  EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
            (std::vector<LONG>{0, 52, 30, 92}));
}

TEST_F(UserTest, RotationResizesDefaultPlacedWindowsThenAnnouncesTheReset) {
  const HWND main = Make(WS_VISIBLE);
  const HWND fixed = Make(WS_VISIBLE, HWND{}, 10, 60, 100, 100);
  LPARAM size = 0;
  WPARAM setting = 0;
  Recorder::Get().Clear();
  Recorder::Get().On(WM_SIZE, [&](HWND w, WPARAM, LPARAM l) -> LRESULT {
    if (w == main) size = l;
    return 0;
  });
  Recorder::Get().On(WM_SETTINGCHANGE, [&](HWND w, WPARAM p, LPARAM) -> LRESULT {
    if (w == main) setting = p;
    return 0;
  });
  ChangeScreen(640, 480, 192);
  EXPECT_EQ(size, MAKELPARAM(640, 480 - 52));
  EXPECT_EQ(setting, SETTINGCHANGE_RESET);
  EXPECT_EQ(Recorder::Get().NamesFor(main), (Names{"WM_SIZE", "WM_SETTINGCHANGE"}));
  EXPECT_EQ(Recorder::Get().NamesFor(fixed), (Names{"WM_SETTINGCHANGE"}));
}

TEST_F(UserTest, DestroyReachesTheParentBeforeItsChildrenAndOwnedWindowsFirst) {
  const HWND main = Make(WS_VISIBLE);
  const HWND child = Child(main, 0, 0, 10, 10);
  const HWND grandchild = Child(child, 0, 0, 5, 5);
  const HWND owned = Make(WS_VISIBLE, main);  // a top-level window owned by main
  ASSERT_EQ(GetWindow(owned, GW_OWNER), main);
  Recorder::Get().Clear();
  ASSERT_TRUE(DestroyWindow(main));
  const std::map<std::uint32_t, std::string> tags{{main.value, "main"},
                                                  {child.value, "child"},
                                                  {grandchild.value, "grandchild"},
                                                  {owned.value, "owned"}};
  auto log = Recorder::Get().Tagged(tags);
  std::erase_if(log, [](const std::string& s) { return s.rfind("WM_DESTROY", 0) != 0; });
  EXPECT_EQ(log, (Names{"WM_DESTROY@owned", "WM_DESTROY@main", "WM_DESTROY@child",
                        "WM_DESTROY@grandchild"}));
  for (HWND h : {main, child, grandchild, owned}) EXPECT_FALSE(IsWindow(h));
}

TEST_F(UserTest, StaleHandlesAreRefusedEverywhere) {
  const HWND window = Make(WS_VISIBLE);
  ASSERT_TRUE(DestroyWindow(window));
  RECT rect;
  MSG msg;
  EXPECT_FALSE(IsWindow(window));
  EXPECT_FALSE(DestroyWindow(window));
  EXPECT_FALSE(PostMessageW(window, WM_USER, 0, 0));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_WINDOW_HANDLE);
  EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 0);
  EXPECT_FALSE(GetWindowRect(window, &rect));
  EXPECT_FALSE(SetWindowTextW(window, u"x"));
  EXPECT_EQ(GetMessageW(&msg, window, 0, 0), -1);
  // A new window in the freed slot gets a different handle.
  const HWND next = Make(WS_VISIBLE);
  EXPECT_NE(next, window);
  EXPECT_FALSE(IsWindow(window));
}

TEST_F(UserTest, CloseThroughTheDefaultProcedureDestroysAndQuitEndsTheLoopWithItsCode) {
  const HWND main = Make(WS_VISIBLE);
  Recorder::Get().On(WM_DESTROY, [](HWND, WPARAM, LPARAM) -> LRESULT {
    PostQuitMessage(42);
    return 0;
  });
  PostMessageW(main, WM_CLOSE, 0, 0);
  MSG msg{};
  BOOL result;
  int loops = 0;
  while ((result = GetMessageW(&msg, HWND{}, 0, 0)) > 0 && ++loops < 100) DispatchMessageW(&msg);
  EXPECT_EQ(result, FALSE);
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(msg.wParam, 42u);
  EXPECT_FALSE(IsWindow(main));
}

TEST_F(UserTest, WindowSlotsAndExtraBytesKeepWhatIsStored) {
  const HWND window = Make(WS_VISIBLE);
  struct Slot {
    const char* name;
    int index;
    LONG_PTR value;
  };
  const Slot slots[] = {{"user data", GWLP_USERDATA, 0x12345678},
                        {"control id", GWLP_ID, 77},
                        {"dialog result slot (extra bytes at 0)", DWLP_MSGRESULT, -5},
                        {"second extra slot", static_cast<int>(sizeof(LONG_PTR)), 9}};
  for (const Slot& s : slots) {
    SCOPED_TRACE(s.name);
    SetWindowLongPtrW(window, s.index, s.value);
    EXPECT_EQ(GetWindowLongPtrW(window, s.index), s.value);
  }
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(window, 2 * static_cast<int>(sizeof(LONG_PTR))), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_INDEX);
  EXPECT_TRUE(GetWindowLongW(window, GWL_STYLE) & static_cast<LONG>(WS_VISIBLE));
}

LRESULT Subclass(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_USER) return 99;
  const auto old = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_USERDATA));
  return CallWindowProcW(old, window, message, wParam, lParam);
}

TEST_F(UserTest, SubclassingReplacesTheProcedureAndCanChainToTheOldOne) {
  const HWND window = Make(WS_VISIBLE);
  const LONG_PTR old = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(Subclass));
  SetWindowLongPtrW(window, GWLP_USERDATA, old);
  Recorder::Get().Clear();
  EXPECT_EQ(SendMessageW(window, WM_USER, 0, 0), 99);
  SendMessageW(window, WM_USER + 1, 0, 0);
  EXPECT_EQ(Recorder::Get().NamesFor(window), (Names{"WM_USER+1"}));
}

TEST_F(UserTest, TextGoesThroughTheDefaultProcedureAndIsCutToTheBuffer) {
  const HWND window = Make(WS_VISIBLE, HWND{}, 0, 0, 10, 10, u"start");
  char16_t buffer[4];
  EXPECT_EQ(GetWindowTextW(window, buffer, 4), 3);
  EXPECT_EQ(std::u16string(buffer), u"sta");
  ASSERT_TRUE(SetWindowTextW(window, u"changed"));
  EXPECT_EQ(GetWindowTextLengthW(window), 7);
  char16_t whole[16];
  GetWindowTextW(window, whole, 16);
  EXPECT_EQ(std::u16string(whole), u"changed");
}

TEST_F(UserTest, TreeQueriesFollowCreationOrderAndControlIds) {
  const HWND parent = Make(WS_VISIBLE);
  const HWND first = Child(parent, 0, 0, 5, 5, 101);
  const HWND second = Child(parent, 0, 0, 5, 5, 102);
  EXPECT_EQ(GetWindow(parent, GW_CHILD), first);
  EXPECT_EQ(GetWindow(first, GW_HWNDNEXT), second);
  EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), HWND{});
  EXPECT_EQ(GetParent(second), parent);
  EXPECT_EQ(GetDlgItem(parent, 102), second);
  EXPECT_EQ(GetDlgCtrlID(first), 101);
  EXPECT_TRUE(IsChild(parent, second));
  EXPECT_FALSE(IsChild(second, parent));
}

TEST_F(UserTest, VisibilityFollowsAncestorsAndEnableSendsWmEnable) {
  const HWND parent = Make(WS_VISIBLE);
  const HWND child = Child(parent, 0, 0, 5, 5);
  EXPECT_TRUE(IsWindowVisible(child));
  Recorder::Get().Clear();
  EXPECT_TRUE(ShowWindow(parent, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(child));
  EXPECT_EQ(GetForegroundWindow(), HWND{});  // a hidden window cannot stay in front
  EXPECT_FALSE(ShowWindow(parent, SW_SHOWNA));
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_EQ(Recorder::Get().NamesFor(parent),
            (Names{"WM_SHOWWINDOW", "WM_ACTIVATE", "WM_KILLFOCUS", "WM_SHOWWINDOW"}));

  Recorder::Get().Clear();
  EXPECT_FALSE(EnableWindow(child, FALSE));
  EXPECT_TRUE(EnableWindow(child, FALSE));  // it was disabled already: no second WM_ENABLE
  EXPECT_FALSE(IsWindowEnabled(child));
  EXPECT_EQ(Recorder::Get().NamesFor(child), (Names{"WM_ENABLE"}));
}

TEST_F(UserTest, SetWindowPosSendsSizeOnlyWhenTheSizeChanges) {
  const HWND window = Make(WS_VISIBLE, HWND{}, 0, 0, 50, 50);
  Recorder::Get().Clear();
  SetWindowPos(window, HWND_TOP, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  EXPECT_EQ(Recorder::Get().NamesFor(window), (Names{"WM_MOVE"}));
  Recorder::Get().Clear();
  MoveWindow(window, 5, 5, 60, 50, FALSE);
  EXPECT_EQ(Recorder::Get().NamesFor(window), (Names{"WM_SIZE"}));
  RECT rect;
  GetWindowRect(window, &rect);
  EXPECT_EQ((std::vector<LONG>{rect.left, rect.top, rect.right, rect.bottom}),
            (std::vector<LONG>{5, 5, 65, 55}));
}

TEST_F(UserTest, PointsMapBetweenNestedWindowsAndTheScreen) {
  const HWND parent = Make(WS_VISIBLE, HWND{}, 10, 20, 100, 100);
  const HWND child = Child(parent, 5, 6, 20, 20);
  POINT p{1, 2};
  ClientToScreen(child, &p);
  EXPECT_EQ((std::vector<LONG>{p.x, p.y}), (std::vector<LONG>{16, 28}));
  ScreenToClient(parent, &p);
  EXPECT_EQ((std::vector<LONG>{p.x, p.y}), (std::vector<LONG>{6, 8}));
  POINT q{0, 0};
  MapWindowPoints(child, parent, &q, 1);
  EXPECT_EQ((std::vector<LONG>{q.x, q.y}), (std::vector<LONG>{5, 6}));
}

TEST(MessageNames, KnownMessagesHaveTheirNamesAndPrivateOnesAnOffset) {
  EXPECT_EQ(pda::testing::MessageName(WM_LBUTTONUP), "WM_LBUTTONUP");
  EXPECT_EQ(pda::testing::MessageName(EM_REPLACESEL), "EM_REPLACESEL") << "the controls' list";
  EXPECT_EQ(pda::testing::MessageName(0x03FD), "WM_PDA_CALL") << "the window manager's own";
  EXPECT_EQ(pda::testing::MessageName(WM_USER + 5), "WM_USER+5");
  EXPECT_EQ(pda::testing::MessageName(0xA002), "WM_APP+8194");
  EXPECT_EQ(pda::testing::MessageName(0x0099), "0x0099");
}

}  // namespace
}  // namespace pda::user_test
