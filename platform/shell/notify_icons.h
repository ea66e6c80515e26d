// The notification icons shown on the navigation bar, in the order they were added.
#pragma once

#include <memory>
#include <vector>

#include "gdi/pixels.h"
#include "pda/shell.h"

namespace pda::shell {

struct NotifyIcon {
  HWND owner;
  UINT id = 0;
  UINT callbackMessage = 0;
  std::shared_ptr<const gdi::Pixels> image;  // kept, so the owner may destroy its icon handle
};

// Icons whose owner still exists.
std::vector<NotifyIcon> CurrentNotifyIcons();
void ForgetNotifyIcons();

}  // namespace pda::shell
