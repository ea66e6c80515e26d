// What a modal window (the message box, a popup menu, a property sheet) does to its owner: it
// is owned by the owner's top-level window, which stays disabled while the modal window waits
// for its answer.
#pragma once

#include "pda/user.h"

namespace pda::user {

// The top-level window that holds `window` (itself when it is not a child).
inline HWND TopLevelOf(HWND window) {
  while (window && (static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE)) & WS_CHILD))
    window = GetParent(window);
  return window;
}

// Disables the owner for its own life and enables it again (only if it was enabled).
class DisabledOwner {
 public:
  explicit DisabledOwner(HWND owner)
      : owner_(owner && IsWindowEnabled(owner) ? owner : HWND{}) {
    if (owner_) EnableWindow(owner_, FALSE);
  }
  DisabledOwner(const DisabledOwner&) = delete;
  DisabledOwner& operator=(const DisabledOwner&) = delete;
  ~DisabledOwner() { Restore(); }
  void Restore() {
    if (owner_ && IsWindow(owner_)) EnableWindow(owner_, TRUE);
    owner_ = HWND{};
  }

 private:
  HWND owner_;
};

}  // namespace pda::user
