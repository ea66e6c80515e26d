// The Profile store: the file grammar on annotated fixture files, the writer's layout, values
// and limits, the dirty flag, and writing that never damages the old file.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <random>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "child_check.h"
#include "device_root.h"
#include "settings/profile_store.h"
#include "settings/profile_table.h"

namespace {

constexpr char kDevicePath[] = "\\store.ini";
constexpr char kHostPath[] = "store.ini";
constexpr char kWrittenDevicePath[] = "\\written.ini";
constexpr char kWrittenHostPath[] = "written.ini";

std::string ReadHostFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string Get(ProfileStore* pStore, const char* section, const char* key, int* pResult = nullptr,
                DWORD cbOut = 0) {
  static char szValue[4096];
  szValue[0] = 'X';  // ProfileGet must overwrite it in every case
  const int nResult = ProfileGet(pStore, section, key, szValue, cbOut);
  if (pResult != nullptr) *pResult = nResult;
  return szValue;
}

// Splits "a\tb\tc" into its fields.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::string::size_type start = 0;
  for (;;) {
    const auto tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

std::string Unbar(const std::string& field) { return field.substr(1, field.size() - 2); }

// Writes "[S]" with the value n and a long pad, through a fresh store.
int WriteNumbered(int n) {
  ProfileStore* pStore = nullptr;
  if (ProfileOpen(&pStore, kDevicePath, TRUE) != 0) return -1;
  ProfileSet(pStore, "S", "n", std::to_string(n).c_str(), 0);
  ProfileSet(pStore, "S", "pad", std::string(64 * 1024, 'p').c_str(), 0);
  const int nResult = ProfileWrite(pStore, nullptr);
  pStore->fDirty = FALSE;
  ProfileClose(pStore);
  return nResult;
}

std::string Numbered(int n) {
  return "[S]\r\nn=" + std::to_string(n) + "\r\npad=" + std::string(64 * 1024, 'p') + "\r\n";
}

// Temporary files in a folder.
std::vector<std::string> TempNames(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    const std::string name = entry.path().filename();
    if (name.find(".tmp") != std::string::npos) names.push_back(name);
  }
  return names;
}

class ProfileStoreTest : public ::testing::Test {
 protected:
  zaz::testing::DeviceRoot root_;
};

// ---- the grammar, on annotated fixture files ----------------------------------------------

class ProfileFixtureTest : public ProfileStoreTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(ProfileFixtureTest, ReadsTheEntriesAndWritesTheExpectedLines) {
  const std::string name = GetParam();
  const std::string data = std::string(ZAZ_SETTINGS_DATA_DIR) + "/" + name;
  root_.Write(kHostPath, ReadHostFile(data + ".ini"));

  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, FALSE), 0);
  ASSERT_NE(pStore, nullptr);
  EXPECT_FALSE(pStore->fDirty) << "reading never leaves the store dirty";

  std::ifstream expected(data + ".expected");
  ASSERT_TRUE(expected) << data << ".expected";
  std::string line;
  std::string written;
  int cChecks = 0;
  while (std::getline(expected, line)) {
    if (line.empty() || line[0] == ';') continue;
    const auto fields = Fields(line);
    int nResult = 0;
    if (fields[0] == "get") {
      ASSERT_EQ(fields.size(), 4u) << line;
      EXPECT_EQ(Get(pStore, fields[1].c_str(), fields[2].c_str(), &nResult), Unbar(fields[3]))
          << "[" << fields[1] << "] " << fields[2];
      EXPECT_EQ(nResult, 0) << line;
    } else if (fields[0] == "miss") {
      ASSERT_EQ(fields.size(), 3u) << line;
      EXPECT_EQ(Get(pStore, fields[1].c_str(), fields[2].c_str(), &nResult), "") << line;
      EXPECT_EQ(nResult, -1) << line;
    } else {
      ASSERT_EQ(fields[0], "write") << line;
      written += Unbar(fields[1]) + "\r\n";
    }
    ++cChecks;
  }
  ASSERT_GT(cChecks, 0);

  ASSERT_EQ(ProfileWrite(pStore, kWrittenDevicePath), 0);
  EXPECT_EQ(root_.Read(kWrittenHostPath), written);
  ProfileClose(pStore);

  // What was written reads back and writes the same lines, except where the first write
  // normalised the input (repeated headers of interleaved sections, the kept blanks of an
  // unterminated last line); one generation later the layout is settled in every case.
  ASSERT_EQ(ProfileOpen(&pStore, kWrittenDevicePath, FALSE), 0);
  ASSERT_EQ(ProfileWrite(pStore, "\\gen2.ini"), 0);
  ProfileClose(pStore);
  ASSERT_EQ(ProfileOpen(&pStore, "\\gen2.ini", FALSE), 0);
  ASSERT_EQ(ProfileWrite(pStore, "\\gen3.ini"), 0);
  ProfileClose(pStore);
  const bool fNormalised =
      name == "interleaved" || name == "empty_section_later" || name == "trimming_last_line";
  if (!fNormalised) {
    EXPECT_EQ(root_.Read("gen2.ini"), written);
  }
  EXPECT_EQ(root_.Read("gen3.ini"), root_.Read("gen2.ini"));
}

INSTANTIATE_TEST_SUITE_P(Grammar, ProfileFixtureTest,
                         ::testing::Values("trimming", "trimming_last_line", "key_lines",
                                           "sections", "duplicates", "interleaved", "crlf",
                                           "empty_section_later"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           return std::string(info.param);
                         });

// Interleaved sections repeat in the first file; reading that back groups them, after which
// the layout no longer changes.
TEST_F(ProfileStoreTest, InterleavedSectionsReadBackToTheSameValuesAndSettle) {
  root_.Write(kHostPath, "[A]\na1=1\n[B]\nb1=2\n[A]\na2=3\n");
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, FALSE), 0);
  ASSERT_EQ(ProfileWrite(pStore, kWrittenDevicePath), 0);
  ProfileClose(pStore);

  ASSERT_EQ(ProfileOpen(&pStore, kWrittenDevicePath, FALSE), 0);
  EXPECT_EQ(Get(pStore, "A", "a1"), "1");
  EXPECT_EQ(Get(pStore, "A", "a2"), "3");
  EXPECT_EQ(Get(pStore, "B", "b1"), "2");
  ASSERT_EQ(ProfileWrite(pStore, "\\again.ini"), 0);
  ProfileClose(pStore);
  EXPECT_EQ(root_.Read("again.ini"), "[A]\r\na1=1\r\na2=3\r\n[B]\r\nb1=2\r\n");
}

TEST_F(ProfileStoreTest, NulByteEndsTheText) {
  root_.Write(kHostPath, std::string("[S]\nkey=val\0ue\nafter=1\n", 24));
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, FALSE), 0);
  EXPECT_EQ(Get(pStore, "S", "key"), "val");
  int nResult = 0;
  Get(pStore, "S", "after", &nResult);
  EXPECT_EQ(nResult, -1);
  ProfileClose(pStore);
}

TEST_F(ProfileStoreTest, MissingFileGivesAnEmptyCleanStore) {
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, "\\absent.ini", FALSE), 0);
  ASSERT_NE(pStore, nullptr);
  int nResult = 0;
  EXPECT_EQ(Get(pStore, "EMAIL", "wszDefaultEmailAddr", &nResult), "");
  EXPECT_EQ(nResult, -1);
  EXPECT_EQ(ProfileRead(pStore, "\\absent.ini"), -1);
  ProfileClose(pStore);
  EXPECT_FALSE(root_.Exists("absent.ini")) << "closing a clean store writes nothing";
}

// ---- values --------------------------------------------------------------------------------

TEST_F(ProfileStoreTest, GetCutsToTheBufferSize) {
  struct Case {
    const char* name;
    const char* value;
    DWORD cbOut;
    const char* expected;
  };
  const Case cases[] = {
      {"longer value is cut to size - 1", "abcdef", 4, "abc"},
      {"value of size - 1 is whole", "abc", 4, "abc"},
      {"value of exactly size is cut", "abcd", 4, "abc"},
      {"size 1 gives the empty string", "abc", 1, ""},
      {"size 0 means no limit", "abcdef", 0, "abcdef"},
  };
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, nullptr, TRUE), 0);
  for (const Case& c : cases) {
    ASSERT_EQ(ProfileSet(pStore, "S", "k", c.value, 0), 0);
    char szOut[16];
    std::memset(szOut, 'X', sizeof szOut);
    EXPECT_EQ(ProfileGet(pStore, "S", "k", szOut, c.cbOut), 0) << c.name;
    EXPECT_STREQ(szOut, c.expected) << c.name;
    if (c.cbOut != 0) {
      EXPECT_EQ(szOut[c.cbOut], 'X') << c.name << ": wrote past the buffer";
    }
  }
  ProfileClose(pStore);
}

TEST_F(ProfileStoreTest, SetTakesTheGivenLengthOrTheWholeString) {
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, nullptr, TRUE), 0);
  EXPECT_EQ(ProfileSet(pStore, "S", "part", "abcdef", 3), 0);
  EXPECT_EQ(ProfileSet(pStore, "S", "whole", "abcdef", 0), 0);
  EXPECT_EQ(Get(pStore, "S", "part"), "abc");
  EXPECT_EQ(Get(pStore, "S", "whole"), "abcdef");
  ProfileClose(pStore);
}

TEST_F(ProfileStoreTest, NamesAreCaseSensitiveAndKeptApartBySection) {
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, nullptr, TRUE), 0);
  ProfileSet(pStore, "S", "Key", "upper", 0);
  ProfileSet(pStore, "S", "key", "lower", 0);
  ProfileSet(pStore, "T", "key", "other section", 0);
  // "ab"+"c" and "a"+"bc" have the same bytes without the separator.
  ProfileSet(pStore, "ab", "c", "first", 0);
  ProfileSet(pStore, "a", "bc", "second", 0);
  EXPECT_EQ(Get(pStore, "S", "Key"), "upper");
  EXPECT_EQ(Get(pStore, "S", "key"), "lower");
  EXPECT_EQ(Get(pStore, "T", "key"), "other section");
  EXPECT_EQ(Get(pStore, "ab", "c"), "first");
  EXPECT_EQ(Get(pStore, "a", "bc"), "second");
  EXPECT_EQ(pStore->cEntries, 5);
  ProfileClose(pStore);
}

TEST_F(ProfileStoreTest, ReplacingAValueKeepsItsPlaceInTheFile) {
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, TRUE), 0);
  ProfileSet(pStore, "S", "first", "1", 0);
  ProfileSet(pStore, "S", "second", "2", 0);
  ProfileSet(pStore, "S", "first", "one", 0);
  EXPECT_EQ(pStore->cEntries, 2);
  ASSERT_EQ(ProfileClose(pStore), 0);
  EXPECT_EQ(root_.Read(kHostPath), "[S]\r\nfirst=one\r\nsecond=2\r\n");
}

TEST_F(ProfileStoreTest, HighBytesHashAsNegativeNumbers) {
  // djb2 with signed bytes: 0xFF adds -1, 0x80 adds -128.
  const char key[] = {'\xFF', '\0', '\x80', '\0'};
  DWORD h = 5381;
  h = h * 33 + static_cast<DWORD>(-1);
  h = h * 33 + 0;
  h = h * 33 + static_cast<DWORD>(-128);
  h = h * 33 + 0;
  EXPECT_EQ(ProfileHash(key, 4), h);
  EXPECT_EQ(ProfileHash("", 0), 5381u);
}

TEST_F(ProfileStoreTest, HighBytesAreOrdinaryInNamesAndValues) {
  const char section[] = "\xC3\xA9t\xC3\xA9";  // "été" in UTF-8
  const char key[] = "\x80\xFF";
  const char value[] = "\xE2\x82\xAC 5";
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, TRUE), 0);
  ASSERT_EQ(ProfileSet(pStore, section, key, value, 0), 0);
  ASSERT_EQ(ProfileClose(pStore), 0);
  EXPECT_EQ(root_.Read(kHostPath), std::string("[") + section + "]\r\n" + key + "=" + value + "\r\n");

  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, FALSE), 0);
  EXPECT_EQ(Get(pStore, section, key), value);
  ProfileClose(pStore);
}

// ---- limits --------------------------------------------------------------------------------

TEST_F(ProfileStoreTest, NamesOverTheLimitAreRefusedNeverCut) {
  const std::string section(100, 's');
  const std::string keyAtLimit(153, 'k');  // 100 + 153 = 253 bytes
  const std::string keyOver(154, 'k');     // 254 bytes
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, nullptr, TRUE), 0);
  EXPECT_EQ(ProfileSet(pStore, section.c_str(), keyAtLimit.c_str(), "v", 0), 0);
  EXPECT_EQ(Get(pStore, section.c_str(), keyAtLimit.c_str()), "v");
  EXPECT_EQ(ProfileSet(pStore, section.c_str(), keyOver.c_str(), "w", 0), -1);
  int nResult = 0;
  EXPECT_EQ(Get(pStore, section.c_str(), keyOver.c_str(), &nResult), "");
  EXPECT_EQ(nResult, -1);
  EXPECT_EQ(Get(pStore, section.c_str(), keyOver.substr(0, 153).c_str()), "v")
      << "the refused name must not have replaced a shorter one";
  EXPECT_EQ(pStore->cEntries, 1);
  ProfileClose(pStore);
}

TEST_F(ProfileStoreTest, FileLinesOverTheNameLimitAreIgnored) {
  const std::string longKey(260, 'k');
  root_.Write(kHostPath, "[S]\nbefore=1\n" + longKey + "=x\nafter=2\n");
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, FALSE), 0);
  EXPECT_EQ(pStore->cEntries, 2);
  EXPECT_EQ(Get(pStore, "S", "before"), "1");
  EXPECT_EQ(Get(pStore, "S", "after"), "2");
  ProfileClose(pStore);
}

TEST_F(ProfileStoreTest, LongValuesAndManyEntriesSpanBlocks) {
  // 3000 entries of ~40 bytes each fill several 16384-byte blocks.
  const std::string longValue(100000, 'v');
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, TRUE), 0);
  for (int i = 0; i < 3000; ++i) {
    const std::string key = "key" + std::to_string(i);
    ASSERT_EQ(ProfileSet(pStore, "S", key.c_str(), std::to_string(i * 7).c_str(), 0), 0);
  }
  ASSERT_EQ(ProfileSet(pStore, "S", "long", longValue.c_str(), 0), 0);
  for (int i = 0; i < 3000; i += 97) {
    EXPECT_EQ(Get(pStore, "S", ("key" + std::to_string(i)).c_str()), std::to_string(i * 7));
  }
  ASSERT_EQ(ProfileClose(pStore), 0);

  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, FALSE), 0);
  EXPECT_EQ(pStore->cEntries, 3001);
  EXPECT_EQ(Get(pStore, "S", "key2999"), std::to_string(2999 * 7));
  std::string got(longValue.size() + 1, '\0');
  ASSERT_EQ(ProfileGet(pStore, "S", "long", got.data(), 0), 0);
  EXPECT_EQ(got.c_str(), longValue);
  ProfileClose(pStore);
}

TEST_F(ProfileStoreTest, OrderNumbersStayUniqueAtTheEntryLimit) {
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, nullptr, TRUE), 0);
  for (int i = 0; i < PROFILE_MAX_ENTRIES; ++i) {
    ASSERT_EQ(ProfileSet(pStore, "S", std::to_string(i).c_str(), "v", 0), 0) << i;
  }
  EXPECT_EQ(ProfileSet(pStore, "S", "one too many", "v", 0), -1);
  EXPECT_EQ(ProfileSet(pStore, "S", "0", "replaced", 0), 0) << "known pairs can still change";
  EXPECT_EQ(Get(pStore, "S", "0"), "replaced");
  EXPECT_EQ(pStore->cEntries, PROFILE_MAX_ENTRIES);
  ProfileClose(pStore);
}

// ---- binding, dirty flag, writing -----------------------------------------------------------

TEST_F(ProfileStoreTest, CreateOnlyBindsTheNameWithoutReading) {
  root_.Write(kHostPath, "[S]\nold=1\n");
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, TRUE), 0);
  int nResult = 0;
  Get(pStore, "S", "old", &nResult);
  EXPECT_EQ(nResult, -1);
  EXPECT_STREQ(pStore->pszFileName, kDevicePath);
  ProfileSet(pStore, "S", "new", "2", 0);
  ProfileClose(pStore);
  EXPECT_EQ(root_.Read(kHostPath), "[S]\r\nnew=2\r\n") << "the old contents are dropped";
}

TEST_F(ProfileStoreTest, SetFileNameKeepsTheBoundNameForNullOrTheSameName) {
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, "\\a.ini", TRUE), 0);
  LPSTR pszBound = pStore->pszFileName;
  EXPECT_EQ(ProfileSetFileName(pStore, nullptr), 0);
  EXPECT_EQ(pStore->pszFileName, pszBound);
  EXPECT_EQ(ProfileSetFileName(pStore, "\\a.ini"), 0);
  EXPECT_EQ(pStore->pszFileName, pszBound);
  EXPECT_EQ(ProfileSetFileName(pStore, "\\b.ini"), 0);
  EXPECT_STREQ(pStore->pszFileName, "\\b.ini");
  ProfileClose(pStore);
}

TEST_F(ProfileStoreTest, ClosingACleanStoreLeavesAHandEditedFileAlone) {
  const std::string handEdited = "; my notes\n[S]\n  key = value  \n";
  root_.Write(kHostPath, handEdited);
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, FALSE), 0);
  EXPECT_EQ(Get(pStore, "S", "key"), "value");
  ProfileClose(pStore);
  EXPECT_EQ(root_.Read(kHostPath), handEdited);
}

TEST_F(ProfileStoreTest, DirtyAfterSetCleanAfterWrite) {
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, kDevicePath, TRUE), 0);
  EXPECT_FALSE(pStore->fDirty);
  ProfileSet(pStore, "S", "k", "v", 0);
  EXPECT_TRUE(pStore->fDirty);
  ASSERT_EQ(ProfileWrite(pStore, nullptr), 0);
  EXPECT_FALSE(pStore->fDirty);
  EXPECT_EQ(root_.Read(kHostPath), "[S]\r\nk=v\r\n");
  ProfileClose(pStore);
}

TEST_F(ProfileStoreTest, AnEmptyStoreWritesAnEmptyFile) {
  ProfileStore* pStore = nullptr;
  ASSERT_EQ(ProfileOpen(&pStore, nullptr, TRUE), 0);
  ASSERT_EQ(ProfileWrite(pStore, kDevicePath), 0);
  EXPECT_TRUE(root_.Exists(kHostPath));
  EXPECT_EQ(root_.Read(kHostPath), "");
  ProfileClose(pStore);
}

TEST_F(ProfileStoreTest, UnwritableTargetsFailAndKeepTheStoreDirty) {
  struct Case {
    const char* name;
    const char* devicePath;
    const char* blockerFile;  // a regular file standing where a folder is needed, or null
    const char* blockerDir;   // a folder standing where the file goes, or null
  };
  const Case cases[] = {
      {"parent path is a regular file", "\\plain\\s.ini", "plain", nullptr},
      {"target is a folder", "\\folder.ini", nullptr, "folder.ini"},
      {"folder does not exist", "\\missing\\s.ini", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    if (c.blockerFile != nullptr) root_.Write(c.blockerFile, "not a folder");
    if (c.blockerDir != nullptr) std::filesystem::create_directories(root_.Host(c.blockerDir));
    ProfileStore* pStore = nullptr;
    ASSERT_EQ(ProfileOpen(&pStore, c.devicePath, TRUE), 0);
    ProfileSet(pStore, "S", "k", "v", 0);
    EXPECT_EQ(ProfileWrite(pStore, nullptr), -1) << c.name;
    EXPECT_TRUE(pStore->fDirty) << c.name;
    EXPECT_EQ(ProfileClose(pStore), 0) << c.name;
    if (c.blockerFile != nullptr) {
      EXPECT_EQ(root_.Read(c.blockerFile), "not a folder") << c.name;
    }
    if (c.blockerDir != nullptr) {
      EXPECT_TRUE(std::filesystem::is_directory(root_.Host(c.blockerDir))) << c.name;
      EXPECT_EQ(TempNames(root_.host()), std::vector<std::string>{})
          << c.name << ": the temporary file must be removed";
    }
  }
}

TEST_F(ProfileStoreTest, EveryFailedWriteLeavesTheOldFileWholeAndNoTemporaryFile) {
  struct Case {
    const char* name;
    bool unprivileged;
    std::function<void()> fault;  // run in the child before the write
  };
  const std::string folder = root_.host();
  const Case cases[] = {
      {"the disk fills up", false,
       [] {
         signal(SIGXFSZ, SIG_IGN);
         rlimit limit{16, 16};
         setrlimit(RLIMIT_FSIZE, &limit);
       }},
      {"the folder cannot be written", true, [folder] { chmod(folder.c_str(), 0555); }},
  };
  for (const Case& c : cases) {
    root_.Write(kHostPath, Numbered(1));
    const std::string failure = zaz::testing::RunInChild(
        [&] {
          c.fault();
          return WriteNumbered(2) == -1 ? std::string() : std::string("the write succeeded");
        },
        c.unprivileged, folder);
    chmod(folder.c_str(), 0755);
    EXPECT_EQ(failure, "") << c.name;
    EXPECT_EQ(root_.Read(kHostPath), Numbered(1)) << c.name;
    EXPECT_EQ(TempNames(folder), std::vector<std::string>{}) << c.name;
  }
}

// The new file takes the old one's place as it was: its access rights, and a link to it stays a
// link to the same (now new) file, in another folder too.
TEST_F(ProfileStoreTest, TheNewFileKeepsTheOldOnesRightsAndLink) {
  const std::string path = root_.HostPath(kHostPath);
  const std::string elsewhere = root_.HostPath("My Documents/real.ini");
  const mode_t umaskNow = umask(022);
  struct Case {
    const char* name;
    std::function<void()> before;
    std::string checked;  // the file whose rights are checked
    mode_t mode;
  };
  const Case cases[] = {
      {"a private file stays private", [&] { root_.Write(kHostPath, "old"); chmod(path.c_str(), 0600); }, path, 0600},
      {"a group-readable file stays so", [&] { root_.Write(kHostPath, "old"); chmod(path.c_str(), 0640); }, path, 0640},
      {"a new file gets the default rights", [] {}, path, 0644},
      {"a link's file is replaced", [&] {
         root_.Write("My Documents/real.ini", "old");
         chmod(elsewhere.c_str(), 0600);
         symlink(elsewhere.c_str(), path.c_str());
       }, elsewhere, 0600},
  };
  for (const Case& c : cases) {
    std::filesystem::remove(path);
    c.before();
    ASSERT_EQ(WriteNumbered(7), 0) << c.name;
    struct stat info {};
    ASSERT_EQ(stat(c.checked.c_str(), &info), 0) << c.name;
    EXPECT_EQ(info.st_mode & 07777, c.mode) << c.name;
    EXPECT_EQ(ReadHostFile(c.checked), Numbered(7)) << c.name;
    EXPECT_EQ(std::filesystem::is_symlink(path), c.checked != path) << c.name;
  }
  umask(umaskNow);
}

// Names planted in the folder (links to a file outside it, leftovers of a crashed write) are
// never written through; leftovers are removed.
TEST_F(ProfileStoreTest, PlantedLinksAreNeverFollowedAndLeftoversGo) {
  root_.Write("victim", "victim");
  const std::string victim = root_.HostPath("victim");
  const std::string planted[] = {"store.ini.tmp", "store.ini.abc123.tmp", "store.ini.XXXXXX.tmp",
                                 "store.ini.new"};
  for (const std::string& name : planted)
    ASSERT_EQ(symlink(victim.c_str(), root_.HostPath(name).c_str()), 0) << name;
  root_.Write("store.ini.q1w2e3.tmp", "left by a crash");
  ASSERT_EQ(symlink(root_.HostPath("made").c_str(), root_.HostPath("store.ini.zzzzzz.tmp").c_str()), 0);

  ASSERT_EQ(WriteNumbered(3), 0);
  EXPECT_EQ(root_.Read(kHostPath), Numbered(3));
  EXPECT_EQ(root_.Read("victim"), "victim");
  EXPECT_FALSE(root_.Exists("made"));
  for (const char* gone : {"store.ini.abc123.tmp", "store.ini.q1w2e3.tmp", "store.ini.zzzzzz.tmp"})
    EXPECT_FALSE(std::filesystem::is_symlink(root_.Host(gone)) || root_.Exists(gone)) << gone;
}

// kill -9 at any moment of a run of writes leaves the old file or the new one whole. ZAZ_SAVE_KILLS
// sets the number of kills (20 by default; 200 or more by hand).
TEST_F(ProfileStoreTest, AKillAtAnyMomentLeavesTheOldOrTheNewFileWhole) {
  const char* env = std::getenv("ZAZ_SAVE_KILLS");
  const int kills = env && *env ? std::atoi(env) : 20;
  std::mt19937 random(12345);
  ASSERT_EQ(WriteNumbered(0), 0);
  for (int kill = 0; kill < kills; ++kill) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      for (int n = 1;; ++n) WriteNumbered(n);
    }
    usleep(std::uniform_int_distribution<useconds_t>(0, 20000)(random));
    ::kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    const std::string text = root_.Read(kHostPath);
    const int n = text.compare(0, 7, "[S]\r\nn=") == 0 ? std::atoi(text.c_str() + 7) : -1;
    ASSERT_TRUE(text == Numbered(n)) << "after kill " << kill << ": " << text.size()
                                     << " bytes, starting " << text.substr(0, 12);
  }
}

}  // namespace
