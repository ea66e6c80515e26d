// A private device root per test.
#include "device_root.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "pda/testing/kernel.h"

namespace zaz::testing {

DeviceRoot::DeviceRoot() {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/zaz-device-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) {
    ADD_FAILURE() << "cannot make a temporary device root from " << pattern;
    return;
  }
  host_ = pattern;
  pda::SetDeviceRootForTesting(host_);
  // First use: the program's folder and "\My Documents" exist from here on, as on a device.
  if (pda::HostPathOf(u"\\") != host_) ADD_FAILURE() << "device root not taken: " << host_;
}

DeviceRoot::~DeviceRoot() {
  pda::SetDeviceRootForTesting("");
  if (host_.empty()) return;
  std::error_code ignored;
  // Tests may leave read-only folders behind; make them writable so they can go.
  for (const auto& entry : std::filesystem::recursive_directory_iterator(host_, ignored))
    if (entry.is_directory(ignored))
      std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(host_, ignored);
}

}  // namespace zaz::testing
