// Test hooks of the clipboard: the in-memory desktop clipboard that stands in while no screen
// back end has joined the real one, and a reset between tests.
//
// For tests and test harnesses only; the application never includes this header.
#pragma once

#include <string>

#include "pda/clipboard.h"

namespace pda::testing {

// The desktop clipboard's text (UTF-8) while no back end is joined: what the last change on our
// clipboard handed over, or what SetSystemClipboardText put there.
std::string SystemClipboardText();
// Another program puts text on the desktop clipboard (no back end joined).
void SetSystemClipboardText(const std::string& utf8);
// Frees the clipboard's blocks, forgets opener and owner, empties the in-memory desktop
// clipboard and leaves any joined back end.
void ResetClipboard();

}  // namespace pda::testing
