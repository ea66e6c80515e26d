// The shell's records keep their published layouts; the size marks are checked by the calls.
#include <gtest/gtest.h>

#include <cstring>

#include "pda/shell.h"

namespace {

static_assert(sizeof(NOTIFYICONDATA) == 152 && offsetof(NOTIFYICONDATA, szTip) == 24);
static_assert(sizeof(SHMENUBARINFO) == 36 && offsetof(SHMENUBARINFO, hwndMB) == 28);
static_assert(sizeof(SHACTIVATEINFO) == 12);
static_assert(offsetof(SIPINFO, rcSipRect) == 24 && offsetof(SIPINFO, dwImDataSize) == 40);
static_assert(sizeof(INITCOMMONCONTROLSEX) == 8);

TEST(ShellRecords, FlagBitsSitWhereThePlatformPutsThem) {
  SHACTIVATEINFO info{};
  info.fActive = 1;
  UINT bits = 0;
  std::memcpy(&bits, reinterpret_cast<const char*>(&info) + 8, sizeof bits);
  EXPECT_EQ(bits, 0x4u);  // fSipUp bit 0, fSipOnDeactivation bit 1, fActive bit 2
}

TEST(InitCommonControlsEx, AcceptsOnlyARecordOfSizeEight) {
  struct Case {
    const char* name;
    INITCOMMONCONTROLSEX record;
    BOOL expected;
  };
  const Case cases[] = {
      {"bar, tab and up-down classes", {8, ICC_BAR_CLASSES | ICC_TAB_CLASSES | ICC_UPDOWN_CLASS}, TRUE},
      {"no classes", {8, 0}, TRUE},
      {"a wrong size", {12, 0x1C}, FALSE},
      {"a zero size", {0, 0x1C}, FALSE},
  };
  for (const Case& c : cases) EXPECT_EQ(InitCommonControlsEx(&c.record), c.expected) << c.name;
  EXPECT_FALSE(InitCommonControlsEx(nullptr));
}

}  // namespace
