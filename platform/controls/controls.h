// The platform's built-in controls (STATIC, BUTTON, EDIT, LISTBOX, ...): window procedures of
// the platform drawn with the drawing library. This component registers their classes.
#pragma once

namespace pda::controls {

// Registers every built-in control class once per process; later calls do nothing. The
// platform's start and InitCommonControlsEx call it before any control is created.
bool RegisterControlClasses();

}  // namespace pda::controls
