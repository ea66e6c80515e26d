// The program's main: the platform's start-up around the application's WinMain. A bad
// PDA_DISPLAY or PDA_ZOOM, or a display that cannot be opened, ends the program with status 1
// after one line on standard error. SIGTERM, SIGINT and SIGHUP close the application as its
// user would (entry/ending_signals.h).
#include "backend/backend.h"
#include "entry/ending_signals.h"
#include "pda/entry.h"

int main(int, char**) {
  const pda::entry::EndingSignals signals;  // before any thread starts, so all of them block
  if (!pda::backend::BootFromEnvironment()) return 1;
  const int result = pda::backend::RunEntry(WinMain);
  pda::backend::Stop();
  return result;
}
