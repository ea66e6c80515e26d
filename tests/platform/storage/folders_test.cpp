// Folders and names: CreateDirectoryW, DeleteFileW, MoveFileExW, GetFileAttributesW, and the
// special folders.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <string>

#include "device_root.h"
#include "pda/storage.h"

namespace {

using zaz::testing::DeviceRootTest;
using zaz::testing::ReadHostFile;
using zaz::testing::WriteHostFile;


class Folders : public DeviceRootTest {};

TEST_F(Folders, CreateDirectoryMakesOneLevelOnly) {
  EXPECT_TRUE(CreateDirectoryW(u"\\My Documents\\GeoNotes", nullptr));
  EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\GeoNotes\\"), FILE_ATTRIBUTE_DIRECTORY);
  SetLastError(0);
  EXPECT_FALSE(CreateDirectoryW(u"\\My Documents\\GeoNotes", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  SetLastError(0);
  EXPECT_FALSE(CreateDirectoryW(u"\\a\\b", nullptr));
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  EXPECT_EQ(GetFileAttributesW(u"\\a"), INVALID_FILE_ATTRIBUTES);
}

TEST_F(Folders, AttributesOfFilesFoldersAndMissingNames) {
  WriteHostFile(root_.HostPath("My Documents/n.txt"), "x");
  EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\n.txt"), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(GetFileAttributesW(u"\\"), FILE_ATTRIBUTE_DIRECTORY);
  chmod(root_.HostPath("My Documents/n.txt").c_str(), 0444);
  EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\n.txt"), FILE_ATTRIBUTE_READONLY);
  SetLastError(0);
  EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\none"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  SetLastError(0);
  EXPECT_EQ(GetFileAttributesW(u"\\none\\none"), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(Folders, DeleteFile) {
  WriteHostFile(root_.HostPath("gone.txt"), "x");
  EXPECT_TRUE(DeleteFileW(u"\\gone.txt"));
  EXPECT_NE(access(root_.HostPath("gone.txt").c_str(), F_OK), 0);
  SetLastError(0);
  EXPECT_FALSE(DeleteFileW(u"\\gone.txt"));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  SetLastError(0);
  EXPECT_FALSE(DeleteFileW(u"\\My Documents")) << "folders are not deleted as files";
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  WriteHostFile(root_.HostPath("narrow.txt"), "x");
  EXPECT_TRUE(DeleteFileA("\\narrow.txt"));
}

TEST_F(Folders, MoveReplacesTheTargetAtomically) {
  WriteHostFile(root_.HostPath("Program Files/Zazorudu/settings.ini"), "old");
  WriteHostFile(root_.HostPath("Program Files/Zazorudu/settings.tmp"), "new");
  // Keep the old file open: a reader that had it keeps the whole old content.
  std::ifstream reader(root_.HostPath("Program Files/Zazorudu/settings.ini"), std::ios::binary);
  ASSERT_TRUE(MoveFileExW(u"\\Program Files\\Zazorudu\\settings.tmp",
                          u"\\Program Files\\Zazorudu\\settings.ini",
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(ReadHostFile(root_.HostPath("Program Files/Zazorudu/settings.ini")), "new");
  EXPECT_NE(access(root_.HostPath("Program Files/Zazorudu/settings.tmp").c_str(), F_OK), 0);
  std::string seen;
  reader >> seen;
  EXPECT_EQ(seen, "old");
}

TEST_F(Folders, MoveWithoutReplaceKeepsAnExistingTarget) {
  WriteHostFile(root_.HostPath("a"), "a");
  WriteHostFile(root_.HostPath("b"), "b");
  SetLastError(0);
  EXPECT_FALSE(MoveFileExW(u"\\a", u"\\b", 0));
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  EXPECT_EQ(ReadHostFile(root_.HostPath("b")), "b");
  EXPECT_TRUE(MoveFileExA("\\a", "\\c", 0));
  EXPECT_EQ(ReadHostFile(root_.HostPath("c")), "a");
}

TEST_F(Folders, MoveErrors) {
  const struct {
    const char* name;
    std::u16string from, to;
    DWORD error;
  } cases[] = {
      {"missing source", u"\\none", u"\\x", ERROR_FILE_NOT_FOUND},
      {"missing source folder", u"\\none\\a", u"\\x", ERROR_PATH_NOT_FOUND},
      {"missing target folder", u"\\My Documents", u"\\none\\x", ERROR_PATH_NOT_FOUND},
      {"target escapes the root", u"\\My Documents", u"\\..\\x", ERROR_INVALID_NAME},
  };
  for (const auto& c : cases) {
    SetLastError(0);
    EXPECT_FALSE(MoveFileExW(c.from.c_str(), c.to.c_str(), MOVEFILE_REPLACE_EXISTING)) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
  }
}

TEST_F(Folders, SpecialFolderMyDocuments) {
  char16_t path[MAX_PATH];
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PERSONAL, FALSE));
  EXPECT_EQ(std::u16string(path), u"\\My Documents");

  ASSERT_EQ(rmdir(root_.HostPath("My Documents").c_str()), 0);
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PERSONAL, FALSE));
  ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_PERSONAL, TRUE));
  EXPECT_EQ(GetFileAttributesW(path), FILE_ATTRIBUTE_DIRECTORY);
  SetLastError(0);
  EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, 0x7777, TRUE));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
