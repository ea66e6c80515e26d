// FindWindowW in this process and from a second process, which brings the first instance's
// window to the front.
#include <fcntl.h>
#include <pwd.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <thread>
#include <vector>
#include <string>

#include "user/rendezvous.h"
#include "user_fixture.h"

extern char** environ;

namespace pda::user_test {
namespace {

// Starts the helper with these arguments after its own name, its standard error into `errors`
// when given; returns its process id, or -1.
pid_t SpawnHelper(std::vector<std::string> args, const std::string& errors = {}) {
  args.insert(args.begin(), FIND_WINDOW_HELPER);
  std::vector<char*> argv;
  for (std::string& arg : args) argv.push_back(arg.data());
  argv.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!errors.empty())
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  pid_t pid;
  const int failed = posix_spawn(&pid, FIND_WINDOW_HELPER, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return failed ? -1 : pid;
}

// Its exit code, or -1 when it did not exit normally.
int Wait(pid_t pid) {
  int status = 0;
  if (pid < 0 || waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

int RunHelper(const char* cls, const char* title) { return Wait(SpawnHelper({cls, title})); }

// A start as a program's: the window found and activated (0), or made and held (5).
std::vector<std::string> Instance(long long startNs, int holdMs) {
  return {"Recorder", "Zazorudu", std::to_string(startNs), std::to_string(holdMs)};
}

long long NowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::vector<std::string> Names(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.push_back(entry.path().filename());
  return names;
}

std::string ReadAll(const std::string& path) {
  std::ifstream in(path);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class FindWindowTest : public UserTest {
 protected:
  void SetUp() override {
    // A device root of this test run alone, so that no other run's windows are found, and a
    // runtime folder of this test alone, so that what is left in it is this test's.
    root_ = "/tmp/pda-find-window-" + std::to_string(getpid());
    setenv("PDA_ROOT", root_.c_str(), 1);
    runtime_ = "/tmp/pda-runtime-XXXXXX";
    ASSERT_NE(mkdtemp(runtime_.data()), nullptr);
    setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    UserTest::SetUp();
  }
  void TearDown() override {
    UserTest::TearDown();
    std::filesystem::remove_all(runtime_);
    unsetenv("XDG_RUNTIME_DIR");
  }
  std::string root_;
  std::string runtime_;
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

// Ten programs started at the same instant: one finds nothing and runs, nine find its window
// (or its claim) and end, as second starts do.
TEST_F(FindWindowTest, TenProcessesStartedAtOnceLeaveExactlyOneRunning) {
  const long long start = NowNs() + 300'000'000;
  std::vector<pid_t> pids;
  for (int i = 0; i < 10; ++i) pids.push_back(SpawnHelper(Instance(start, 1500)));
  std::map<int, int> codes;
  for (pid_t pid : pids) ++codes[Wait(pid)];
  EXPECT_EQ(codes, (std::map<int, int>{{0, 9}, {5, 1}}));
}

// A program that ends leaves no socket behind, and what a killed one left is taken over.
TEST_F(FindWindowTest, NoSocketIsLeftAfterExitAndAKilledOnesIsTakenOver) {
  EXPECT_EQ(Wait(SpawnHelper(Instance(0, 0))), 5);
  EXPECT_EQ(Names(runtime_), std::vector<std::string>{});

  const pid_t killed = SpawnHelper(Instance(0, 60'000));
  while (Names(runtime_).size() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  kill(killed, SIGKILL);
  Wait(killed);
  EXPECT_EQ(Wait(SpawnHelper(Instance(0, 0))), 5) << "the killed one's name is free again";
  EXPECT_EQ(Names(runtime_), std::vector<std::string>{});
}

// A folder open to others, or a name taken by another user's file, is not trusted: the program
// runs without the lookup there and says so in one line.
TEST_F(FindWindowTest, ANameOthersCouldTakeIsRefusedWithALine) {
  struct Case {
    const char* name;
    bool needsRoot;
    std::function<std::string()> make;  // returns the path the line must name
  };
  const std::string tmp = runtime_ + "/tmp";
  const Case cases[] = {
      {"a private folder open to others", false,
       [&] {
         unsetenv("XDG_RUNTIME_DIR");
         setenv("TMPDIR", tmp.c_str(), 1);
         const std::string folder = tmp + "/pda-" + std::to_string(geteuid());
         std::filesystem::create_directories(folder);
         chmod(folder.c_str(), 0755);
         return folder;
       }},
      {"a socket name of another user", true,
       [&] {
         const std::string path = *pda::user::rendezvous::SocketPathOf(u"Recorder", u"Zazorudu");
         std::ofstream(path) << "planted";
         const passwd* nobody = getpwnam("nobody");
         if (nobody == nullptr || chown(path.c_str(), nobody->pw_uid, nobody->pw_gid) != 0) return std::string();
         return path;
       }},
  };
  for (const Case& c : cases) {
    if (c.needsRoot && geteuid() != 0) {
      ADD_FAILURE() << c.name << ": needs root to make another user's file; run as root to check";
      continue;
    }
    const std::string path = c.make();
    ASSERT_FALSE(path.empty()) << c.name;
    const std::string errors = runtime_ + "/errors.txt";
    EXPECT_EQ(Wait(SpawnHelper(Instance(0, 0), errors)), 5) << c.name;
    const std::string said = ReadAll(errors);
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << c.name << ": " << said;
    EXPECT_NE(said.find(path), std::string::npos) << c.name << ": " << said;
    std::filesystem::remove(errors);
    setenv("XDG_RUNTIME_DIR", runtime_.c_str(), 1);
    unsetenv("TMPDIR");
  }
  struct stat planted {};
  if (geteuid() == 0) {
    ASSERT_EQ(stat(pda::user::rendezvous::SocketPathOf(u"Recorder", u"Zazorudu")->c_str(), &planted), 0);
    EXPECT_TRUE(S_ISREG(planted.st_mode)) << "another user's file is left as it is";
  }
}

}  // namespace
}  // namespace pda::user_test
