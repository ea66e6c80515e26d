// Soft-key menu bars (SHCreateMenuBar): what the input panel needs of them, and bars for the
// platform's own windows.
#pragma once

#include "pda/menu.h"
#include "pda/owners.h"
#include "pda/user.h"

namespace pda::shell {

// The window class of the menu bars, so that tests and the panel can tell them apart.
inline constexpr char16_t kMenuBarClass[] = u"menu_worker";

// The bar SHCreateMenuBar makes, for a window of the platform's own (the compose form): its soft
// keys are the first two items of `menu`, a menu built in code rather than loaded from the
// program's resources. The bar takes the menu over and is destroyed with its owner. Null when
// it cannot be made.
HWND CreateMenuBar(HWND owner, UniqueMenu menu, bool inputPanelButton);

}  // namespace pda::shell
