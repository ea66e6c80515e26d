#include "display/display.h"

#include <gtest/gtest.h>

namespace pda::display {
namespace {

TEST(ParseScreenSpec, AcceptsTheDocumentedForms) {
  EXPECT_EQ(ParseScreenSpec("240x320@96"), (ScreenSpec{240, 320, 96}));
  EXPECT_EQ(ParseScreenSpec("480x640@192"), (ScreenSpec{480, 640, 192}));
  EXPECT_EQ(ParseScreenSpec("640x480@192"), (ScreenSpec{640, 480, 192}));
}

TEST(ParseScreenSpec, RefusesMalformedOrOutOfRangeValues) {
  for (const char* bad : {"", "480x640", "480x640@", "x640@96", "480*640@96", "0x640@96",
                          "480x640@10", "480x640@96 ", "-1x640@96", "99999x640@96"}) {
    EXPECT_FALSE(ParseScreenSpec(bad)) << bad;
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
