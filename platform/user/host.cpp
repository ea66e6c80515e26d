// The host-hooks record: one call joins (or leaves) a screen back end's presenter, clipboard,
// activation, idle-reset and shown hooks, which the window manager's parts and the kernel keep apart.
#include <mutex>
#include <utility>

#include "kernel/idle.h"
#include "kernel/utf.h"
#include "user/activation.h"
#include "user/clipboard.h"
#include "user/screen_surface.h"

namespace pda::user {
namespace {

std::mutex g_idleMutex;
std::function<void()> g_idleReset;
std::mutex g_shownMutex;
std::function<void(HWND)> g_shown;

// The kernel takes a plain function; it forwards to the installed hook.
void ForwardIdleReset() {
  std::function<void()> hook;
  {
    std::lock_guard lock(g_idleMutex);
    hook = g_idleReset;
  }
  if (hook) hook();
}

}  // namespace

void TellHostShown(HWND window) {
  std::function<void(HWND)> hook;
  {
    std::lock_guard lock(g_shownMutex);
    hook = g_shown;
  }
  if (hook) hook(window);
}

void InstallHostHooks(HostHooks hooks) {
  {
    std::lock_guard lock(g_shownMutex);
    g_shown = std::move(hooks.shown);
  }
  {
    std::lock_guard lock(g_idleMutex);
    g_idleReset = std::move(hooks.idleReset);
    SetIdleResetHook(g_idleReset ? ForwardIdleReset : nullptr);
  }
  if (hooks.activated) {
    SetActivationHook([activated = std::move(hooks.activated)](HWND topLevel) {
      char16_t title[256] = {};
      GetWindowTextW(topLevel, title, 256);
      activated(Utf16ToUtf8(title));
    });
  } else {
    SetActivationHook({});
  }
  SetSystemClipboard({std::move(hooks.getClipboardText), std::move(hooks.setClipboardText)});
  SetScreenPresenter(std::move(hooks.damaged));
}

}  // namespace pda::user
