// PDA_DISPLAY and PDA_ZOOM: which back end and zoom a setting selects, or none for a bad value.
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
    {"UnsetMeansSdlAtZoomOne", nullptr, nullptr, "sdl", 1},
    {"EmptyMeansSdl", "", "", "sdl", 1},
    {"Headless", "headless", nullptr, "headless", 1},
    {"SdlZoomThree", "sdl", "3", "sdl", 3},
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
