// Host errno values as the device's last-error values.
#pragma once

#include <string>

#include "pda/types.h"

namespace pda {

// `fallback` stands for errors the device has no closer value for (a read or write fault, say).
DWORD ErrorFromErrno(int error, DWORD fallback);

// ENOENT as the device tells it: ERROR_FILE_NOT_FOUND when the folder exists but the name does
// not, ERROR_PATH_NOT_FOUND when a folder on the way is missing.
DWORD NotFoundError(const std::string& hostPath);

// Sets the last error from errno and returns FALSE, for the usual failure path.
BOOL FailFromErrno(int error, DWORD fallback);

}  // namespace pda
