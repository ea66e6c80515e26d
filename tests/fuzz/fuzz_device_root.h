// A private device root for the fuzz targets that go through files: made once, on a memory file
// system where there is one (the stores' flush to disk stays cheap), removed at exit.
#pragma once

#include <stdlib.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "pda/testing/kernel.h"

inline const std::string& FuzzDeviceRoot() {
  static const std::string root = [] {
    const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                           ? std::filesystem::path("/dev/shm")
                                           : std::filesystem::temp_directory_path();
    std::string pattern = (base / "zaz-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    pda::SetDeviceRootForTesting(pattern);
    return pattern;
  }();
  static const int cleanup = std::atexit([] {
    std::error_code ignored;
    std::filesystem::remove_all(FuzzDeviceRoot(), ignored);
  });
  static_cast<void>(cleanup);
  return root;
}
