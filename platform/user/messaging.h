// What the message functions share with the rest of the window manager.
#pragma once

#include <functional>

#include "pda/user.h"
#include "user/message_queue.h"

namespace pda::user {

// The window manager's own messages, in the same form as pda/message_list.h:
//   WM_PDA_CALL      posted to a thread to run a task queued by CallOnThread;
//   WM_PDA_ACTIVATE  posted to a window's own thread to bring it to the front there (asked for
//                    by another process).
// Both are handled by DispatchMessageW, never seen by window procedures.
#define PDA_INTERNAL_MESSAGES(X) \
  X(WM_PDA_CALL, 0x03FD)         \
  X(WM_PDA_ACTIVATE, 0x03FE)
PDA_INTERNAL_MESSAGES(PDA_MESSAGE_CONSTANT)

// Runs `task` on the given thread when its message loop dispatches the notice, for a back end
// whose own thread must never wait for that thread. False when the thread has no queue.
bool CallOnThread(DWORD threadId, std::function<void()> task);

// Key messages taken from a queue update the key-state table (keyboard.cpp).
void NoteKeyMessage(const MSG& message);
// The first window of this queue, parents before children, whose update region (clipped to
// what is visible) is not empty and which the filter accepts (update_region.cpp).
HWND FindWindowToPaint(const MessageQueue& queue, const MessageFilter& filter);

}  // namespace pda::user
