// Activation bookkeeping for the input panel (SHHandleWMActivate, SHHandleWMSettingChange) and
// the Done button's record.
#include <map>
#include <mutex>

#include "shell/input_panel.h"

namespace pda::shell {
namespace {

constexpr DWORD kActivateInfoSize = 12;

std::mutex doneMutex;
std::map<std::uint32_t, DWORD>& DoneButtons() {
  static auto* const states = new std::map<std::uint32_t, DWORD>;
  return *states;
}

}  // namespace

DWORD DoneButtonStateOf(HWND window) {
  std::lock_guard lock(doneMutex);
  auto it = DoneButtons().find(window.value);
  return it == DoneButtons().end() ? 0 : it->second;
}

void ForgetDoneButtons() {
  std::lock_guard lock(doneMutex);
  DoneButtons().clear();
}

}  // namespace pda::shell

using namespace pda::shell;

BOOL SHHandleWMActivate(HWND window, WPARAM wParam, LPARAM /*lParam*/, PSHACTIVATEINFO info,
                        DWORD /*flags*/) {
  // Only WM_ACTIVATE's states are bookkept; anything else (a settings change handed on, say)
  // leaves the panel as it is.
  const WORD state = LOWORD(wParam);
  if (!info || info->cbSize != kActivateInfoSize || !IsWindow(window) ||
      (state != WA_INACTIVE && state != WA_ACTIVE && state != WA_CLICKACTIVE)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (state == WA_INACTIVE) {
    info->fSipOnDeactivation = InputPanelIsUp() ? 1 : 0;
    const HWND focus = GetFocus();
    info->hwndLastFocus = (focus == window || IsChild(window, focus)) ? focus : HWND{};
    info->fActive = 0;
    return TRUE;
  }
  // Coming to the front: the panel goes back to how this window last had it.
  info->fActive = 1;
  SetInputPanel(info->fSipUp != 0);
  return TRUE;
}

BOOL SHHandleWMSettingChange(HWND window, WPARAM wParam, LPARAM /*lParam*/,
                             PSHACTIVATEINFO info) {
  if (!IsWindow(window) || (info && info->cbSize != kActivateInfoSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (wParam != SPI_SETSIPINFO) return FALSE;
  if (info && info->fActive) info->fSipUp = InputPanelIsUp() ? 1 : 0;
  RECT rect{};
  GetWindowRect(window, &rect);
  const RECT visible = VisibleDesktop();
  if (rect.bottom != visible.bottom && visible.bottom > rect.top)
    MoveWindow(window, rect.left, rect.top, rect.right - rect.left, visible.bottom - rect.top, TRUE);
  return TRUE;
}

BOOL SHDoneButton(HWND window, DWORD state) {
  if (!IsWindow(window) || !(state & (SHDB_SHOW | SHDB_HIDE | SHDB_SHOWCANCEL))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::lock_guard lock(doneMutex);
  DoneButtons()[window.value] = state;
  return TRUE;
}
