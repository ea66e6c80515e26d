// Opening host files for the device's file calls, one way for handles and streams alike.
//
// Every open is non-blocking (a FIFO or a device never holds the caller up) and is kept only when
// it reaches a regular file. An exclusive creation never follows a symbolic link. A file that is
// there but cannot be read is told on standard error, once per refused open, with the reason.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "pda/types.h"

namespace pda {

// Streams opened for reading serve whole-file reads: larger files are refused.
constexpr std::int64_t kMaxWholeFileReadBytes = 1 << 20;

struct HostOpen {
  int flags;                   // O_RDONLY / O_WRONLY / O_RDWR with O_CREAT, O_EXCL, O_TRUNC...
  mode_t createMode = 0666;    // for O_CREAT, before the umask
  bool wholeFileRead = false;  // refuse a file over kMaxWholeFileReadBytes
};

// The open descriptor (the caller's to close), or -1 with *error set to the device's last-error
// value.
int OpenHostFile(const std::string& path, const HostOpen& how, DWORD* error);

}  // namespace pda
