// The status bubble: a small notice under the navigation bar, right-aligned, with one text (the
// GPS source's state, shown when its icon is tapped). A tap on it or five seconds close it; a
// second call replaces the text.
#pragma once

#include <string>

#include "pda/user.h"

namespace pda::shell {

void ShowStatusBubble(const std::u16string& text);
// The bubble while it is shown, or null.
HWND StatusBubble();
std::u16string StatusBubbleText();

}  // namespace pda::shell
