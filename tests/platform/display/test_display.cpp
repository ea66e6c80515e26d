#include "display/display.h"

#include <gtest/gtest.h>

namespace pda::display {
namespace {

TEST(ParseScreenMode, AcceptsTheDocumentedForms) {
  EXPECT_EQ(ParseScreenMode("240x320@96"), (ScreenMode{240, 320, 96}));
  EXPECT_EQ(ParseScreenMode("480x640@192"), (ScreenMode{480, 640, 192}));
  EXPECT_EQ(ParseScreenMode("640x480@192"), (ScreenMode{640, 480, 192}));
}

TEST(ParseScreenMode, RefusesMalformedOrOutOfRangeValues) {
  for (const char* bad : {"", "480x640", "480x640@", "x640@96", "480*640@96", "0x640@96",
                          "480x640@10", "480x640@96 ", "-1x640@96", "99999x640@96"}) {
    EXPECT_FALSE(ParseScreenMode(bad)) << bad;
  }
}

TEST(BarHeight, ScalesWithTheDpi) {
  SetScreen({240, 320, 96});
  EXPECT_EQ(BarHeight(), 26);
  SetScreen({480, 640, 192});
  EXPECT_EQ(BarHeight(), 52);
}

}  // namespace
}  // namespace pda::display
