// The program's resources: the art (embedded PNGs), the menus and the accelerator table,
// registered with the platform once at start.
#pragma once

#include <pda.h>

BOOL RegisterAppResources(HINSTANCE hinst);
