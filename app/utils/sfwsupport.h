// Messaging support: the list of messaging accounts, read from the platform's message stores.
#pragma once

#include <pda.h>

constexpr int ACCOUNT_LIST_MAX = 10;
constexpr int ACCOUNT_NAME_CHARS = 128;

// Logs on to the messaging store and copies the display names of up to ACCOUNT_LIST_MAX stores,
// in table order and cut to ACCOUNT_NAME_CHARS - 1 characters, into the caller's zeroed
// entries. Returns the number of names, or -1 when the store was unusable (one debug-output
// line then says which call failed).
int ListMailAccounts(WCHAR (*pszNames)[ACCOUNT_NAME_CHARS]);
