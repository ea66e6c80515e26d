// The GeoNote file: name and header of the opening time, the save of a stand-in text source
// (same-minute replace), and saves that fail (folder, read-only folder, a write failing
// part-way, the rename) leaving no partial file, reporting failure and showing the error box.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <pda/testing/dialogs.h>
#include <pda/testing/kernel.h>
#include <pda/testing/user.h>

#include "device_root.h"
#include "geonotes/geonote_file.h"

namespace {

namespace fs = std::filesystem;

std::chrono::system_clock::time_point LocalInstant(int year, int month, int day, int hour,
                                                   int minute) {
  std::tm tm = {};
  tm.tm_year = year - 1900;
  tm.tm_mon = month - 1;
  tm.tm_mday = day;
  tm.tm_hour = hour;
  tm.tm_min = minute;
  tm.tm_sec = 59;
  return std::chrono::system_clock::from_time_t(timegm(&tm));
}

// The stand-in for the editor's stream-out: hands the note's text over in chunks of 7 bytes.
std::string g_noteText;
DWORD StreamStandIn(HWND, DWORD_PTR cookie, GeoNoteChunkWriter writer) {
  for (std::size_t at = 0; at < g_noteText.size(); at += 7) {
    std::string chunk = g_noteText.substr(at, 7);
    LONG written = -1;
    const DWORD error = writer(cookie, reinterpret_cast<LPBYTE>(chunk.data()),
                               static_cast<LONG>(chunk.size()), &written);
    if (error != 0) return error;
    if (written != static_cast<LONG>(chunk.size())) return ERROR_WRITE_FAULT;
  }
  return 0;
}

class GeoNoteFileTest : public zaz::testing::DeviceRootTest {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC", 1);
    tzset();
    pda::SetWallClockForTesting(LocalInstant(2009, 1, 9, 20, 41));
    MakeGeoNoteNames(47.6062095, -122.3320708, &names_);
  }
  void TearDown() override { pda::SetWallClockForTesting(std::nullopt); }

  DWORD Save(const std::string& text) {
    g_noteText = text;
    return WriteGeoNoteFile(names_, HWND{}, StreamStandIn);
  }
  // In a death test's child: exit 0 when the save failed.
  [[noreturn]] void SaveInChildWithFileLimit() {
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit = {16, 16};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(Save(std::string(64, 'x')) != ERROR_SUCCESS ? 0 : 1);
  }
  [[noreturn]] void SaveInChildAsUnprivilegedUser() {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(2);
    _exit(Save("new text") != ERROR_SUCCESS ? 0 : 1);
  }
  std::vector<std::string> Folder() {
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(root_.Host("My Documents/GeoNotes")))
      files.push_back(entry.path().filename());
    return files;
  }
  static constexpr char kNote[] = "My Documents/GeoNotes/GeoNote_09d-01m-2009y-t2041.txt";
  GeoNoteNames names_;
};

struct NameCase {
  const char* name;
  int year, month, day, hour, minute;
  const char16_t* path;
  const char16_t* stamp;
};

class GeoNoteNameTest : public GeoNoteFileTest, public ::testing::WithParamInterface<NameCase> {};

TEST_P(GeoNoteNameTest, NameAndHeaderCarryTheOpeningTime) {
  const NameCase& c = GetParam();
  pda::SetWallClockForTesting(LocalInstant(c.year, c.month, c.day, c.hour, c.minute));
  GeoNoteNames names;
  MakeGeoNoteNames(47.6062095, -122.3320708, &names);
  EXPECT_EQ(std::u16string(names.folder), u"\\My Documents\\GeoNotes");
  EXPECT_EQ(std::u16string(names.path), c.path);
  EXPECT_EQ(std::u16string(names.header), u"GeoNote\r\n" + std::u16string(c.stamp) +
                                              u"\r\nGPS Location:\r\n47.6062095,-122.3320708"
                                              u"\r\n\r\n\r\n");
}

INSTANTIATE_TEST_SUITE_P(
    Times, GeoNoteNameTest,
    ::testing::Values(
        NameCase{"Evening", 2009, 1, 9, 20, 41,
                 u"\\My Documents\\GeoNotes\\GeoNote_09d-01m-2009y-t2041.txt",
                 u"09d/01m/2009y @ 20:41"},
        NameCase{"SingleDigitsPadded", 2009, 3, 1, 9, 5,
                 u"\\My Documents\\GeoNotes\\GeoNote_01d-03m-2009y-t0905.txt",
                 u"01d/03m/2009y @ 09:05"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GeoNoteFileTest, ASaveInTheSameMinuteReplacesTheNoteWhole) {
  ASSERT_EQ(Save("first note, the longer of the two\r\n"), ERROR_SUCCESS);
  EXPECT_EQ(root_.Read(kNote), "first note, the longer of the two\r\n");
  ASSERT_EQ(Save("GeoNote\r\nsecond \xC3\xA9\r\n"), ERROR_SUCCESS);
  EXPECT_EQ(root_.Read(kNote), "GeoNote\r\nsecond \xC3\xA9\r\n");
  EXPECT_EQ(Folder(), std::vector<std::string>{"GeoNote_09d-01m-2009y-t2041.txt"});
}

// ---- failed saves ----------------------------------------------------------------------------
// Each leaves the earlier note of the same name as it was and nothing else in the folder.

TEST_F(GeoNoteFileTest, AFolderThatCannotBeMadeFailsTheSave) {
  fs::remove_all(root_.Host("My Documents"));
  root_.Write("My Documents", "a file where the folder should be");
  EXPECT_NE(Save("note"), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(root_.Read("My Documents"), "a file where the folder should be");
}

TEST_F(GeoNoteFileTest, AFailedRenameLeavesNoPartialFile) {
  fs::create_directories(root_.Host(std::string(kNote) + "/in the way"));
  EXPECT_NE(Save("note"), static_cast<DWORD>(ERROR_SUCCESS));
  EXPECT_EQ(Folder(), std::vector<std::string>{"GeoNote_09d-01m-2009y-t2041.txt"});
  EXPECT_TRUE(fs::is_directory(root_.Host(kNote)));
}

TEST_F(GeoNoteFileTest, AWriteFailingPartWayLeavesTheEarlierNote) {
  ASSERT_EQ(Save("earlier"), ERROR_SUCCESS);
  // A child whose files may grow to 16 bytes: the 64-byte note fails part-way at the host.
  EXPECT_EXIT(SaveInChildWithFileLimit(), ::testing::ExitedWithCode(0), "");
  EXPECT_EQ(root_.Read(kNote), "earlier");
  EXPECT_EQ(Folder(), std::vector<std::string>{"GeoNote_09d-01m-2009y-t2041.txt"});
}

TEST_F(GeoNoteFileTest, AReadOnlyFolderFailsTheSave) {
  ASSERT_EQ(Save("earlier"), ERROR_SUCCESS);
  // Root may write anywhere: the child drops to an unprivileged user first.
  for (const char* folder : {"", "My Documents", "My Documents/GeoNotes"})
    fs::permissions(root_.Host(folder), fs::perms::owner_all | fs::perms::group_read |
                                            fs::perms::group_exec | fs::perms::others_read |
                                            fs::perms::others_exec);
  fs::permissions(root_.Host("My Documents/GeoNotes"),
                  fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  EXPECT_EXIT(SaveInChildAsUnprivilegedUser(), ::testing::ExitedWithCode(0), "");
  fs::permissions(root_.Host("My Documents/GeoNotes"), fs::perms::owner_all);
  EXPECT_EQ(root_.Read(kNote), "earlier");
  EXPECT_EQ(Folder(), std::vector<std::string>{"GeoNote_09d-01m-2009y-t2041.txt"});
}

// ---- the error box ---------------------------------------------------------------------------

constexpr UINT kLookAtTheBox = WM_APP + 1;
std::optional<pda::testing::MessageBoxInfo> g_seenBox;

LRESULT EditorStandIn(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kLookAtTheBox) {
    g_seenBox = pda::testing::OpenMessageBox();
    if (g_seenBox) PostMessageW(g_seenBox->window, WM_KEYDOWN, VK_RETURN, 0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

TEST_F(GeoNoteFileTest, AFailedSaveShowsTheErrorBoxAndReportsFailure) {
  pda::testing::ChangeScreen(480, 640, 192);
  WNDCLASSW wc = {};
  wc.lpfnWndProc = EditorStandIn;
  wc.lpszClassName = u"GeoNoteEditorStandIn";
  RegisterClassW(&wc);
  HWND editor = CreateWindowExW(0, wc.lpszClassName, u"", WS_VISIBLE, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, HWND{}, HANDLE{},
                                HINSTANCE{}, nullptr);
  ASSERT_TRUE(editor);
  fs::create_directories(root_.Host(std::string(kNote) + "/in the way"));
  g_noteText = "note";
  g_seenBox.reset();
  PostMessageW(editor, kLookAtTheBox, 0, 0);
  EXPECT_FALSE(SaveGeoNote(names_, editor, StreamStandIn));
  ASSERT_TRUE(g_seenBox);
  EXPECT_EQ(g_seenBox->text, u"Could not create GeoNote file.");
  EXPECT_EQ(g_seenBox->caption, u"GeoNote Save Error");
  EXPECT_EQ(g_seenBox->type, 0u);
  DestroyWindow(editor);
  MSG msg;
  while (PeekMessageW(&msg, HWND{}, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

}  // namespace
