// The device root: the host folder that holds the device's file system.
//
// Chosen once: a test's folder, else PDA_ROOT, else $XDG_DATA_HOME/zazorudu, else
// $HOME/.local/share/zazorudu. On first use the folder is created with the program's own
// folder ("\Program Files\Zazorudu", where its settings live) and "\My Documents". A root that
// cannot be used is reported once on standard error, and every file call then fails.
#pragma once

#include <optional>
#include <string>

namespace pda {

// The root's host path (no trailing slash), or nullopt with the last error set.
std::optional<std::string> DeviceRoot();

}  // namespace pda
