// The Settings file: the eight-line file, the 10-byte rule, hand-edited files, round trips,
// values longer than their fields, the path limit.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <ctime>
#include <string>

#include <pda/testing/kernel.h>

#include "child_check.h"
#include "device_root.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "settings/version.h"

namespace {

constexpr char kSettingsHost[] = "Program Files/Zazorudu/Zazorudu.settings.txt";

// 9 January 2009, 20:41:24, read through a UTC time zone.
std::chrono::system_clock::time_point SaveInstant() {
  std::tm tm = {};
  tm.tm_year = 2009 - 1900;
  tm.tm_mon = 0;
  tm.tm_mday = 9;
  tm.tm_hour = 20;
  tm.tm_min = 41;
  tm.tm_sec = 24;
  return std::chrono::system_clock::from_time_t(timegm(&tm));
}

std::u16string Wide(const char16_t* psz) { return std::u16string(psz); }

class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    pda::SetWallClockForTesting(SaveInstant());
    g_Settings.Clear();
  }
  void TearDown() override {
    pda::SetWallClockForTesting(std::nullopt);
    g_Settings.Clear();
  }
  void Fill(const char16_t* addr, const char16_t* account, const char16_t* number) {
    std::u16string(addr).copy(g_Settings.wszDefaultEmailAddr, 255);
    std::u16string(account).copy(g_Settings.DefaultEmailAccount, 127);
    std::u16string(number).copy(g_Settings.DefaultSMSphoneNumber, 31);
  }
  zaz::testing::DeviceRoot root_;
};

TEST_F(SettingsFileTest, SaveWritesTheEightLinesByteForByte) {
  Fill(u"someone@example.com", u"ActiveSync", u"+15551234");
  ASSERT_TRUE(SaveSettings());
  EXPECT_EQ(root_.Read(kSettingsHost),
            "[Zazorudu]\r\n"
            "DateTime=09d-01m-2009y-t2041_24s\r\n"
            "Version=1.00.0785 (01.2009)\r\n"
            "[EMAIL]\r\n"
            "wszDefaultEmailAddr=someone@example.com\r\n"
            "DefaultEmailAccount=ActiveSync\r\n"
            "[SMS]\r\n"
            "DefaultSMSphoneNumber=+15551234\r\n");
}

TEST_F(SettingsFileTest, EmptyFieldsAreWrittenAsKeysWithNothingAfterTheEquals) {
  ASSERT_TRUE(SaveSettings());
  const std::string text = root_.Read(kSettingsHost);
  EXPECT_NE(text.find("\r\nwszDefaultEmailAddr=\r\nDefaultEmailAccount=\r\n[SMS]\r\n"
                      "DefaultSMSphoneNumber=\r\n"),
            std::string::npos)
      << text;
}

TEST_F(SettingsFileTest, FirstStartWithoutAFileLoadsNothingAndCreatesNothing) {
  Fill(u"", u"First account", u"");
  EXPECT_FALSE(LoadSettings());
  EXPECT_EQ(Wide(g_Settings.DefaultEmailAccount), u"First account");
  EXPECT_FALSE(root_.Exists(kSettingsHost));
}

TEST_F(SettingsFileTest, LoadFollowsTheTenByteRule) {
  struct Case {
    const char* name;
    std::string file;
    bool loaded;
    const char16_t* account;  // after loading, starting from "Preset"
  };
  const Case cases[] = {
      {"nine bytes count as absent", "[EMAIL]\r\n", false, u"Preset"},
      {"ten zero bytes empty every field", std::string(10, '\0'), true, u""},
      {"unrelated text empties every field", "just some text\r\n", true, u""},
      {"a file with the account key", "[EMAIL]\nDefaultEmailAccount=A\n", true, u"A"},
  };
  for (const Case& c : cases) {
    Fill(u"a@b", u"Preset", u"123");
    root_.Write(kSettingsHost, c.file);
    EXPECT_EQ(LoadSettings(), c.loaded ? TRUE : FALSE) << c.name;
    EXPECT_EQ(Wide(g_Settings.DefaultEmailAccount), c.account) << c.name;
    EXPECT_EQ(Wide(g_Settings.wszDefaultEmailAddr), c.loaded ? u"" : u"a@b") << c.name;
  }
}

TEST_F(SettingsFileTest, HandEditedFileLoadsWithoutTheBlanks) {
  root_.Write(kSettingsHost,
              "; edited by hand\r\n"
              "[SMS]\r\n"
              "DefaultSMSphoneNumber = 5550100\r\n"
              "[Zazorudu]\r\n"
              "DateTime=yesterday\r\n"
              "Version=9.99\r\n"
              "[EMAIL]\r\n"
              "  wszDefaultEmailAddr   =   me@example.org  \t\r\n"
              "DefaultEmailAccount=Work\r\n");
  ASSERT_TRUE(LoadSettings());
  EXPECT_EQ(Wide(g_Settings.wszDefaultEmailAddr), u"me@example.org");
  EXPECT_EQ(Wide(g_Settings.DefaultEmailAccount), u"Work");
  EXPECT_EQ(Wide(g_Settings.DefaultSMSphoneNumber), u"5550100");

  // The next save restores the standard order and rewrites DateTime and Version.
  ASSERT_TRUE(SaveSettings());
  EXPECT_EQ(root_.Read(kSettingsHost),
            "[Zazorudu]\r\nDateTime=09d-01m-2009y-t2041_24s\r\nVersion=1.00.0785 (01.2009)\r\n"
            "[EMAIL]\r\nwszDefaultEmailAddr=me@example.org\r\nDefaultEmailAccount=Work\r\n"
            "[SMS]\r\nDefaultSMSphoneNumber=5550100\r\n");
}

TEST_F(SettingsFileTest, AFileWithoutTheSmsSectionEmptiesTheNumber) {
  Fill(u"", u"", u"5550100");
  root_.Write(kSettingsHost, "[EMAIL]\r\nwszDefaultEmailAddr=x@y\r\nDefaultEmailAccount=Z\r\n");
  ASSERT_TRUE(LoadSettings());
  EXPECT_EQ(Wide(g_Settings.DefaultSMSphoneNumber), u"");
  EXPECT_EQ(Wide(g_Settings.wszDefaultEmailAddr), u"x@y");
}

TEST_F(SettingsFileTest, SavedValuesLoadBackIncludingNonAsciiText) {
  Fill(u"j\u00F6rg@example.de", u"B\u00FCro \u00E9t\u00E9", u"+49 30 1234");
  ASSERT_TRUE(SaveSettings());
  SettingsRecord saved;
  saved.Clear();
  saved.CopyFrom(g_Settings);
  g_Settings.Clear();
  ASSERT_TRUE(LoadSettings());
  EXPECT_EQ(Wide(g_Settings.wszDefaultEmailAddr), Wide(saved.wszDefaultEmailAddr));
  EXPECT_EQ(Wide(g_Settings.DefaultEmailAccount), Wide(saved.DefaultEmailAccount));
  EXPECT_EQ(Wide(g_Settings.DefaultSMSphoneNumber), Wide(saved.DefaultSMSphoneNumber));
}

TEST_F(SettingsFileTest, ValuesLongerThanTheirFieldsAreCutToTheField) {
  root_.Write(kSettingsHost, "[EMAIL]\r\nwszDefaultEmailAddr=" + std::string(300, 'a') +
                                 "\r\nDefaultEmailAccount=" + std::string(200, 'b') +
                                 "\r\n[SMS]\r\nDefaultSMSphoneNumber=" + std::string(50, '7') +
                                 "\r\n");
  ASSERT_TRUE(LoadSettings());
  EXPECT_EQ(Wide(g_Settings.wszDefaultEmailAddr), std::u16string(255, u'a'));
  EXPECT_EQ(Wide(g_Settings.DefaultEmailAccount), std::u16string(127, u'b'));
  EXPECT_EQ(Wide(g_Settings.DefaultSMSphoneNumber), std::u16string(31, u'7'));
}

TEST_F(SettingsFileTest, AFieldOverTwoHundredFiftyFiveNarrowBytesIsSavedCutAtACharacter) {
  // 255 characters of two bytes each: 510 bytes, cut to 127 whole characters (254 bytes).
  std::u16string(255, u'\u00E9').copy(g_Settings.wszDefaultEmailAddr, 255);
  ASSERT_TRUE(SaveSettings());
  std::string expected;
  for (int i = 0; i < 127; ++i) expected += "\xC3\xA9";
  EXPECT_NE(root_.Read(kSettingsHost).find("wszDefaultEmailAddr=" + expected + "\r\n"),
            std::string::npos);
  g_Settings.Clear();
  ASSERT_TRUE(LoadSettings());
  EXPECT_EQ(Wide(g_Settings.wszDefaultEmailAddr), std::u16string(127, u'\u00E9'));
}

TEST_F(SettingsFileTest, SaveIntoAnUnwritableFolderKeepsNothingAndFailsQuietly) {
  std::filesystem::remove_all(root_.Host("Program Files/Zazorudu"));
  root_.Write("Program Files/Zazorudu", "a regular file where the folder should be");
  Fill(u"a@b", u"c", u"1");
  EXPECT_TRUE(SaveSettings()) << "the store was handed the file; its failure is not reported";
  EXPECT_EQ(root_.Read("Program Files/Zazorudu"), "a regular file where the folder should be");
}

// A file that is there but cannot be read is absent for the session and left as it was at its
// end, with one line on standard error; a FIFO never holds the start up. Run as an unprivileged
// user, for whom file modes count.
TEST_F(SettingsFileTest, AFileThatCannotBeReadIsLeftAsItWasWithOneLine) {
  const std::string path = root_.HostPath(kSettingsHost);
  const std::string good = "[EMAIL]\r\nwszDefaultEmailAddr=from@file\r\n";
  struct Case {
    const char* name;
    std::function<void()> make;
  };
  const Case cases[] = {
      {"no permission to read", [&] { root_.Write(kSettingsHost, good); chmod(path.c_str(), 0200); }},
      {"a FIFO", [&] { mkfifo(path.c_str(), 0600); }},
      {"a folder", [&] { std::filesystem::create_directory(path); }},
      {"over 1 MiB", [&] {
         root_.Write(kSettingsHost, good);
         truncate(path.c_str(), (1 << 20) + 1);
       }},
  };
  for (const Case& c : cases) {
    std::filesystem::remove_all(path);
    c.make();
    struct stat before {};
    ASSERT_EQ(lstat(path.c_str(), &before), 0) << c.name;
    const std::string failure = zaz::testing::RunInChild(
        [&] {
          Fill(u"preset@address", u"Preset", u"");
          ::testing::internal::CaptureStderr();
          const BOOL loaded = LoadSettings();
          const BOOL saved = SaveSettings();
          const std::string said = ::testing::internal::GetCapturedStderr();
          std::string wrong;
          if (loaded || saved) wrong += "loaded or saved; ";
          if (Wide(g_Settings.wszDefaultEmailAddr) != u"preset@address") wrong += "record changed; ";
          if (std::count(said.begin(), said.end(), '\n') != 1 || said.find(path) == std::string::npos)
            wrong += "said: " + said;
          return wrong;
        },
        true, root_.host());
    EXPECT_EQ(failure, "") << c.name;
    struct stat after {};
    ASSERT_EQ(lstat(path.c_str(), &after), 0) << c.name;
    EXPECT_EQ(after.st_ino, before.st_ino) << c.name;
    EXPECT_EQ(after.st_mode, before.st_mode) << c.name;
    EXPECT_EQ(after.st_size, before.st_size) << c.name;
    EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec) << c.name;
    std::filesystem::permissions(path, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add);
  }
}

TEST(SettingsPathTest, PathsOfAtMostSixtyThreeNarrowBytesAreAccepted) {
  struct Case {
    const char* name;
    std::u16string module;
    bool accepted;
    const char* narrow;
  };
  // "\" + folder + "\" + "Zazorudu.settings.txt" (21): a folder of 40 gives 63 bytes.
  const std::u16string folder40(40, u'f');
  const Case cases[] = {
      {"the program's own folder", u"\\Program Files\\Zazorudu\\Zazorudu.exe", true,
       "\\Program Files\\Zazorudu\\Zazorudu.settings.txt"},
      {"63 bytes fit", u"\\" + folder40 + u"\\x.exe", true, nullptr},
      {"64 bytes do not", u"\\" + folder40 + u"g\\x.exe", false, nullptr},
      {"a two-byte character counts twice", u"\\" + std::u16string(39, u'f') + u"\u00E9\\x.exe",
       false, nullptr},
  };
  for (const Case& c : cases) {
    WCHAR szPath[SETTINGS_PATH_CHARS] = {};
    char szNarrow[SETTINGS_NARROW_PATH_BYTES] = {};
    EXPECT_EQ(MakeSettingsPath(c.module.c_str(), szPath, szNarrow), c.accepted ? TRUE : FALSE)
        << c.name;
    if (c.narrow != nullptr) {
      EXPECT_STREQ(szNarrow, c.narrow) << c.name;
    }
  }
}

TEST(SettingsRecordTest, ClearZeroesAndCopyFromCopiesEveryField) {
  SettingsRecord a;
  std::memset(&a, 0x41, sizeof a);
  a.Clear();
  const auto* pb = reinterpret_cast<const unsigned char*>(&a);
  for (std::size_t i = 0; i < sizeof a; ++i) ASSERT_EQ(pb[i], 0) << "byte " << i;

  SettingsRecord b;
  b.Clear();
  std::u16string(u"addr").copy(b.wszDefaultEmailAddr, 4);
  std::u16string(u"acct").copy(b.DefaultEmailAccount, 4);
  std::u16string(u"123").copy(b.DefaultSMSphoneNumber, 3);
  a.CopyFrom(b);
  EXPECT_EQ(Wide(a.wszDefaultEmailAddr), u"addr");
  EXPECT_EQ(Wide(a.DefaultEmailAccount), u"acct");
  EXPECT_EQ(Wide(a.DefaultSMSphoneNumber), u"123");
}

}  // namespace
