// The join between our clipboard and the desktop's: a screen back end (SDL) hands in how to read
// and write the desktop clipboard's text. Without one, an in-memory stand-in plays the desktop.
#pragma once

#include <functional>
#include <optional>
#include <string>

namespace pda::user {

struct SystemClipboard {
  // The desktop clipboard's text (UTF-8); nullopt when it cannot be read just now.
  std::function<std::optional<std::string>()> getText;
  // Puts text (UTF-8) on the desktop clipboard; false when that failed.
  std::function<bool(const std::string&)> setText;
};

// Joins a back end's clipboard; hooks with an empty member bring back the in-memory stand-in.
// Called by the back end at start and at shutdown, not while the clipboard is open.
void SetSystemClipboard(SystemClipboard hooks);

}  // namespace pda::user
