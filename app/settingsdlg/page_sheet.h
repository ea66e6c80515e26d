// The settings sheet: a modal, full-screen property sheet titled "Settings" with the Email
// settings, SMS settings and About pages, one at a time. It edits a working copy of a Settings
// record and copies it back only on "Ok". Its own tab strip and Done button are hidden: the
// user moves with "<< Back" and "Next >>" along the bottom and closes with the soft keys
// "Cancel" and "Ok".
#pragma once

#include <pda.h>

#include "settings/settings_record.h"

constexpr int SHEET_PAGE_COUNT = 3;
constexpr UINT IDC_SHEET_BACK = 19473;
constexpr UINT IDC_SHEET_NEXT = 19474;
constexpr int SHEET_CONFIRMED = 0;
constexpr int SHEET_CANCELLED = -1;
constexpr int SHEET_FAILED = -101;
constexpr int SHEET_VERSION = 0x20E;

// Modal: returns when the sheet has closed, with SHEET_CONFIRMED, SHEET_CANCELLED or
// SHEET_FAILED (the record is then untouched).
int ShowSettingsSheet(HWND hwndOwner, HINSTANCE hinst, SettingsRecord* settings, int startPage);

int SettingsSheetCallback(HWND hwnd, UINT message, LPARAM lParam);
LRESULT SettingsSheetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
