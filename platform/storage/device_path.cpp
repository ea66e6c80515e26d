// Mapping device paths to host paths.
#include "storage/device_path.h"

#include <vector>

#include "kernel/utf.h"
#include "pda/storage.h"
#include "pda/testing/kernel.h"
#include "storage/device_root.h"

namespace pda {
namespace {

bool AllowedInName(char16_t c) {
  if (c < 0x20) return false;
  switch (c) {
    case u'/': case u':': case u'*': case u'?': case u'"': case u'<': case u'>': case u'|':
      return false;
    default:
      return true;
  }
}

// The path's components after "." and "..", or an error.
std::optional<std::vector<std::u16string_view>> Components(std::u16string_view path,
                                                           DWORD* error) {
  std::vector<std::u16string_view> parts;
  std::size_t start = 0;
  while (start <= path.size()) {
    std::size_t end = path.find(u'\\', start);
    if (end == std::u16string_view::npos) end = path.size();
    const std::u16string_view part = path.substr(start, end - start);
    start = end + 1;
    if (part.empty() || part == u".") continue;
    if (part == u"..") {
      if (parts.empty()) {
        *error = ERROR_INVALID_NAME;  // would leave the device root
        return std::nullopt;
      }
      parts.pop_back();
      continue;
    }
    for (char16_t c : part) {
      if (!AllowedInName(c)) {
        *error = ERROR_INVALID_NAME;
        return std::nullopt;
      }
    }
    parts.push_back(part);
  }
  return parts;
}

std::optional<std::string> Map(std::u16string_view path) {
  DWORD error = ERROR_SUCCESS;
  if (path.empty()) error = ERROR_PATH_NOT_FOUND;
  else if (path.size() >= MAX_PATH) error = ERROR_FILENAME_EXCED_RANGE;
  std::optional<std::vector<std::u16string_view>> parts;
  if (!error) parts = Components(path, &error);
  if (error) {
    SetLastError(error);
    return std::nullopt;
  }
  std::optional<std::string> host = DeviceRoot();
  if (!host) return std::nullopt;
  for (std::u16string_view part : *parts) {
    bool invalid = false;
    const std::string name = Utf16ToUtf8(part, &invalid);
    if (invalid) {  // an unpaired surrogate has no host name
      SetLastError(ERROR_INVALID_NAME);
      return std::nullopt;
    }
    *host += '/';
    *host += name;
  }
  return host;
}

}  // namespace

std::optional<std::string> MapDevicePath(LPCWSTR devicePath) {
  if (devicePath == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  return Map(devicePath);
}

std::optional<std::string> MapDevicePath(LPCSTR devicePath) {
  if (devicePath == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return std::nullopt;
  }
  bool invalid = false;
  const std::u16string wide = Utf8ToUtf16(devicePath, &invalid);
  if (invalid) {
    SetLastError(ERROR_INVALID_NAME);
    return std::nullopt;
  }
  return Map(wide);
}

std::string HostPathOf(LPCWSTR devicePath) { return MapDevicePath(devicePath).value_or(""); }

}  // namespace pda
