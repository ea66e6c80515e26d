// The single-instance rendezvous: each top-level window of this process can be found by class and
// title from another process of the same device, which may ask it to come to the front.
//
// A window is published as a listening UNIX socket named after a hash of the device root, class
// and title, in $XDG_RUNTIME_DIR (or /tmp). One line is asked and one answered per connection:
// "FIND\t<class>\t<title>" or "ACTIVATE\t<class>\t<title>", answered "YES" or "NO" (UTF-8).
#pragma once

#include <string>

#include "pda/user.h"

namespace pda::user::rendezvous {

// Listening starts with the first publication. Publishing a window again (new title) moves it.
void Publish(HWND window, const std::u16string& className, const std::u16string& title);
void Withdraw(HWND window);

// Client side: whether another process has such a window, and asking it to activate it.
bool ExistsElsewhere(const std::u16string& className, const std::u16string& title);
bool ActivateElsewhere(const std::u16string& className, const std::u16string& title);

}  // namespace pda::user::rendezvous
