// One shape for every platform window (bars, input panel, message box, controls, dialogs): a
// state record made at WM_CREATE and freed after WM_DESTROY, kept in the window's first extra
// slot (a dialog, whose first slots are public, keeps it in a later one), and a short table of
// {message, handler} rows searched in order; a message without a row, or any message before the
// record exists, goes to DefWindowProc. Painting goes through a paint scope (PaintThrough), so
// the painter itself only draws into the DC it is given.
//
// A state record type S has a member `HWND window` and
//   static std::unique_ptr<S> Create(HWND window, const CREATESTRUCTW& create);
// which may refuse the window by returning null (CreateWindowEx then fails).
//
// A handler may destroy its own window (an owner answering a command, say); after the handler
// returns the dispatcher touches the record only when the message was WM_DESTROY itself.
#pragma once

#include <memory>

#include "pda/owners.h"
#include "pda/user.h"

namespace pda::user {

template <class State>
struct Route {
  UINT message;
  LRESULT (*handler)(State& state, WPARAM wParam, LPARAM lParam);
};

// kSlot: the extra-byte offset that holds the record (0 unless the first slots are public).
template <class State, int kSlot = 0>
State* ShapedState(HWND window) {
  return reinterpret_cast<State*>(GetWindowLongPtrW(window, kSlot));
}

template <class State, const auto& kRoutes, int kSlot = 0>
LRESULT ShapedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_CREATE) {
    std::unique_ptr<State> state =
        State::Create(window, *reinterpret_cast<const CREATESTRUCTW*>(lParam));
    if (!state) return -1;
    SetWindowLongPtrW(window, kSlot, reinterpret_cast<LONG_PTR>(state.release()));
    return 0;
  }
  State* state = ShapedState<State, kSlot>(window);
  if (!state) return DefWindowProcW(window, message, wParam, lParam);
  const Route<State>* route = nullptr;
  for (const Route<State>& row : kRoutes)
    if (row.message == message) {
      route = &row;
      break;
    }
  const LRESULT result = route ? route->handler(*state, wParam, lParam)
                               : DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_DESTROY) {
    SetWindowLongPtrW(window, kSlot, 0);
    delete state;
  }
  return result;
}

// A class whose procedure keeps a shaped record in its one extra slot (a window that answers a
// few messages itself and passes the rest to a shaped procedure). True when registered now or
// already.
inline bool RegisterSlotClass(LPCWSTR name, WNDPROC procedure, UINT style = 0,
                              HINSTANCE instance = HINSTANCE{}) {
  WNDCLASSW existing{};
  if (GetClassInfoW(instance, name, &existing)) return true;
  WNDCLASSW wc{};
  wc.style = style;
  wc.lpfnWndProc = procedure;
  wc.cbWndExtra = sizeof(LONG_PTR);
  wc.hInstance = instance;
  wc.lpszClassName = name;
  // Another thread may have registered it meanwhile; that is as good.
  return RegisterClassW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

// The class of a shaped window: its procedure, and the one extra slot for the record. True when
// registered now or already.
template <class State, const auto& kRoutes>
bool RegisterShapedClass(LPCWSTR name, UINT style = 0, HINSTANCE instance = HINSTANCE{}) {
  return RegisterSlotClass(name, ShapedProcedure<State, kRoutes>, style, instance);
}

// The WM_PAINT row: paint(state, dc, client rectangle) inside a paint scope.
template <class State, void (*Paint)(State&, HDC, const RECT&)>
LRESULT PaintThrough(State& state, WPARAM, LPARAM) {
  PaintScope scope(state.window);
  RECT client{};
  GetClientRect(state.window, &client);
  Paint(state, scope.dc(), client);
  return 0;
}

// The stylus point of a WM_LBUTTON*/WM_MOUSEMOVE message, in client coordinates.
inline POINT StylusPoint(LPARAM lParam) {
  return {static_cast<SHORT>(LOWORD(static_cast<WPARAM>(lParam))),
          static_cast<SHORT>(HIWORD(static_cast<WPARAM>(lParam)))};
}

}  // namespace pda::user
