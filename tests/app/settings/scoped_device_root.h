// A private device root for one test: a fresh host folder used as the device's file system,
// removed afterwards, plus helpers to read and write device files from the host side.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <pda/testing/kernel.h>

class ScopedDeviceRoot {
 public:
  ScopedDeviceRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zaz-settings-XXXXXX").string();
    root_ = mkdtemp(pattern.data()) != nullptr ? pattern : std::string();
    pda::SetDeviceRootForTesting(root_);
  }
  ~ScopedDeviceRoot() {
    pda::SetDeviceRootForTesting("");
    std::error_code ignored;
    if (!root_.empty()) std::filesystem::remove_all(root_, ignored);
  }
  ScopedDeviceRoot(const ScopedDeviceRoot&) = delete;
  ScopedDeviceRoot& operator=(const ScopedDeviceRoot&) = delete;

  // The host path of a device-relative path written with '/' ("Program Files/x.txt").
  std::filesystem::path Host(const std::string& relative) const {
    return std::filesystem::path(root_) / relative;
  }
  void Write(const std::string& relative, const std::string& bytes) const {
    std::filesystem::create_directories(Host(relative).parent_path());
    std::ofstream(Host(relative), std::ios::binary) << bytes;
  }
  std::string Read(const std::string& relative) const {
    std::ifstream in(Host(relative), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  bool Exists(const std::string& relative) const {
    return std::filesystem::exists(Host(relative));
  }

 private:
  std::string root_;
};
