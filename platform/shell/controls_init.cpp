// Initialisation calls the program makes at start: common controls, the shell's extra
// controls (which starts the shell on the program's UI thread) and the rich-ink library.
#include "pda/shell.h"
#include "shell/navigation_bar.h"

BOOL InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
  if (!init || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return TRUE;
}

BOOL SHInitExtraControls() {
  pda::shell::EnsureNavigationBar();
  return TRUE;
}

// The note editor's class (RichInk) is registered with the other controls at the platform's start.
void InitRichInkDLL() {}
