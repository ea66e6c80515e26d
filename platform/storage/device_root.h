// The device root: the host folder that holds the device's file system.
//
// Chosen once: a test's folder, else PDA_ROOT, else $XDG_DATA_HOME/zazorudu, else
// $HOME/.local/share/zazorudu. On first use the folder is created with the program's own
// folder ("\Program Files\Zazorudu", where its settings live) and "\My Documents". The start
// refuses a root that cannot be used (DeviceRootProblem); every file call then fails.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace pda {

// The root's host path (no trailing slash), or nullopt with the last error set.
std::optional<std::string> DeviceRoot();
// Why the root cannot be used (chosen and made as DeviceRoot does), or nothing.
std::optional<std::string> DeviceRootProblem();
inline constexpr std::string_view kDeviceRootForm =
    "the path of a host folder that exists or can be created, e.g. "
    "PDA_ROOT=$HOME/.local/share/zazorudu";
}  // namespace pda
