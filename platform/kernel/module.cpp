// The program's module: its instance handle and its device file name.
#include <algorithm>
#include <string_view>

#include "kernel/handle_table.h"
#include "pda/kernel.h"

namespace {

constexpr std::u16string_view kModuleFileName = u"\\Program Files\\Zazorudu\\Zazorudu.exe";
constexpr std::u16string_view kModuleName = u"Zazorudu.exe";

bool IsProgram(HMODULE module) { return !module || module == GetModuleHandleW(nullptr); }

bool EqualsIgnoringAsciiCase(std::u16string_view a, std::u16string_view b) {
  auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; };
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [&](char16_t x, char16_t y) { return lower(x) == lower(y); });
}

}  // namespace

HMODULE GetModuleHandleW(LPCWSTR name) {
  // The program is the only module: instance slot 1, generation 1.
  constexpr std::uint32_t kProgramInstance =
      (static_cast<std::uint32_t>(pda::HandleKind::Instance) << 28) | (1u << 20) | 1u;
  if (name == nullptr || EqualsIgnoringAsciiCase(name, kModuleName) ||
      EqualsIgnoringAsciiCase(name, kModuleFileName))
    return HMODULE{kProgramInstance};
  SetLastError(ERROR_MOD_NOT_FOUND);
  return nullptr;
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
  if (!IsProgram(module)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (buffer == nullptr || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  const std::size_t length = kModuleFileName.size();
  if (length < size) {
    std::copy(kModuleFileName.begin(), kModuleFileName.end(), buffer);
    buffer[length] = u'\0';
    return static_cast<DWORD>(length);
  }
  std::copy_n(kModuleFileName.begin(), size - 1, buffer);
  buffer[size - 1] = u'\0';
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}
