// Window classes: the registry of names (compared without regard to ASCII case) and their
// records. Built-in control classes register themselves here like any other class.
#pragma once

#include <memory>
#include <string>

#include "pda/user.h"

namespace pda::user {

// A class style bit of the platform's own: the class's windows draw their own vertical scroll
// bar inside their client area (EDIT, LISTBOX), so WS_VSCROLL adds no bar beside it.
constexpr UINT kClassDrawsOwnScrollBar = 0x80000000u;

struct WindowClass {
  std::u16string name;
  WNDCLASSW info{};  // info.lpszClassName points at name
  ATOM atom = 0;
};

// A class by name or by atom (MAKEINTRESOURCEW form); null when not registered.
std::shared_ptr<const WindowClass> FindClass(LPCWSTR nameOrAtom, HINSTANCE instance);

}  // namespace pda::user
