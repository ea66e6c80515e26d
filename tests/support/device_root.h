// A private device root for a test: a fresh temporary host folder used as the device's file
// system while the owner lives, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace zaz::testing {

class DeviceRoot {
 public:
  DeviceRoot();
  ~DeviceRoot();
  DeviceRoot(const DeviceRoot&) = delete;
  DeviceRoot& operator=(const DeviceRoot&) = delete;

  // The host folder that is the device's "\".
  const std::string& host() const { return host_; }
  // <root>/<relative>, for checking files behind the platform's back.
  std::string HostPath(const std::string& relative) const { return host_ + "/" + relative; }
  std::filesystem::path Host(const std::string& relative) const { return HostPath(relative); }
  // Host-side access to device files ("Program Files/x.txt"), folders made as needed.
  void Write(const std::string& relative, const std::string& bytes) const;
  std::string Read(const std::string& relative) const;
  bool Exists(const std::string& relative) const;

 private:
  std::string host_;
};

// Host files read and written behind the platform's back, by host path.
std::string ReadHostFile(const std::string& hostPath);
void WriteHostFile(const std::string& hostPath, const std::string& bytes);

// A test fixture whose every test runs on its own device root.
class DeviceRootTest : public ::testing::Test {
 protected:
  DeviceRoot root_;
};

}  // namespace zaz::testing
