// The program's main: the back end around the application's WinMain. A bad PDA_DISPLAY or
// PDA_ZOOM, or a display that cannot be opened, ends the program with status 1 after one line on
// standard error.
#include "backend/backend.h"
#include "controls/controls.h"
#include "pda/entry.h"
#include "pda/kernel.h"
#include "pda/user.h"

int main(int, char**) {
  if (!pda::backend::StartFromEnvironment()) return 1;
  pda::controls::RegisterControlClasses();  // the built-in classes exist before the program runs
  char16_t commandLine[1] = {0};
  const int result = WinMain(GetModuleHandleW(nullptr), HINSTANCE{}, commandLine, SW_SHOWNORMAL);
  pda::backend::Stop();
  return result;
}
