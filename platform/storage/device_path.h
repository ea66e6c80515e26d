// Device paths -> host paths under the device root.
//
// "\My Documents\GeoNotes\x.txt" is <root>/My Documents/GeoNotes/x.txt. "\" is the root; a
// path without the leading backslash is taken from the root too; a trailing backslash and
// repeated backslashes are allowed. "." is skipped and ".." goes up, but never above the root.
// Characters the device does not allow in names (/ : * ? " < > | and control characters) are
// refused with ERROR_INVALID_NAME, so no host path can be smuggled in.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "pda/types.h"

namespace pda {

// The host path, or nullopt with the last error set.
std::optional<std::string> MapDevicePath(LPCWSTR devicePath);
// The same for narrow (UTF-8) device paths.
std::optional<std::string> MapDevicePath(LPCSTR devicePath);

}  // namespace pda
