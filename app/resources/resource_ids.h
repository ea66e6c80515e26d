// The program's resource and command numbers.
#pragma once

// Menus: two top-level items each, which the shell turns into the left and right soft keys.
constexpr unsigned IDR_MAIN_MENU = 40001;       // "Exit" | "Settings"
constexpr unsigned IDR_SHEET_MENU = 40004;      // "Cancel" | "Ok"
constexpr unsigned IDR_GEONOTES_MENU = 40005;   // "Cancel" | "Save"
constexpr unsigned IDR_ACCELERATORS = 40997;

// Commands.
constexpr unsigned IDM_SETTINGS = 2000;
constexpr unsigned IDM_EXIT = 40100;
constexpr unsigned IDM_CANCEL = 40110;
constexpr unsigned IDM_OK = 40120;
constexpr unsigned IDM_TOGGLE_TEXT_PANE = 40998;
constexpr unsigned IDM_CLEAR_TEXT_PANE = 40999;

// Icon groups.
constexpr unsigned IDI_APPLICATION_ICON = 97;
constexpr unsigned IDI_NOTIFY = 98;
constexpr unsigned IDI_NOTIFY_HIGHRES = 99;

// Controls.
constexpr unsigned IDC_TEXT_PANE = 50321;
