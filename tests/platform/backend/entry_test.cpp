// The program's main: WinMain's arguments and result, and the one-line refusal of a bad setting
// (status 78) or a display that cannot be opened (status 1); WinMain then never runs.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <string>

namespace {

struct ProbeRun {
  int status;
  std::string out;
  std::string err;
};

ProbeRun RunProbe(const std::string& environment) {
  // One file per test process: CTest runs the cases of this program side by side.
  const std::string errPath =
      ::testing::TempDir() + "entry_probe." + std::to_string(::getpid()) + ".err";
  const std::string command = "env -u PDA_DISPLAY -u PDA_ZOOM " + environment + " " +
                              ENTRY_PROBE + " 2>" + errPath;
  ProbeRun run{-1, "", ""};
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return run;
  char buffer[256];
  while (std::fgets(buffer, sizeof buffer, pipe)) run.out += buffer;
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  if (FILE* err = std::fopen(errPath.c_str(), "r")) {
    while (std::fgets(buffer, sizeof buffer, err)) run.err += buffer;
    std::fclose(err);
  }
  std::remove(errPath.c_str());
  return run;
}

TEST(Entry, HeadlessRunsWinMainAndReturnsItsResult) {
  const ProbeRun run = RunProbe("PDA_DISPLAY=headless PDA_SCREEN=240x320@96");
  EXPECT_EQ(run.status, 42);
  EXPECT_EQ(run.out, "WinMain instance=1 previous=0 empty=1 show=1\n");
  EXPECT_EQ(run.err, "");
}

struct BadCase {
  const char* name;
  const char* environment;
  const char* variable;
  int status;
};
void PrintTo(const BadCase& c, std::ostream* os) { *os << c.name; }
const BadCase kBad[] = {
    {"UnknownDisplay", "PDA_DISPLAY=fbdev", "PDA_DISPLAY=fbdev: not a display", 78},
    {"ZoomZero", "PDA_DISPLAY=headless PDA_ZOOM=0", "PDA_ZOOM=0", 78},
    {"ZoomWord", "PDA_ZOOM=big", "PDA_ZOOM=big", 78},
    // No display at all: the sdl back end cannot open one and says how to run instead.
    {"SdlWithoutADisplay", "PDA_DISPLAY=sdl SDL_VIDEODRIVER=nosuchdriver DISPLAY= WAYLAND_DISPLAY=",
     "xvfb-run -a scripts/run.sh", 1},
};

class BadSetting : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadSetting, EndsWithOneLineAndItsStatus) {
  const ProbeRun run = RunProbe(GetParam().environment);
  EXPECT_EQ(run.status, GetParam().status);
  EXPECT_EQ(run.out, "") << "WinMain did not run";
  EXPECT_NE(run.err.find(GetParam().variable), std::string::npos) << run.err;
  EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << "exactly one line: " << run.err;
}

INSTANTIATE_TEST_SUITE_P(Settings, BadSetting, ::testing::ValuesIn(kBad),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
