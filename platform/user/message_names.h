// Names of messages for diagnostics: a failing test prints "WM_LBUTTONUP", not "514". The names
// come from the lists that also define the constants (pda/message_list.h, and the window
// manager's own messages in user/messaging.h).
#pragma once

#include <string>

#include "pda/user.h"

namespace pda::user {

// "WM_CREATE"; "WM_USER+5" and "WM_APP+2" for private messages; otherwise "0x1234".
std::string MessageName(UINT message);

}  // namespace pda::user
