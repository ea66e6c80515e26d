// A private device root per test.
#include "device_root.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
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

std::string ReadHostFile(const std::string& hostPath) {
  std::ifstream in(hostPath, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteHostFile(const std::string& hostPath, const std::string& bytes) {
  std::ofstream(hostPath, std::ios::binary) << bytes;
}

void DeviceRoot::Write(const std::string& relative, const std::string& bytes) const {
  std::filesystem::create_directories(Host(relative).parent_path());
  WriteHostFile(HostPath(relative), bytes);
}

std::string DeviceRoot::Read(const std::string& relative) const {
  return ReadHostFile(HostPath(relative));
}

bool DeviceRoot::Exists(const std::string& relative) const {
  return std::filesystem::exists(Host(relative));
}

}  // namespace zaz::testing
