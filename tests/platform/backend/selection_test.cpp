// PDA_DISPLAY and PDA_ZOOM: which back end and zoom a setting selects, and the one-line refusal
// of a bad value that names the variable and its accepted forms.
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
  const char* error_mentions;
};
void PrintTo(const SelectCase& c, std::ostream* os) { *os << c.name; }

const SelectCase kCases[] = {
    {"UnsetMeansSdlAtZoomOne", nullptr, nullptr, "sdl", 1, ""},
    {"EmptyMeansSdl", "", "", "sdl", 1, ""},
    {"Headless", "headless", nullptr, "headless", 1, ""},
    {"SdlZoomThree", "sdl", "3", "sdl", 3, ""},
    {"UnknownDisplay", "x11", nullptr, nullptr, 0, "PDA_DISPLAY: \"x11\" is not a display; use sdl or headless"},
    {"DisplayIsCaseSensitive", "SDL", nullptr, nullptr, 0, "PDA_DISPLAY"},
    {"ZoomZero", "sdl", "0", nullptr, 0, "PDA_ZOOM: \"0\" is not a zoom; use a whole number from 1 to 16"},
    {"ZoomNegative", "sdl", "-2", nullptr, 0, "PDA_ZOOM"},
    {"ZoomWithTrailingText", "sdl", "2x", nullptr, 0, "PDA_ZOOM"},
    {"ZoomFraction", "sdl", "1.5", nullptr, 0, "PDA_ZOOM"},
    {"ZoomTooLarge", "sdl", "17", nullptr, 0, "PDA_ZOOM"},
};

class SelectTest : public ::testing::TestWithParam<SelectCase> {};

TEST_P(SelectTest, SelectsOrRefusesWithOneLine) {
  const SelectCase& c = GetParam();
  std::string error;
  const auto selection = pda::backend::Select(c.display, c.zoom, &error);
  if (c.backend) {
    ASSERT_TRUE(selection) << error;
    EXPECT_EQ(selection->backend->name, c.backend);
    EXPECT_EQ(selection->options.zoom, c.zoom_value);
  } else {
    EXPECT_FALSE(selection);
    EXPECT_NE(error.find(c.error_mentions), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
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
