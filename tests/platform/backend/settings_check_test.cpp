// The settings check where a rule meets the host: an NMEA source that this user may not read is
// refused at the start, the same file readable is not. Run as an unprivileged user, since root
// reads any file.
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

}  // namespace
