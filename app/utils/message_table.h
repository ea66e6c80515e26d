// The window procedures' tables: {message, routine} and {command, routine} rows, searched in
// order by the two dispatchers below. A message without a row goes to DefWindowProc (or to the
// fallback given: a dialog's answers "not handled", a subclass passes it on); a command without
// a row does nothing and returns 0.
#pragma once

#include <cstddef>

#include <pda.h>

struct MessageRow {
  UINT message;
  LRESULT (*routine)(HWND, UINT, WPARAM, LPARAM);
};

struct CommandRow {
  WORD command;
  LRESULT (*routine)(HWND, WORD, LPARAM, WORD);
};

template <std::size_t N>
LRESULT DispatchMessageRows(const MessageRow (&rows)[N], HWND hwnd, UINT message, WPARAM wParam,
                            LPARAM lParam, WNDPROC fallback = DefWindowProcW) {
  for (const MessageRow& row : rows) {
    if (row.message == message) return row.routine(hwnd, message, wParam, lParam);
  }
  return fallback(hwnd, message, wParam, lParam);
}

// The fallback of dialog and page procedures.
inline LRESULT NotHandled(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// found is set when a row answered the command.
template <std::size_t N>
LRESULT DispatchCommandRows(const CommandRow (&rows)[N], HWND hwnd, WPARAM wParam, LPARAM lParam,
                            bool* found = nullptr) {
  const WORD command = static_cast<WORD>(wParam & 0xFFFF);
  const WORD notification = static_cast<WORD>((wParam >> 16) & 0xFFFF);
  for (const CommandRow& row : rows) {
    if (row.command == command) {
      if (found) *found = true;
      return row.routine(hwnd, command, lParam, notification);
    }
  }
  if (found) *found = false;
  return 0;
}
