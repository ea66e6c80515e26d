#include <gtest/gtest.h>

#include <string>

#include <pda.h>
#include <pda/testing/shell.h>

#include "app_session.h"
#include "settingsdlg/page_sheet.h"

namespace zaz::testing {
namespace {

class SettingsSheetTest : public AppTest, public ::testing::WithParamInterface<Screen> {};

TEST_P(SettingsSheetTest, Look) {
  const Screen screen = GetParam();
  Start(screen);
  const int bar = pda::testing::BarHeight();
  app().Tap(screen.width - 30, screen.height - bar / 2);
  ASSERT_TRUE(app().WaitIdle());
  app().SaveScreenshot(std::string("/tmp/sheet_") + screen.name + "_0.png");
  app().Tap(screen.width * 3 / 4, screen.height - bar - bar / 2);
  ASSERT_TRUE(app().WaitIdle());
  app().SaveScreenshot(std::string("/tmp/sheet_") + screen.name + "_1.png");
  app().Tap(screen.width * 3 / 4, screen.height - bar - bar / 2);
  ASSERT_TRUE(app().WaitIdle());
  app().SaveScreenshot(std::string("/tmp/sheet_") + screen.name + "_2.png");
  app().Tap(screen.width - 30, screen.height - bar / 2);
  ASSERT_TRUE(app().WaitIdle());
  QuitWithCtrlQ();
}

INSTANTIATE_TEST_SUITE_P(Screens, SettingsSheetTest,
                         ::testing::Values(kPortraitNormal, kPortraitHigh, kLandscapeHigh),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace zaz::testing
