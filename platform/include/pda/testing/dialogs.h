// Test hooks of the message box and the popup menu: which box or menu is open (so that
// application tests can check the notice shown and answer it), and how many times the platform
// beeped.
//
// For tests and test harnesses only; the application never includes this header.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "pda/dialogs.h"
#include "pda/menu.h"

namespace pda::testing {

struct MessageBoxButtonInfo {
  std::u16string label;  // "OK", "Cancel", "Yes", "No"
  int result;            // IDOK, ...
  RECT rect;             // in the box's client coordinates: tap its centre
};

struct MessageBoxInfo {
  HWND window;
  std::u16string text;
  std::u16string caption;
  UINT type;
  std::vector<MessageBoxButtonInfo> buttons;
};

// The innermost message box open on any thread, or nullopt.
std::optional<MessageBoxInfo> OpenMessageBox();
struct PopupMenuItemInfo {
  std::u16string text;  // empty for a separator
  UINT command;
  RECT rect;  // screen coordinates: tap its centre
};

struct PopupMenuInfo {
  HWND window;  // the menu's window while TrackPopupMenuEx runs
  POINT anchor;  // the screen point TrackPopupMenuEx was given
  UINT flags;
  std::vector<PopupMenuItemInfo> items;
};

// The popup menu being tracked on any thread, or nullopt.
std::optional<PopupMenuInfo> OpenPopupMenu();

// MessageBeep calls since the program started.
std::uint64_t MessageBeepCount();

}  // namespace pda::testing
