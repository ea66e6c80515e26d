// Fuzz target for the Profile store's file grammar and writer.
//
// The input is written as a settings file into a private device root, opened, looked up and
// written back. The written form must be stable: a file the store wrote reads back into a store
// that writes a file which reads back and writes the same bytes again. (The first write may
// still normalise the input: it drops keys before the first header and trims the blanks an
// unterminated last line keeps; interleaved sections settle one generation later.)
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <pda/testing/kernel.h>

#include "settings/profile_store.h"
#include "fuzz_device_root.h"

namespace {

std::string g_root;

std::string HostPath(const char* name) { return g_root + "/" + name; }

std::string ReadHost(const char* name) {
  std::ifstream in(HostPath(name), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Reads `from` and writes what the store holds to `to`.
void Rewrite(const char* from, const char* to) {
  ProfileStore* pStore = nullptr;
  if (ProfileOpen(&pStore, from, FALSE) != 0) std::abort();
  if (ProfileWrite(pStore, to) != 0) std::abort();
  ProfileClose(pStore);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  g_root = FuzzDeviceRoot();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  {
    std::ofstream out(HostPath("input.ini"), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }

  ProfileStore* pStore = nullptr;
  if (ProfileOpen(&pStore, "\\input.ini", FALSE) != 0 || pStore == nullptr) std::abort();
  if (pStore->fDirty) std::abort();
  // Look up the settings keys and a name built from the input, with a small buffer.
  char szValue[8];
  ProfileGet(pStore, "EMAIL", "wszDefaultEmailAddr", szValue, sizeof szValue);
  if (std::strlen(szValue) >= sizeof szValue) std::abort();
  std::string name(reinterpret_cast<const char*>(data), size < 40 ? size : 40);
  name = name.c_str();
  const int nGet = ProfileGet(pStore, name.c_str(), name.c_str(), szValue, sizeof szValue);
  if (nGet != 0 && szValue[0] != 0) std::abort();
  if (ProfileWrite(pStore, "\\gen1.ini") != 0) std::abort();
  if (pStore->fDirty) std::abort();
  ProfileClose(pStore);

  Rewrite("\\gen1.ini", "\\gen2.ini");
  Rewrite("\\gen2.ini", "\\gen3.ini");
  if (ReadHost("gen2.ini") != ReadHost("gen3.ini")) {
    std::fprintf(stderr, "writing is not stable\n");
    std::abort();
  }
  return 0;
}
