// The PDA_* values come from the user's environment: any bytes must be judged without a crash,
// and a refusal must be the one line that names the variable (no control character in it, the
// reason included, whatever the value held). The first byte picks the variable; PDA_ROOT is left
// out, since judging it makes the folder.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "backend/settings_check.h"

namespace {

constexpr const char* kNames[] = {"PDA_DISPLAY", "PDA_ZOOM", "PDA_SCREEN", "PDA_TRACE_STARTUP",
                                  "PDA_GPS", "PDA_MESSAGE_STORES", "PDA_COMPOSE"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string name = kNames[data[0] % std::size(kNames)];
  const std::string value(reinterpret_cast<const char*>(data + 1), size - 1);
  const auto refusal = pda::backend::SettingRefusal(name, value.c_str());
  if (!refusal) return 0;
  if (refusal->find(": " + name) == std::string::npos) std::abort();
  for (const char c : *refusal)
    if (static_cast<unsigned char>(c) < 0x20) std::abort();
  return 0;
}
