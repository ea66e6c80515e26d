// Reference screenshots of the whole screen (navigation bar, main screen, menu bar) in portrait
// at both resolutions and in landscape, while acquiring and with a fix, and of the settings
// sheet's pages. Text is antialiased, so a pixel may differ by a little and a few pixels by more.
#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

#include <pda/testing/shell.h>

#include "app_session.h"
#include "screenshot_compare.h"

namespace zaz::testing {
namespace {

constexpr Tolerance kTolerance{.channel = 8, .maxDifferingShare = 0.005};

class ScreenshotTest : public AppTest, public ::testing::WithParamInterface<Screen> {
 protected:
  void ExpectMatches(const std::string& state) {
    const std::string name = state + "_" + GetParam().name;
    const std::string actual = ::testing::TempDir() + "zaz_" + name + ".png";
    ASSERT_TRUE(app().SaveScreenshot(actual));
    EXPECT_TRUE(MatchesReference(actual, std::string(ZAZ_SCREEN_REFERENCE_DIR) + "/" + name + ".png",
                                 kTolerance));
    std::remove(actual.c_str());
  }
};

TEST_P(ScreenshotTest, AcquiringThenFixMatchTheReferences) {
  Start(GetParam());
  ExpectMatches("acquiring");
  ScriptFix();
  ExpectMatches("fix");
}

// The settings sheet's three pages, reached with the Settings soft key and Next.
TEST_P(ScreenshotTest, SettingsPagesMatchTheReferences) {
  const Screen& screen = GetParam();
  Start(screen);
  const int bar = pda::testing::BarHeight();
  app().Tap(screen.width - 30, screen.height - bar / 2);
  ASSERT_TRUE(app().WaitIdle());
  ExpectMatches("settings_email");
  for (const char* page : {"settings_sms", "settings_about"}) {
    app().Tap(screen.width * 3 / 4, screen.height - bar - bar / 2);
    ASSERT_TRUE(app().WaitIdle());
    ExpectMatches(page);
  }
  app().Tap(30, screen.height - bar / 2);
  ASSERT_TRUE(app().WaitIdle());
}

INSTANTIATE_TEST_SUITE_P(Screens, ScreenshotTest,
                         ::testing::Values(kPortraitHigh, kPortraitNormal, kLandscapeHigh),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zaz::testing
