// Date and time stamps on a fixed clock.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include <pda/testing/kernel.h>

#include "settings/time_stamp.h"

namespace {

std::chrono::system_clock::time_point At(int year, int month, int day, int hour, int minute,
                                         int second) {
  std::tm tm = {};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = second;
  return std::chrono::system_clock::from_time_t(timegm(&tm));
}

struct StampCase {
  const char* name;
  std::chrono::system_clock::time_point at;
  int dateOrder;
  int timeForm;
  const char16_t* expected;
};
// Named in test output by what the case proves, not as a byte dump.
void PrintTo(const StampCase& c, std::ostream* os) { *os << c.name; }

class TimeStampTest : public ::testing::TestWithParam<StampCase> {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
  }
  void TearDown() override { pda::SetWallClockForTesting(std::nullopt); }
};

TEST_P(TimeStampTest, FormatsTheLocalTime) {
  const StampCase& c = GetParam();
  pda::SetWallClockForTesting(c.at);
  WCHAR szStamp[TIMESTAMP_MIN_CHARS];
  for (WCHAR& ch : szStamp) ch = u'X';
  MakeTimeStamp(c.dateOrder, c.timeForm, szStamp);
  EXPECT_EQ(std::u16string(szStamp), c.expected);
}

const auto kEvening = At(2009, 1, 9, 20, 41, 24);

INSTANTIATE_TEST_SUITE_P(
    Codes, TimeStampTest,
    ::testing::Values(
        StampCase{"DayMonthYearWithSeconds", kEvening, 1, 6, u"09d-01m-2009y-t2041_24s"},
        StampCase{"MonthDayYearWithMinutes", kEvening, 2, 5, u"01m-09d-2009y-t2041"},
        StampCase{"YearMonthDayWithoutTime", kEvening, 3, 7, u"2009y-01m-09d"},
        StampCase{"TimeAloneWithSeconds", kEvening, 4, 6, u"t2041_24s"},
        StampCase{"NeitherGivesTheEmptyString", kEvening, 4, 7, u""},
        StampCase{"SingleDigitsArePadded", At(2009, 3, 1, 9, 5, 7), 1, 6,
                  u"01d-03m-2009y-t0905_07s"},
        StampCase{"MidnightWithMinutes", At(2010, 12, 31, 0, 0, 0), 4, 5, u"t0000"},
        StampCase{"MidnightWithSeconds", At(2010, 12, 31, 0, 0, 0), 4, 6, u"t0000_00s"}),
    [](const ::testing::TestParamInfo<StampCase>& info) { return info.param.name; });

}  // namespace
