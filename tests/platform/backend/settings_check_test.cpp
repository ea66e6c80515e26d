// The settings check where a rule meets the host: an NMEA source that this user may not read is
// refused at the start, the same file readable is not. Run as an unprivileged user, since root
// reads any file. And PDA_ZOOM's forms: what is taken, and the line that refuses the rest.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "backend/settings_check.h"
#include "child_check.h"

namespace {

TEST(SettingsCheck, NmeaSourceThisUserMayNotReadIsRefused) {
  const std::string folder = ::testing::TempDir() + "settings_check." + std::to_string(::getpid());
  std::filesystem::create_directories(folder);
  const std::string log = folder + "/receiver.nmea";
  std::fclose(std::fopen(log.c_str(), "w"));
  const std::string value = "nmea:" + log;
  const std::string result = zaz::testing::RunInChild(
      [&]() -> std::string {
        if (const auto line = pda::backend::SettingRefusal("PDA_GPS", value.c_str()))
          return "a readable file refused: " + *line;
        ::chmod(log.c_str(), 0);
        const auto line = pda::backend::SettingRefusal("PDA_GPS", value.c_str());
        if (!line) return "a file without read permission accepted";
        if (line->find("PDA_GPS=" + value + ": no permission to read it; expected gpsd") ==
            std::string::npos)
          return "the line does not say why: " + *line;
        return "";
      },
      /*unprivileged=*/true, folder);
  std::filesystem::remove_all(folder);
  EXPECT_EQ(result, "");
}

TEST(SettingsCheck, ZoomTakesAutoOrOneToSixteenAndNamesBothWhenRefusing) {
  struct Case {
    const char* value;
    bool accepted;
  };
  const Case cases[] = {{nullptr, true}, {"", true},     {"auto", true}, {"1", true},
                        {"16", true},    {"Auto", false}, {"0", false},  {"17", false},
                        {"auto ", false}, {"2x", false}};
  for (const Case& c : cases) {
    const auto line = pda::backend::SettingRefusal("PDA_ZOOM", c.value);
    const std::string shown = c.value ? c.value : "(unset)";
    EXPECT_EQ(!line, c.accepted) << shown << ": " << line.value_or("accepted");
    if (line) {
      EXPECT_NE(line->find("PDA_ZOOM=" + shown + ": not a zoom; expected auto (the largest whole "
                           "zoom at which the window fits the desktop) | a whole number from 1 to 16"),
                std::string::npos)
          << *line;
    }
  }
}

}  // namespace
