// Safe replacement of a file: DeviceCreateTempStream and ReplaceFileA.
//
// Sections: temporary files | resolving the replaced name | replacing
#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "kernel/unique_fd.h"
#include "pda/storage.h"
#include "storage/device_path.h"
#include "storage/host_errors.h"
#include "storage/host_open.h"

namespace pda {
namespace {

constexpr char kTemplateMark[] = "XXXXXX";
constexpr std::size_t kMarkLength = sizeof kTemplateMark - 1;

std::string FolderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
}

// ---- temporary files -----------------------------------------------------------------------

// Removes what an earlier temporary of the same template left behind (a crash between its
// creation and its rename). A link there is removed, never followed.
void RemoveLeftovers(const std::string& folder, const std::string& prefix,
                     const std::string& suffix) {
  DIR* dir = ::opendir(folder.c_str());
  if (dir == nullptr) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (name.size() == prefix.size() + kMarkLength + suffix.size() &&
        name.compare(0, prefix.size(), prefix) == 0 &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
      ::unlinkat(::dirfd(dir), name.c_str(), 0);
  }
  ::closedir(dir);
}

void FillRandom(char* mark) {
  static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
  unsigned char bytes[kMarkLength];
  std::size_t done = 0;
  while (done < sizeof bytes) {
    const ssize_t n = ::getrandom(bytes + done, sizeof bytes - done, 0);
    if (n > 0) done += static_cast<std::size_t>(n);
    else if (errno != EINTR) break;
  }
  for (std::size_t i = 0; i < kMarkLength; ++i) mark[i] = kDigits[bytes[i] % 36];
}

// ---- resolving the replaced name -----------------------------------------------------------

// The name a chain of symbolic links ends at (the name itself when it is no link); a dangling
// link gives the name it points to. ELOOP after 40 links, as the host does.
bool ResolveLinks(std::string path, std::string* resolved) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
      *resolved = path;
      return true;
    }
    char target[4096];
    const ssize_t n = ::readlink(path.c_str(), target, sizeof target - 1);
    if (n < 0) return false;
    target[n] = 0;
    path = target[0] == '/' ? std::string(target) : FolderOf(path) + "/" + target;
  }
  errno = ELOOP;
  return false;
}

// The access rights a new file gets: 0666 less the process's umask.
mode_t NewFileMode() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("Umask:", 0) == 0) return 0666 & ~static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  return 0644;
}

// ---- replacing -----------------------------------------------------------------------------

// Copies the replacement into a new private file beside the target, for a target on another
// file system (a rename cannot cross). Returns the copy's name, or empty with errno set.
std::string CopyBeside(int from, const std::string& target) {
  std::string name = target + "." + kTemplateMark + ".tmp";
  FillRandom(name.data() + target.size() + 1);
  DWORD ignored;
  UniqueFd to(OpenHostFile(name, {O_WRONLY | O_CREAT | O_EXCL, 0600}, &ignored));
  if (!to) return {};
  char buffer[65536];
  for (;;) {
    const ssize_t n = ::read(from, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n == 0) break;
    if (n < 0 || ::write(to.get(), buffer, static_cast<std::size_t>(n)) != n) {
      const int e = errno;
      ::unlink(name.c_str());
      errno = e;
      return {};
    }
  }
  if (::fsync(to.get()) != 0) {
    const int e = errno;
    ::unlink(name.c_str());
    errno = e;
    return {};
  }
  return name;
}

BOOL Replace(const std::string& replaced, const std::string& replacement) {
  std::string target;
  if (!ResolveLinks(replaced, &target)) return FailFromErrno(errno, ERROR_ACCESS_DENIED);
  DWORD error = ERROR_SUCCESS;
  UniqueFd from(OpenHostFile(replacement, {O_RDONLY | O_NOFOLLOW}, &error));
  if (!from) {
    SetLastError(error);
    return FALSE;
  }
  // The replacement takes the replaced file's access rights (and owner, where allowed).
  struct stat old {};
  if (::stat(target.c_str(), &old) == 0) {
    if (::fchmod(from.get(), old.st_mode & 07777) != 0) return FailFromErrno(errno, ERROR_ACCESS_DENIED);
    [[maybe_unused]] const int owned = ::fchown(from.get(), old.st_uid, old.st_gid);
  } else if (::fchmod(from.get(), NewFileMode()) != 0) {
    return FailFromErrno(errno, ERROR_ACCESS_DENIED);
  }
  if (::rename(replacement.c_str(), target.c_str()) != 0) {
    if (errno != EXDEV) return FailFromErrno(errno, ERROR_ACCESS_DENIED);
    const std::string copy = CopyBeside(from.get(), target);
    if (copy.empty()) return FailFromErrno(errno, ERROR_WRITE_FAULT);
    if (::chmod(copy.c_str(), old.st_mode ? old.st_mode & 07777 : NewFileMode()) != 0 ||
        ::rename(copy.c_str(), target.c_str()) != 0) {
      const int e = errno;
      ::unlink(copy.c_str());
      return FailFromErrno(e, ERROR_ACCESS_DENIED);
    }
    ::unlink(replacement.c_str());
  }
  // The rename is durable once the folder that holds the new name is on the disk.
  UniqueFd folder(::open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder) ::fsync(folder.get());
  return TRUE;
}

}  // namespace
}  // namespace pda

FILE* DeviceCreateTempStream(LPSTR pathTemplate) {
  char* mark = nullptr;  // the last mark: the template's folders may hold one too
  for (char* p = pathTemplate; p && (p = std::strstr(p, pda::kTemplateMark)) != nullptr; ++p)
    mark = p;
  if (mark == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::optional<std::string> host = pda::MapDevicePath(pathTemplate);
  if (!host) return nullptr;
  const auto hostMark = host->rfind(pda::kTemplateMark);
  const auto slash = host->find_last_of('/');
  if (hostMark == std::string::npos || (slash != std::string::npos && hostMark < slash)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const std::string folder = pda::FolderOf(*host);
  const std::string prefix = host->substr(slash + 1, hostMark - slash - 1);
  const std::string suffix = host->substr(hostMark + pda::kMarkLength);
  pda::RemoveLeftovers(folder, prefix, suffix);

  DWORD error = ERROR_SUCCESS;
  for (int attempt = 0; attempt < 16; ++attempt) {
    pda::FillRandom(mark);
    std::string name = *host;
    std::memcpy(name.data() + hostMark, mark, pda::kMarkLength);
    const int fd = pda::OpenHostFile(name, {O_WRONLY | O_CREAT | O_EXCL, 0600}, &error);
    if (fd < 0) {
      if (error == ERROR_FILE_EXISTS) continue;
      break;
    }
    FILE* stream = ::fdopen(fd, "w");
    if (stream == nullptr) {
      ::close(fd);
      ::unlink(name.c_str());
      error = ERROR_NOT_ENOUGH_MEMORY;
      break;
    }
    return stream;
  }
  std::memcpy(mark, pda::kTemplateMark, pda::kMarkLength);
  SetLastError(error);
  return nullptr;
}

BOOL ReplaceFileA(LPCSTR replaced, LPCSTR replacement, LPCSTR backup, DWORD flags, LPVOID,
                  LPVOID) {
  if (backup != nullptr || flags != 0) {
    SetLastError(ERROR_NOT_SUPPORTED);
    return FALSE;
  }
  const auto hostReplaced = pda::MapDevicePath(replaced);
  if (!hostReplaced) return FALSE;
  const auto hostReplacement = pda::MapDevicePath(replacement);
  if (!hostReplacement) return FALSE;
  return pda::Replace(*hostReplaced, *hostReplacement);
}
