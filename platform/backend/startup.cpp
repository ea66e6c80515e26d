// The platform's start-up, shared by the program's main (platform/entry) and the test harness.
#include <cstdio>
#include <cstdlib>

#include "backend/backend.h"
#include "controls/controls.h"
#include "pda/kernel.h"
#include "pda/user.h"

namespace pda::backend {

bool Boot(std::string_view name, const Options& options) {
  if (!Start(name, options)) return false;
  controls::RegisterControlClasses();
  return true;
}

bool BootFromEnvironment() {
  std::string error;
  const auto selection = Select(std::getenv("PDA_DISPLAY"), std::getenv("PDA_ZOOM"), &error);
  if (!selection) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return false;
  }
  return Boot(selection->backend->name, selection->options);
}

int RunEntry(EntryFunction entry) {
  char16_t commandLine[1] = {0};
  return entry(GetModuleHandleW(nullptr), HINSTANCE{}, commandLine, SW_SHOWNORMAL);
}

}  // namespace pda::backend
