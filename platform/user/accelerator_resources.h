// Where LoadAcceleratorsW finds the program's accelerator tables: the resource component
// registers each table under its instance and number.
#pragma once

#include <vector>

#include "pda/user.h"

namespace pda::user {

void RegisterAcceleratorResource(HINSTANCE instance, WORD id, std::vector<ACCEL> entries);

}  // namespace pda::user
