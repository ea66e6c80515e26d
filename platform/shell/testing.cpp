// The shell's test hooks (pda/testing/shell.h).
#include "pda/testing/shell.h"

#include "shell/input_panel.h"
#include "shell/navigation_bar.h"
#include "shell/notify_icons.h"

namespace pda::shell {
DWORD DoneButtonStateOf(HWND window);
void ForgetDoneButtons();
}  // namespace pda::shell

namespace pda::testing {

HWND NavigationBarWindow() { return shell::NavigationBar(); }
HWND InputPanelWindow() { return shell::InputPanel(); }
DWORD DoneButtonState(HWND window) { return shell::DoneButtonStateOf(window); }

void ResetShell() {
  shell::ResetInputPanel();
  shell::DestroyNavigationBar();
  shell::ForgetNotifyIcons();
  shell::ForgetDoneButtons();
}

}  // namespace pda::testing
