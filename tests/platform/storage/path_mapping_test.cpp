// Device paths -> host paths, and choosing the device root.
#include <gtest/gtest.h>

#include <ostream>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <vector>
#include <filesystem>
#include <optional>
#include <string>

#include "device_root.h"
#include "pda/storage.h"
#include "storage/device_root.h"
#include "pda/testing/kernel.h"

namespace {

using zaz::testing::DeviceRoot;
using zaz::testing::DeviceRootTest;

struct MappingCase {
  const char* name;
  std::u16string device;
  std::optional<std::string> relativeHost;  // nullopt: refused
  DWORD error;                              // for refused paths
};
void PrintTo(const MappingCase& c, std::ostream* os) { *os << c.name; }

class PathMapping : public DeviceRootTest, public ::testing::WithParamInterface<MappingCase> {};

TEST_P(PathMapping, MapsUnderTheRootOrRefuses) {
  const MappingCase& c = GetParam();
  SetLastError(0);
  const std::string host = pda::HostPathOf(c.device.c_str());
  if (c.relativeHost) {
    EXPECT_EQ(host, c.relativeHost->empty() ? root_.host() : root_.HostPath(*c.relativeHost));
  } else {
    EXPECT_EQ(host, "");
    EXPECT_EQ(GetLastError(), c.error);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Storage, PathMapping,
    ::testing::Values(
        MappingCase{"RootIsTheRootFolder", u"\\", "", 0},
        MappingCase{"MyDocuments", u"\\My Documents", "My Documents", 0},
        MappingCase{"NestedFile", u"\\My Documents\\GeoNotes\\x.txt", "My Documents/GeoNotes/x.txt", 0},
        MappingCase{"TrailingBackslash", u"\\My Documents\\", "My Documents", 0},
        MappingCase{"RepeatedBackslashes", u"\\\\My Documents\\\\x", "My Documents/x", 0},
        MappingCase{"NameWithSpaces", u"\\Program Files\\Zazorudu\\Zazorudu.exe", "Program Files/Zazorudu/Zazorudu.exe", 0},
        MappingCase{"RelativeIsFromTheRoot", u"My Documents\\a.txt", "My Documents/a.txt", 0},
        MappingCase{"DotIsSkipped", u"\\.\\My Documents\\.\\a", "My Documents/a", 0},
        MappingCase{"DotDotInsideTheRoot", u"\\My Documents\\..\\Program Files", "Program Files", 0},
        MappingCase{"NonAsciiNameIsUtf8", u"\\Caf\u00E9 \u6771", "Caf\xC3\xA9 \xE6\x9D\xB1", 0},
        MappingCase{"DotDotAboveTheRoot", u"\\..\\etc\\passwd", std::nullopt, ERROR_INVALID_NAME},
        MappingCase{"DotDotAboveTheRootLater", u"\\a\\..\\..\\x", std::nullopt, ERROR_INVALID_NAME},
        MappingCase{"RelativeDotDot", u"..", std::nullopt, ERROR_INVALID_NAME},
        MappingCase{"ForwardSlashInName", u"\\My Documents/../../x", std::nullopt, ERROR_INVALID_NAME},
        MappingCase{"DriveLetter", u"C:\\x", std::nullopt, ERROR_INVALID_NAME},
        MappingCase{"Wildcard", u"\\My Documents\\*.txt", std::nullopt, ERROR_INVALID_NAME},
        MappingCase{"ControlCharacter", u"\\a\tb", std::nullopt, ERROR_INVALID_NAME},
        MappingCase{"UnpairedSurrogate", u"\\a\xD800" u"b", std::nullopt, ERROR_INVALID_NAME},
        MappingCase{"Empty", u"", std::nullopt, ERROR_PATH_NOT_FOUND},
        MappingCase{"TooLong", u"\\" + std::u16string(300, u'a'), std::nullopt, ERROR_FILENAME_EXCED_RANGE}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DeviceRootTest, ProgramFolderAndDocumentsAreCreatedOnFirstUse) {
  EXPECT_EQ(GetFileAttributesW(u"\\Program Files\\Zazorudu"), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(GetFileAttributesW(u"\\My Documents"), FILE_ATTRIBUTE_DIRECTORY);
  struct stat info {};
  EXPECT_EQ(::stat(root_.HostPath("Program Files/Zazorudu").c_str(), &info), 0);
}

// Saves the variables the root is chosen from, and puts them back.
class RootEnvironment : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : kNames) {
      const char* value = std::getenv(name);
      saved_.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
    pda::SetDeviceRootForTesting("");  // choose from the environment again
  }
  void TearDown() override {
    for (std::size_t i = 0; i < std::size(kNames); ++i) {
      if (saved_[i]) setenv(kNames[i], saved_[i]->c_str(), 1);
      else unsetenv(kNames[i]);
    }
    pda::SetDeviceRootForTesting("");
  }
  static constexpr const char* kNames[] = {"PDA_ROOT", "XDG_DATA_HOME", "HOME"};
  std::vector<std::optional<std::string>> saved_;
  DeviceRoot scratch_;  // a folder to point the variables at
};

TEST_F(RootEnvironment, PdaRootWins) {
  setenv("PDA_ROOT", (scratch_.host() + "/device").c_str(), 1);
  setenv("XDG_DATA_HOME", (scratch_.host() + "/xdg").c_str(), 1);
  pda::SetDeviceRootForTesting("");
  EXPECT_EQ(pda::HostPathOf(u"\\"), scratch_.host() + "/device");
  EXPECT_TRUE(std::filesystem::is_directory(scratch_.host() + "/device/My Documents"));
}

TEST_F(RootEnvironment, XdgDataHomeIsTheDefault) {
  unsetenv("PDA_ROOT");
  setenv("XDG_DATA_HOME", (scratch_.host() + "/xdg").c_str(), 1);
  pda::SetDeviceRootForTesting("");
  EXPECT_EQ(pda::HostPathOf(u"\\"), scratch_.host() + "/xdg/zazorudu");
}

TEST_F(RootEnvironment, HomeIsTheLastResort) {
  unsetenv("PDA_ROOT");
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", scratch_.host().c_str(), 1);
  pda::SetDeviceRootForTesting("");
  EXPECT_EQ(pda::HostPathOf(u"\\x"), scratch_.host() + "/.local/share/zazorudu/x");
}

TEST_F(RootEnvironment, EmptyPdaRootIsAProblemAndCallsFail) {
  setenv("PDA_ROOT", "", 1);
  pda::SetDeviceRootForTesting("");
  SetLastError(0);
  EXPECT_EQ(CreateFileW(u"\\a.txt", GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr),
            INVALID_HANDLE_VALUE);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(GetFileAttributesW(u"\\"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(pda::DeviceRootProblem().value_or(""), "it is empty");
}

TEST_F(RootEnvironment, UncreatableRootTakenFromHomeNamesItsSource) {
  const std::string file = scratch_.HostPath("plain-file");
  std::fclose(std::fopen(file.c_str(), "w"));
  unsetenv("PDA_ROOT");
  unsetenv("XDG_DATA_HOME");
  setenv("HOME", file.c_str(), 1);  // a folder inside a file cannot exist
  pda::SetDeviceRootForTesting("");
  EXPECT_EQ(pda::HostPathOf(u"\\"), "");
  const std::string why = pda::DeviceRootProblem().value_or("");
  EXPECT_NE(why.find(file + "/.local/share/zazorudu (taken from HOME)"), std::string::npos) << why;
}

}  // namespace
