// Profile store throughput: reading and writing a settings-style file of 10,000 entries
// (100 sections of 100 keys), in MB/s of file text.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <pda/testing/kernel.h>

#include "settings/profile_store.h"

namespace {

constexpr int kSections = 100;
constexpr int kKeysPerSection = 100;

class DeviceRoot {
 public:
  DeviceRoot() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zaz-bench-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    root_ = pattern;
    pda::SetDeviceRootForTesting(root_);
  }
  ~DeviceRoot() {
    pda::SetDeviceRootForTesting("");
    std::filesystem::remove_all(root_);
  }
  std::uintmax_t Size(const char* name) const {
    return std::filesystem::file_size(std::filesystem::path(root_) / name);
  }

 private:
  std::string root_;
};

void FillStore(ProfileStore* pStore) {
  for (int s = 0; s < kSections; ++s) {
    const std::string section = "Section" + std::to_string(s);
    for (int k = 0; k < kKeysPerSection; ++k) {
      const std::string key = "key" + std::to_string(k);
      const std::string value = "value number " + std::to_string(s * kKeysPerSection + k) +
                                " with some text after it";
      ProfileSet(pStore, section.c_str(), key.c_str(), value.c_str(), 0);
    }
  }
}

void BM_ProfileWrite10k(benchmark::State& state) {
  DeviceRoot root;
  ProfileStore* pStore = nullptr;
  ProfileOpen(&pStore, "\\bench.ini", TRUE);
  FillStore(pStore);
  for (auto _ : state) {
    if (ProfileWrite(pStore, nullptr) != 0) state.SkipWithError("write failed");
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(root.Size("bench.ini")));
  ProfileClose(pStore);
}
BENCHMARK(BM_ProfileWrite10k)->Unit(benchmark::kMillisecond);

void BM_ProfileRead10k(benchmark::State& state) {
  DeviceRoot root;
  ProfileStore* pStore = nullptr;
  ProfileOpen(&pStore, "\\bench.ini", TRUE);
  FillStore(pStore);
  ProfileClose(pStore);
  for (auto _ : state) {
    ProfileOpen(&pStore, "\\bench.ini", FALSE);
    char szValue[64];
    benchmark::DoNotOptimize(ProfileGet(pStore, "Section99", "key99", szValue, sizeof szValue));
    ProfileClose(pStore);
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                          static_cast<std::int64_t>(root.Size("bench.ini")));
}
BENCHMARK(BM_ProfileRead10k)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
