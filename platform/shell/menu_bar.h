// Soft-key menu bars (SHCreateMenuBar): what the input panel needs of them.
#pragma once

#include "pda/user.h"

namespace pda::shell {

// The window class of the menu bars, so that tests and the panel can tell them apart.
inline constexpr char16_t kMenuBarClass[] = u"menu_worker";

}  // namespace pda::shell
