// The platform's built-in controls (STATIC, BUTTON, EDIT, LISTBOX, ...): window procedures of
// the platform drawn with the drawing library. This component registers their classes.
#pragma once

namespace pda::controls {

// Registers every built-in control class once per process; later calls do nothing. The
// platform's start and InitCommonControlsEx call it before any control is created.
bool RegisterControlClasses();

// One class each (static_control.cpp, button_control.cpp, list_box_control.cpp); true when
// registered now or already.
bool RegisterStaticClass();
bool RegisterButtonClass();
bool RegisterListBoxClass();

}  // namespace pda::controls
