// The e-mail and SMS touch-button actions: a copy of the position, the texts built from it, and
// the pre-filled message handed to the platform's compose form. Nothing is kept between calls.
#pragma once

#include <pda.h>

inline constexpr WCHAR NO_ACCOUNTS_TEXT[] =
    u"Sorry   :(\r\nThere are no email accounts found on this device.";
inline constexpr WCHAR NO_ACCOUNTS_CAPTION[] = u"No email accounts found";
constexpr UINT NO_ACCOUNTS_BOX_FLAGS = MB_OK | MB_ICONSTOP | MB_SETFOREGROUND;  // 0x10010

// The account count of the Account list; with none (0 or -1) only the "No email accounts found"
// box is shown.
int SendLocationEmail();
void SendLocationSms();
