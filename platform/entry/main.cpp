// The program's main: the platform's start-up around the application's WinMain. A bad
// PDA_DISPLAY or PDA_ZOOM, or a display that cannot be opened, ends the program with status 1
// after one line on standard error.
#include "backend/backend.h"
#include "pda/entry.h"

int main(int, char**) {
  if (!pda::backend::BootFromEnvironment()) return 1;
  const int result = pda::backend::RunEntry(WinMain);
  pda::backend::Stop();
  return result;
}
