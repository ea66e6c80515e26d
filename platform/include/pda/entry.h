// The program's entry: the platform's main starts the screen back end (PDA_DISPLAY), calls the
// application's WinMain with the program's module handle, no previous instance, an empty command
// line and SW_SHOWNORMAL, stops the back end and returns WinMain's result.
#pragma once

#include "pda/types.h"

// Written by the application; the platform's main (library pda_main) calls it.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previous, LPWSTR commandLine, int show);
