// PDA_DISPLAY and PDA_ZOOM: which back end and zoom a setting selects, or none for a bad value;
// the zoom "auto" chooses for a desktop's usable area.
#include <gtest/gtest.h>

#include <ostream>

#include "backend/backend.h"

namespace {

struct SelectCase {
  const char* name;
  const char* display;
  const char* zoom;
  const char* backend;  // null: refused
  int zoom_value;
};
void PrintTo(const SelectCase& c, std::ostream* os) { *os << c.name; }

const SelectCase kCases[] = {
    {"UnsetMeansSdlAtZoomAuto", nullptr, nullptr, "sdl", pda::backend::kZoomAuto},
    {"EmptyMeansSdlAtZoomAuto", "", "", "sdl", pda::backend::kZoomAuto},
    {"Headless", "headless", nullptr, "headless", pda::backend::kZoomAuto},
    {"SdlZoomThree", "sdl", "3", "sdl", 3},
    {"ZoomOneIsForced", "sdl", "1", "sdl", 1},
    {"ZoomSixteen", "sdl", "16", "sdl", 16},
    {"ZoomAuto", "sdl", "auto", "sdl", pda::backend::kZoomAuto},
    {"ZoomAutoIsCaseSensitive", "sdl", "Auto", nullptr, 0},
    {"ZoomAutoWithTrailingText", "sdl", "auto2", nullptr, 0},
    {"UnknownDisplay", "x11", nullptr, nullptr, 0},
    {"DisplayIsCaseSensitive", "SDL", nullptr, nullptr, 0},
    {"ZoomZero", "sdl", "0", nullptr, 0},
    {"ZoomNegative", "sdl", "-2", nullptr, 0},
    {"ZoomWithTrailingText", "sdl", "2x", nullptr, 0},
    {"ZoomFraction", "sdl", "1.5", nullptr, 0},
    {"ZoomTooLarge", "sdl", "17", nullptr, 0},
};

class SelectTest : public ::testing::TestWithParam<SelectCase> {};

TEST_P(SelectTest, SelectsOrRefuses) {
  const SelectCase& c = GetParam();
  const auto selection = pda::backend::Select(c.display, c.zoom);
  if (c.backend) {
    ASSERT_TRUE(selection);
    EXPECT_EQ(selection->backend->name, c.backend);
    EXPECT_EQ(selection->options.zoom, c.zoom_value);
  } else {
    EXPECT_FALSE(selection);
  }
}

INSTANTIATE_TEST_SUITE_P(Settings, SelectTest, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

struct FitCase {
  const char* name;
  SIZE usable;
  SIZE device;
  int zoom;
};
void PrintTo(const FitCase& c, std::ostream* os) { *os << c.name; }

const FitCase kFits[] = {
    {"FullHdPanelLessFitsOnceTallDevice", {1920, 1050}, {480, 640}, 1},
    {"ExactlyTwiceFitsTwice", {960, 1280}, {480, 640}, 2},
    {"OnePixelShortOfTwiceIsOnce", {960, 1279}, {480, 640}, 1},
    {"WidthLimitsLandscape", {1000, 2000}, {640, 480}, 1},
    {"HeightLimitsPortrait", {3840, 2110}, {480, 640}, 3},
    {"SmallDeviceOnFourK", {3840, 2160}, {240, 320}, 6},
    {"PhoneSmallerThanDeviceStillOne", {360, 720}, {480, 640}, 1},
    {"NothingUsableStillOne", {0, 0}, {480, 640}, 1},
    {"HugeAreaStopsAtSixteen", {8192, 8192}, {24, 32}, 16},
};

class FitZoomTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitZoomTest, LargestWholeZoomThatFits) {
  const FitCase& c = GetParam();
  EXPECT_EQ(pda::backend::FitZoom(c.usable, c.device), c.zoom);
}

INSTANTIATE_TEST_SUITE_P(UsableAreas, FitZoomTest, ::testing::ValuesIn(kFits),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BackendRegistry, ListsBothBackEndsWithTheirHooks) {
  for (const char* name : {"sdl", "headless"}) {
    const pda::backend::Backend* b = pda::backend::FindBackend(name);
    ASSERT_NE(b, nullptr) << name;
    EXPECT_NE(b->init, nullptr);
    EXPECT_NE(b->term, nullptr);
  }
  EXPECT_EQ(pda::backend::FindBackend("fbdev"), nullptr);
}

TEST(BackendRegistry, StartRefusesAnUnknownNameAndASecondBackEnd) {
  EXPECT_FALSE(pda::backend::Start("fbdev", {}));
  ASSERT_TRUE(pda::backend::Start("headless", {}));
  EXPECT_FALSE(pda::backend::Start("headless", {}));
  pda::backend::Stop();
  EXPECT_TRUE(pda::backend::Start("headless", {}));
  pda::backend::Stop();
}

}  // namespace
