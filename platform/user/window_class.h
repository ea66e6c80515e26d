// Window classes: the registry of names (compared without regard to ASCII case) and their
// records. Built-in control classes register themselves here like any other class.
#pragma once

#include <memory>
#include <string>

#include "pda/user.h"

namespace pda::user {

struct WindowClass {
  std::u16string name;
  WNDCLASSW info{};  // info.lpszClassName points at name
  ATOM atom = 0;
};

// A class by name or by atom (MAKEINTRESOURCEW form); null when not registered.
std::shared_ptr<const WindowClass> FindClass(LPCWSTR nameOrAtom, HINSTANCE instance);

}  // namespace pda::user
