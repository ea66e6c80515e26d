// FindWindowW in this process and from a second process, which brings the first instance's
// window to the front.
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "user_fixture.h"

extern char** environ;

namespace pda::user_test {
namespace {

// Runs the helper to completion; returns its exit code (or -1 when it did not exit normally).
int RunHelper(const char* cls, const char* title) {
  char* argv[] = {const_cast<char*>(FIND_WINDOW_HELPER), const_cast<char*>(cls),
                  const_cast<char*>(title), nullptr};
  pid_t pid;
  if (posix_spawn(&pid, FIND_WINDOW_HELPER, nullptr, nullptr, argv, environ) != 0) return -1;
  int status = 0;
  if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

class FindWindowTest : public UserTest {
 protected:
  void SetUp() override {
    // A device root of this test run alone, so that no other run's windows are found.
    root_ = "/tmp/pda-find-window-" + std::to_string(getpid());
    setenv("PDA_ROOT", root_.c_str(), 1);
    UserTest::SetUp();
  }
  std::string root_;
};

TEST_F(FindWindowTest, FindsTopLevelWindowsOfThisProcessByClassAndTitle) {
  const HWND main = Make(WS_VISIBLE, HWND{}, 0, 0, 10, 10, u"Zazorudu");
  Child(main, 0, 0, 5, 5);
  EXPECT_EQ(FindWindowW(kRecorderClass, u"Zazorudu"), main);
  EXPECT_EQ(FindWindowW(u"recorder", u"Zazorudu"), main);  // class names ignore case
  EXPECT_EQ(FindWindowW(nullptr, u"Zazorudu"), main);
  EXPECT_FALSE(FindWindowW(kRecorderClass, u"zazorudu"));  // titles do not
  DestroyWindow(main);
  EXPECT_FALSE(FindWindowW(kRecorderClass, u"Zazorudu"));
}

TEST_F(FindWindowTest, ASecondProcessFindsTheWindowAndBringsItToTheFront) {
  Watchdog watchdog;
  const HWND first = Make(WS_VISIBLE | WS_SYSMENU, HWND{}, CW_USEDEFAULT, CW_USEDEFAULT,
                          CW_USEDEFAULT, CW_USEDEFAULT, u"Zazorudu");
  Make(WS_VISIBLE, HWND{}, 0, 0, 10, 10, u"Other");
  ASSERT_NE(GetForegroundWindow(), first);
  Drain();

  EXPECT_EQ(RunHelper("Recorder", "Zazorudu"), 0);
  // The request arrives as a message on this thread; the window comes to the front when it is
  // handled.
  MSG msg;
  while (GetForegroundWindow() != first && GetMessageW(&msg, HWND{}, 0, 0) > 0)
    DispatchMessageW(&msg);
  EXPECT_EQ(GetForegroundWindow(), first);
}

TEST_F(FindWindowTest, ASecondProcessFindsNothingForAnotherTitleOrAGoneWindow) {
  const HWND first = Make(WS_VISIBLE, HWND{}, 0, 0, 10, 10, u"Zazorudu");
  EXPECT_EQ(RunHelper("Recorder", "Someone else"), 3);
  DestroyWindow(first);
  EXPECT_EQ(RunHelper("Recorder", "Zazorudu"), 3);
}

TEST_F(FindWindowTest, ARenamedWindowIsFoundByItsNewTitle) {
  const HWND window = Make(WS_VISIBLE, HWND{}, 0, 0, 10, 10, u"Before");
  SetWindowTextW(window, u"After");
  EXPECT_EQ(RunHelper("Recorder", "Before"), 3);
  EXPECT_EQ(RunHelper("Recorder", "After"), 0);
  Drain();
}

}  // namespace
}  // namespace pda::user_test
