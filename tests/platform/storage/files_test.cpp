// Files: CreateFileW dispositions, reading, writing, sizes, errors, and the stdio streams.
#include <gtest/gtest.h>

#include <ostream>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

#include "child_check.h"
#include "device_root.h"
#include "pda/owners.h"
#include "pda/storage.h"

namespace {

using zaz::testing::DeviceRootTest;
using zaz::testing::ReadHostFile;
using zaz::testing::WriteHostFile;

// A file handle closed at the end of the scope.
struct FileHandle : pda::UniqueKernelHandle {
  using pda::UniqueKernelHandle::UniqueHandle;
  bool valid() const { return get() != INVALID_HANDLE_VALUE; }
};

FileHandle Open(LPCWSTR path, DWORD access, DWORD disposition) {
  return FileHandle(CreateFileW(path, access, FILE_SHARE_READ, nullptr, disposition,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
}


class Files : public DeviceRootTest {};

TEST_F(Files, CreateWriteReadAndSize) {
  {
    FileHandle file = Open(u"\\My Documents\\note.txt", GENERIC_WRITE, CREATE_NEW);
    ASSERT_TRUE(file.valid());
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(file.get(), "47.6062095,-122.3320708", 23, &written, nullptr));
    EXPECT_EQ(written, 23u);
    EXPECT_TRUE(FlushFileBuffers(file.get()));
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(file.get(), &high), 23u);
    EXPECT_EQ(high, 0u);
  }
  EXPECT_EQ(ReadHostFile(root_.HostPath("My Documents/note.txt")), "47.6062095,-122.3320708");

  FileHandle file = Open(u"\\My Documents\\note.txt", GENERIC_READ, OPEN_EXISTING);
  ASSERT_TRUE(file.valid());
  char buffer[64] = {};
  DWORD read = 0;
  ASSERT_TRUE(ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(read, 23u);
  EXPECT_EQ(std::string(buffer, read), "47.6062095,-122.3320708");
  ASSERT_TRUE(ReadFile(file.get(), buffer, sizeof buffer, &read, nullptr));
  EXPECT_EQ(read, 0u) << "at the end";
}

struct DispositionCase {
  const char* name;
  bool exists;  // is "old" content there before?
  DWORD disposition;
  bool opens;
  DWORD lastError;        // after the call
  const char* content;    // the file's content after opening and closing (null: no file)
};
void PrintTo(const DispositionCase& c, std::ostream* os) { *os << c.name; }

class Dispositions : public DeviceRootTest, public ::testing::WithParamInterface<DispositionCase> {};

TEST_P(Dispositions, OpenCreateOrFailAsDocumented) {
  const DispositionCase& c = GetParam();
  const std::string host = root_.HostPath("My Documents/f.txt");
  if (c.exists) WriteHostFile(host, "old");
  SetLastError(12345);
  {
    FileHandle file = Open(u"\\My Documents\\f.txt", GENERIC_READ | GENERIC_WRITE, c.disposition);
    EXPECT_EQ(file.valid(), c.opens);
    EXPECT_EQ(GetLastError(), c.lastError);
  }
  if (c.content) EXPECT_EQ(ReadHostFile(host), c.content);
  else EXPECT_NE(access(host.c_str(), F_OK), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Storage, Dispositions,
    ::testing::Values(
        DispositionCase{"CreateNewMakesAFile", false, CREATE_NEW, true, ERROR_SUCCESS, ""},
        DispositionCase{"CreateNewOnExistingFails", true, CREATE_NEW, false, ERROR_FILE_EXISTS, "old"},
        DispositionCase{"CreateAlwaysMakesAFile", false, CREATE_ALWAYS, true, ERROR_SUCCESS, ""},
        DispositionCase{"CreateAlwaysTruncatesAndSaysSo", true, CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
        DispositionCase{"OpenExistingOnMissingFails", false, OPEN_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        DispositionCase{"OpenExistingKeepsContent", true, OPEN_EXISTING, true, ERROR_SUCCESS, "old"},
        DispositionCase{"OpenAlwaysMakesAFile", false, OPEN_ALWAYS, true, ERROR_SUCCESS, ""},
        DispositionCase{"OpenAlwaysKeepsContentAndSaysSo", true, OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "old"},
        DispositionCase{"TruncateExistingEmptiesIt", true, TRUNCATE_EXISTING, true, ERROR_SUCCESS, ""},
        DispositionCase{"TruncateExistingOnMissingFails", false, TRUNCATE_EXISTING, false, ERROR_FILE_NOT_FOUND, nullptr},
        DispositionCase{"UnknownDispositionIsRefused", false, 9, false, ERROR_INVALID_PARAMETER, nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(Files, MissingFolderOnTheWayIsPathNotFound) {
  SetLastError(0);
  EXPECT_FALSE(Open(u"\\No Such Folder\\x.txt", GENERIC_READ, OPEN_EXISTING).valid());
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST_F(Files, FolderCannotBeOpenedAsAFile) {
  SetLastError(0);
  EXPECT_FALSE(Open(u"\\My Documents", GENERIC_READ, OPEN_EXISTING).valid());
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(Files, WriteToReadOnlyHandleFails) {
  WriteHostFile(root_.HostPath("My Documents/r.txt"), "x");
  FileHandle file = Open(u"\\My Documents\\r.txt", GENERIC_READ, OPEN_EXISTING);
  DWORD written = 7;
  SetLastError(0);
  EXPECT_FALSE(WriteFile(file.get(), "y", 1, &written, nullptr));
  EXPECT_EQ(written, 0u);
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
}

TEST_F(Files, ClosedFileHandleIsStale) {
  const HANDLE file = CreateFileW(u"\\a", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  EXPECT_TRUE(CloseHandle(file));
  DWORD written;
  SetLastError(0);
  EXPECT_FALSE(WriteFile(file, "x", 1, &written, nullptr));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GetFileSize(file, nullptr), INVALID_FILE_SIZE);
}

// Root is not stopped by permission bits, so a write is made to fail through a parent that is
// a regular file, which stops everyone; the permission case runs only when it can fail.
TEST_F(Files, WriteIntoAFileAsIfAFolderFailsCleanly) {
  WriteHostFile(root_.HostPath("plain"), "not a folder");
  SetLastError(0);
  EXPECT_FALSE(Open(u"\\plain\\x.txt", GENERIC_WRITE, CREATE_ALWAYS).valid());
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
  SetLastError(0);
  EXPECT_EQ(DeviceOpenStream("\\plain\\x.txt", "wb"), nullptr);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

// As an unprivileged user: root would write through the folder's mode.
TEST_F(Files, WriteIntoAReadOnlyFolderFailsCleanly) {
  ASSERT_TRUE(CreateDirectoryW(u"\\locked", nullptr));
  ASSERT_EQ(chmod(root_.HostPath("locked").c_str(), 0555), 0);
  const std::string failure = zaz::testing::RunInChild(
      [] {
        SetLastError(0);
        if (Open(u"\\locked\\x.txt", GENERIC_WRITE, CREATE_ALWAYS).valid())
          return std::string("the file was created");
        if (GetLastError() != ERROR_ACCESS_DENIED)
          return "last error " + std::to_string(GetLastError());
        return std::string();
      },
      true, root_.host());
  EXPECT_EQ(failure, "");
}

// Opening never waits on what is not a regular file, and a file created new is never made
// through a link: the file the link names stays as it was.
TEST_F(Files, OnlyRegularFilesOpenAndNewFilesNeverFollowALink) {
  ASSERT_EQ(mkfifo(root_.HostPath("fifo").c_str(), 0600), 0);
  WriteHostFile(root_.HostPath("victim"), "victim");
  ASSERT_EQ(symlink(root_.HostPath("victim").c_str(), root_.HostPath("link").c_str()), 0);
  ASSERT_EQ(symlink(root_.HostPath("nowhere").c_str(), root_.HostPath("dangling").c_str()), 0);
  const struct {
    const char* name;
    LPCWSTR path;
    DWORD access, disposition;
    DWORD error;
  } handles[] = {
      {"a FIFO read", u"\\fifo", GENERIC_READ, OPEN_EXISTING, ERROR_ACCESS_DENIED},
      {"a FIFO without a reader written", u"\\fifo", GENERIC_WRITE, OPEN_EXISTING,
       ERROR_DEV_NOT_EXIST},
      {"new through a link", u"\\link", GENERIC_WRITE, CREATE_NEW, ERROR_FILE_EXISTS},
      {"new through a dangling link", u"\\dangling", GENERIC_WRITE, CREATE_NEW, ERROR_FILE_EXISTS},
  };
  for (const auto& c : handles) {
    SetLastError(0);
    EXPECT_FALSE(Open(c.path, c.access, c.disposition).valid()) << c.name;
    EXPECT_EQ(GetLastError(), c.error) << c.name;
  }
  const struct {
    const char* name;
    const char* path;
    const char* mode;
  } streams[] = {
      {"a FIFO read", "\\fifo", "rb"},
      {"a FIFO written", "\\fifo", "wb"},
      {"new through a link", "\\link", "wbx"},
      {"new through a dangling link", "\\dangling", "wbx"},
  };
  for (const auto& c : streams) {
    FILE* stream = DeviceOpenStream(c.path, c.mode);
    EXPECT_EQ(stream, nullptr) << c.name;
    if (stream) std::fclose(stream);
  }
  EXPECT_EQ(ReadHostFile(root_.HostPath("victim")), "victim");
  EXPECT_FALSE(std::ifstream(root_.HostPath("nowhere")).good());
}

// A stream read serves a whole-file read: a file over 1 MiB is refused before any byte is read.
TEST_F(Files, ReadStreamsRefuseFilesOverOneMebibyte) {
  const std::string path = root_.HostPath("big");
  WriteHostFile(path, "");
  for (const auto& [size, opens] : {std::pair{1 << 20, true}, std::pair{(1 << 20) + 1, false}}) {
    ASSERT_EQ(truncate(path.c_str(), size), 0);
    FILE* stream = DeviceOpenStream("\\big", "rb");
    EXPECT_EQ(stream != nullptr, opens) << size;
    if (stream) std::fclose(stream);
    else EXPECT_EQ(GetLastError(), ERROR_FILE_TOO_LARGE) << size;
  }
}

TEST_F(Files, StreamsWriteCommitAndReadBack) {
  FILE* out = DeviceOpenStream("\\Program Files\\Zazorudu\\settings.tmp", "wb");
  ASSERT_NE(out, nullptr);
  ASSERT_EQ(std::fputs("[Position]\r\n", out), 1);
  EXPECT_TRUE(DeviceCommitStream(out));
  EXPECT_EQ(ReadHostFile(root_.HostPath("Program Files/Zazorudu/settings.tmp")), "[Position]\r\n");
  std::fclose(out);

  FILE* in = DeviceOpenStream("Program Files\\Zazorudu\\settings.tmp", "rb");
  ASSERT_NE(in, nullptr);
  char line[32] = {};
  ASSERT_NE(std::fgets(line, sizeof line, in), nullptr);
  EXPECT_STREQ(line, "[Position]\r\n");
  std::fclose(in);
}

TEST_F(Files, StreamOnUtf8NameAndRefusals) {
  FILE* out = DeviceOpenStream("\\My Documents\\Caf\xC3\xA9.txt", "w");
  ASSERT_NE(out, nullptr);
  std::fclose(out);
  EXPECT_EQ(GetFileAttributesW(u"\\My Documents\\Caf\u00E9.txt"), FILE_ATTRIBUTE_NORMAL);

  const struct {
    const char* name;
    const char* path;
    const char* mode;
    DWORD error;
  } refusals[] = {
      {"missing file", "\\My Documents\\none.txt", "rb", ERROR_FILE_NOT_FOUND},
      {"escape", "\\..\\x", "rb", ERROR_INVALID_NAME},
      {"bad UTF-8", "\\My Documents\\\xC3", "w", ERROR_INVALID_NAME},
      {"bad mode", "\\My Documents\\x", "x", ERROR_INVALID_PARAMETER},
  };
  for (const auto& r : refusals) {
    SetLastError(0);
    EXPECT_EQ(DeviceOpenStream(r.path, r.mode), nullptr) << r.name;
    EXPECT_EQ(GetLastError(), r.error) << r.name;
  }
  EXPECT_FALSE(DeviceCommitStream(nullptr));
}

}  // namespace
