// The program's main: the platform's start-up around the application's WinMain.
//
// --help and --version are answered first, before anything starts (entry/usage.h).
//
// Exit codes besides the application's own (0, and 2 when its message loop is skipped): a PDA_*
// setting that cannot be used ends the program before anything starts with EX_CONFIG (78); a
// display that cannot be opened, or that is lost while the program runs, with 1 (after the
// application has been closed as its user would close it); each after one line on standard
// error. SIGTERM, SIGINT and SIGHUP close the application as its user would
// (entry/ending_signals.h); a second one ends the program at once with 128 + its number.
#include <sysexits.h>

#include "backend/backend.h"
#include "entry/ending_signals.h"
#include "entry/program_identity.h"
#include "entry/usage.h"
#include "pda/entry.h"

namespace {

constexpr int kExitBadSetting = EX_CONFIG;

}  // namespace

int main(int argc, char** argv) {
  if (const auto answered = pda::entry::AnswerOption(argc, argv)) return *answered;
  const pda::entry::EndingSignals signals;  // before any thread starts, so all of them block
  switch (pda::backend::BootFromEnvironment(pda::entry::kApplicationId)) {
    case pda::backend::BootResult::Ready: break;
    case pda::backend::BootResult::BadSetting: return kExitBadSetting;
    case pda::backend::BootResult::NoDisplay: return pda::backend::kExitNoDisplay;
  }
  const int result = pda::backend::RunEntry(WinMain);
  pda::backend::Stop();
  return pda::backend::DisplayWasLost() ? pda::backend::kExitNoDisplay : result;
}
