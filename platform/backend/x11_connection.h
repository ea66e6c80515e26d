// The X server going away. Xlib meets a broken connection inside whatever call was reading or
// writing it, calls its I/O error handler there, and ends the process when that handler returns
// (its default prints "XIO: fatal IO error" and calls exit from that thread, with every other
// thread still running). The handler installed here never returns: it tells the back end and
// then keeps the thread that met the break waiting for good, so that the rest of the program can
// shut down as it always does.
#pragma once

namespace pda::backend::x11 {

// Installs the handler for the whole process; `lost` runs on the thread that met the break
// (the back end's, since only it calls into SDL and Xlib), once.
void OnConnectionLost(void (*lost)());

}  // namespace pda::backend::x11
