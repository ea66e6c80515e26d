// The idle-timer reset, for the screen back end: it may tie SystemIdleTimerReset to its screen
// saver by setting a hook (called on every reset, on the caller's thread).
#pragma once

namespace pda {

using IdleResetHook = void (*)();
// Null removes the hook.
void SetIdleResetHook(IdleResetHook hook);

}  // namespace pda
