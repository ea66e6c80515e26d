// Accelerator tables: matching keys with their modifiers, and the command reaching the window
// given to TranslateAcceleratorW whichever window the key was posted to.
#include "user/accelerator_resources.h"
#include "user_fixture.h"

namespace pda::user_test {
namespace {

constexpr ACCEL kTable[] = {
    {FVIRTKEY | FCONTROL, 'Q', 40100},
    {FVIRTKEY | FCONTROL, 'D', 40998},
    {FVIRTKEY | FCONTROL | FSHIFT, 'N', 41000},
    {FVIRTKEY, VK_RETURN, 41001},
};

struct AccelCase {
  const char* name;
  std::vector<int> held;
  int key;
  int command;  // 0: not translated
};

class AcceleratorTest : public UserTest {
 protected:
  void SetUp() override {
    UserTest::SetUp();
    main = Make(WS_VISIBLE);
    other = Make(WS_VISIBLE);  // say, the notes window, with the focus
    table = CreateAcceleratorTableW(kTable, 4);
    ASSERT_TRUE(table);
    Drain();
  }
  void TearDown() override {
    EXPECT_TRUE(DestroyAcceleratorTable(table));
    UserTest::TearDown();
  }
  // Runs the message loop the way the application does for one key; returns the command that
  // reached the main window (0 for none) and whether the key went on to its own window.
  std::pair<int, bool> Press(const std::vector<int>& held, int key) {
    pda::testing::ResetKeyState();
    int command = 0;
    bool delivered = false;
    Recorder::Get().Clear();
    Recorder::Get().On(WM_COMMAND, [&](HWND w, WPARAM p, LPARAM) -> LRESULT {
      if (w == main && HIWORD(p) == 1) command = LOWORD(p);
      return 0;
    });
    Recorder::Get().On(WM_KEYDOWN, [&](HWND w, WPARAM p, LPARAM) -> LRESULT {
      if (w == other && static_cast<int>(p) == key) delivered = true;
      return 0;
    });
    for (int h : held) PostMessageW(other, WM_KEYDOWN, static_cast<WPARAM>(h), 0);
    PostMessageW(other, WM_KEYDOWN, static_cast<WPARAM>(key), 0);
    MSG msg;
    while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE)) {
      if (TranslateAcceleratorW(main, table, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    return {command, delivered};
  }
  HWND main, other;
  HACCEL table;
};

TEST_F(AcceleratorTest, KeysWithTheirExactModifiersBecomeCommandsOfTheGivenWindow) {
  const AccelCase cases[] = {
      {"Ctrl+Q exits", {VK_CONTROL}, 'Q', 40100},
      {"right Ctrl counts as Ctrl", {VK_RCONTROL}, 'D', 40998},
      {"Q alone is typing", {}, 'Q', 0},
      {"Ctrl+Shift+Q is not Ctrl+Q", {VK_CONTROL, VK_SHIFT}, 'Q', 0},
      {"Ctrl+Shift+N needs both", {VK_LCONTROL, VK_LSHIFT}, 'N', 41000},
      {"Ctrl+N without Shift is not in the table", {VK_CONTROL}, 'N', 0},
      {"an entry without modifiers", {}, VK_RETURN, 41001},
  };
  for (const AccelCase& c : cases) {
    SCOPED_TRACE(c.name);
    const auto [command, delivered] = Press(c.held, c.key);
    EXPECT_EQ(command, c.command);
    EXPECT_EQ(delivered, c.command == 0);  // a translated key is not dispatched
  }
}

TEST_F(AcceleratorTest, DestroyedTablesAndStaleWindowsTranslateNothing) {
  MSG msg{other, WM_KEYDOWN, 'Q', 0, 0, {0, 0}};
  const HACCEL gone = CreateAcceleratorTableW(kTable, 1);
  ASSERT_TRUE(DestroyAcceleratorTable(gone));
  EXPECT_FALSE(DestroyAcceleratorTable(gone));
  EXPECT_FALSE(TranslateAcceleratorW(main, gone, &msg));
  const HWND closed = Make(WS_VISIBLE);
  DestroyWindow(closed);
  EXPECT_FALSE(TranslateAcceleratorW(closed, table, &msg));
}

TEST_F(AcceleratorTest, TablesLoadFromRegisteredResourcesByNumberOnce) {
  const HINSTANCE instance{0x0C000001u};
  pda::user::RegisterAcceleratorResource(instance, 40997, {std::begin(kTable), std::end(kTable)});
  const HACCEL loaded = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(40997));
  ASSERT_TRUE(loaded);
  EXPECT_EQ(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(40997)), loaded);
  SetLastError(0);
  EXPECT_FALSE(LoadAcceleratorsW(instance, MAKEINTRESOURCEW(1)));
  EXPECT_EQ(GetLastError(), ERROR_RESOURCE_NAME_NOT_FOUND);
}

}  // namespace
}  // namespace pda::user_test
