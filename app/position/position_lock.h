// The Position lock: the program's one critical section. It guards the Position snapshot and the
// Main window's copies of it. Initialised before the entry point runs, deleted at exit.
#pragma once

#include <pda.h>

extern CRITICAL_SECTION g_csPosition;
