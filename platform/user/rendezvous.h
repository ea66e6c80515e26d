// The single-instance rendezvous: each top-level window of this process can be found by class and
// title from another process of the same device, which may ask it to come to the front.
//
// A window's name (class and title) is claimed by one process at a time: a lock file taken with
// flock, held while the process lives, and a listening UNIX socket beside it, both named after a
// hash of the device root, class and title. They live in $XDG_RUNTIME_DIR, else in
// $TMPDIR/pda-<uid> (or /tmp/pda-<uid>), made 0700; a folder that is not this user's own and
// private, or a name taken by a file of another user, is refused with a line on standard error.
// Names are given back (both files removed) when the window goes and at exit; files left by a
// process that was killed are replaced by the next claimant, which holds the lock.
//
// A lookup that finds no window claims the name for a while (10 s), so that of several
// processes looking at the same instant exactly one finds nothing: the others are told the
// window exists, and an activation asked for meanwhile is done once it is published.
//
// One line is asked and one answered per connection: "FIND\t<class>\t<title>" or
// "ACTIVATE\t<class>\t<title>", answered "YES" or "NO" (UTF-8). Only a peer of the same user is
// trusted.
#pragma once

#include <optional>
#include <string>

#include "pda/user.h"

namespace pda::user::rendezvous {

enum class ClaimResult { Claimed, Taken, Refused };

// Listening starts with the first publication. Publishing a window again (new title) moves it.
void Publish(HWND window, const std::u16string& className, const std::u16string& title);
void Withdraw(HWND window);

// Client side: whether another process has such a window, and asking it to activate it.
bool ExistsElsewhere(const std::u16string& className, const std::u16string& title);
bool ActivateElsewhere(const std::u16string& className, const std::u16string& title);

// Claims the name for a window of this process that is to follow (Claimed also when this process
// holds it already), or finds it held by another process (Taken), or cannot use it (Refused).
ClaimResult Reserve(const std::u16string& className, const std::u16string& title);

// The socket's path for a name, for tests; nothing when the folder is refused.
std::optional<std::string> SocketPathOf(const std::u16string& className,
                                        const std::u16string& title);
// Answers one connection on an open descriptor, as the listener does, for tests.
void ServeConnection(int fd);

}  // namespace pda::user::rendezvous
