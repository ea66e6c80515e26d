// The platform's start-up, shared by the program's main (platform/entry) and the test harness.
#include <cstdlib>

#include "backend/backend.h"
#include "backend/settings_check.h"
#include "controls/controls.h"
#include "pda/kernel.h"
#include "pda/user.h"

namespace pda::backend {

bool Boot(std::string_view name, const Options& options) {
  if (!Start(name, options)) return false;
  controls::RegisterControlClasses();
  return true;
}

BootResult BootFromEnvironment(std::string_view applicationId) {
  if (!CheckSettings()) return BootResult::BadSetting;
  auto selection = Select(std::getenv("PDA_DISPLAY"), std::getenv("PDA_ZOOM"));
  if (!selection) return BootResult::BadSetting;  // checked just above: not met
  selection->options.applicationId = applicationId;
  return Boot(selection->backend->name, selection->options) ? BootResult::Ready
                                                             : BootResult::NoDisplay;
}

int RunEntry(EntryFunction entry) {
  char16_t commandLine[1] = {0};
  return entry(GetModuleHandleW(nullptr), HINSTANCE{}, commandLine, SW_SHOWNORMAL);
}

}  // namespace pda::backend
