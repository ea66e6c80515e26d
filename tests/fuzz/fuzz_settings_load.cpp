// The settings load's conversion of a file's values into the Settings record: any file gives
// three fields that are terminated within their capacities and hold well-formed UTF-16 (bad
// bytes become U+FFFD, a cut never splits a surrogate pair).
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <pda/testing/kernel.h>

#include "settings/profile_store.h"
#include "settings/settings_file.h"
#include "settings/settings_record.h"
#include "fuzz_device_root.h"

namespace {

std::string g_root;

bool WellFormed(const WCHAR* field, int capacity) {
  int i = 0;
  for (; i < capacity && field[i] != 0; ++i) {
    const char16_t c = field[i];
    if (c >= 0xD800 && c < 0xDC00) {
      if (i + 1 >= capacity || field[i + 1] < 0xDC00 || field[i + 1] >= 0xE000) return false;
      ++i;
    } else if (c >= 0xDC00 && c < 0xE000) {
      return false;
    }
  }
  return i < capacity;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_root = FuzzDeviceRoot();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(g_root + "/settings.txt", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  ProfileStore* pStore = nullptr;
  if (ProfileOpen(&pStore, "\\settings.txt", FALSE) != 0) std::abort();
  SettingsRecord record;
  record.Clear();
  FillSettingsFromStore(pStore, &record);
  ProfileClose(pStore);
  if (!WellFormed(record.wszDefaultEmailAddr, SETTINGS_EMAIL_ADDR_CHARS) ||
      !WellFormed(record.DefaultEmailAccount, SETTINGS_EMAIL_ACCOUNT_CHARS) ||
      !WellFormed(record.DefaultSMSphoneNumber, SETTINGS_SMS_NUMBER_CHARS))
    std::abort();
  return 0;
}
