// The window manager: window classes, windows and their procedures, the thread message queue,
// sending, timers, focus and activation, accelerators, update regions and the single-instance
// lookup of a window across processes.
//
// Sections: geometry records | messages | styles | classes and windows | window data |
//           placement | visibility and state | focus and activation | stylus capture |
//           message queue | keyboard | timers | accelerators | update regions | painting |
//           scroll bars | lookup | system metrics
#pragma once

#include "pda/kernel.h"
#include "pda/message_list.h"

// ---- geometry records ----------------------------------------------------------------------
// POINT, RECT and SIZE are in pda/types.h (shared with the drawing library).
constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr WPARAM MAKEWPARAM(WORD low, WORD high) {
  return static_cast<WPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}
constexpr LPARAM MAKELPARAM(WORD low, WORD high) {
  return static_cast<LPARAM>(static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16));
}

using WNDPROC = LRESULT (*)(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
using LPMSG = MSG*;

// ---- messages ------------------------------------------------------------------------------
// The window messages and their names come from one list (pda/message_list.h).
PDA_WINDOW_MESSAGES(PDA_MESSAGE_CONSTANT)
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;

// WM_NOTIFY: lParam points at a record that starts with this header; wParam is the sender's id.
struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
using LPNMHDR = NMHDR*;

// WM_SIZE first parameter.
constexpr WPARAM SIZE_RESTORED = 0;
// WM_ACTIVATE first parameter (low word).
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;
// WM_SETTINGCHANGE first parameter when the screen was reset or rotated.
constexpr WPARAM SETTINGCHANGE_RESET = 0x3002;

// ---- styles --------------------------------------------------------------------------------
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_POPUP = 0x80000000;
// A window whose children take part in its parent dialog's tab order (a DS_CONTROL dialog).
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
// A top-level window that is never activated (the shell's bars and input panel).
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_PARENTDC = 0x0080;

constexpr int CW_USEDEFAULT = static_cast<int>(0x80000000u);

// ---- classes and windows -------------------------------------------------------------------
constexpr DWORD ERROR_INVALID_WINDOW_HANDLE = 1400;
constexpr DWORD ERROR_INVALID_INDEX = 1413;
constexpr DWORD ERROR_CLASS_ALREADY_EXISTS = 1410;
constexpr DWORD ERROR_CLASS_DOES_NOT_EXIST = 1411;
constexpr DWORD ERROR_TLW_WITH_WSCHILD = 1406;
constexpr DWORD ERROR_INVALID_ACCEL_HANDLE = 1403;
constexpr DWORD ERROR_RESOURCE_NAME_NOT_FOUND = 1814;
constexpr DWORD ERROR_CONTROL_ID_NOT_FOUND = 1421;

struct CREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HANDLE hMenu;
  HWND hwndParent;
  int cy;
  int cx;
  int y;
  int x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
};
using LPCREATESTRUCTW = CREATESTRUCTW*;

struct WNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  std::uint32_t hIcon;
  std::uint32_t hCursor;
  std::uint32_t hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
};

using ATOM = WORD;
// A second registration of a name already registered is refused with ERROR_CLASS_ALREADY_EXISTS.
ATOM RegisterClassW(const WNDCLASSW* windowClass);
BOOL UnregisterClassW(LPCWSTR className, HINSTANCE instance);
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR className, WNDCLASSW* windowClass);
// The class name of a window; returns characters copied.
int GetClassNameW(HWND window, LPWSTR buffer, int size);

// CW_USEDEFAULT for a top-level window: the screen below the navigation bar (position and size
// independently); for a child: position 0,0, size 0x0. WM_CREATE gets the CREATESTRUCTW; a
// creation result of -1 destroys the window and this returns null. A parent without WS_CHILD
// is the new window's owner. The window belongs to the calling thread.
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x,
                     int y, int width, int height, HWND parent, HANDLE menu, HINSTANCE instance,
                     LPVOID parameter);
inline HWND CreateWindowW(LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y,
                          int width, int height, HWND parent, HANDLE menu, HINSTANCE instance,
                          LPVOID parameter) {
  return CreateWindowExW(0, className, windowName, style, x, y, width, height, parent, menu,
                         instance, parameter);
}
// Destroys the windows it owns, then itself: WM_DESTROY to the window before its children; the
// handles are stale afterwards. Only the window's own thread may destroy it.
BOOL DestroyWindow(HWND window);
BOOL IsWindow(HWND window);
LRESULT DefWindowProcW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC procedure, HWND window, UINT message, WPARAM wParam,
                        LPARAM lParam);

constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;
// The parent of a child window; the owner of a top-level window.
HWND GetParent(HWND window);
// Siblings in z-order, topmost first.
HWND GetWindow(HWND window, UINT relation);
BOOL IsChild(HWND parent, HWND window);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND window);
DWORD GetWindowThreadProcessId(HWND window, LPDWORD processId);

// ---- window data ---------------------------------------------------------------------------
constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWLP_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_USERDATA = -21;
constexpr int GWL_WNDPROC = GWLP_WNDPROC;
constexpr int GWL_ID = GWLP_ID;
constexpr int GWL_USERDATA = GWLP_USERDATA;
// Dialog slot in the window's extra bytes: the result of a dialog or page procedure.
constexpr int DWLP_MSGRESULT = 0;
constexpr int DWL_MSGRESULT = DWLP_MSGRESULT;

// Non-negative indexes address the window's extra bytes (cbWndExtra), pointer-sized.
LONG_PTR GetWindowLongPtrW(HWND window, int index);
LONG_PTR SetWindowLongPtrW(HWND window, int index, LONG_PTR value);
LONG GetWindowLongW(HWND window, int index);
LONG SetWindowLongW(HWND window, int index, LONG value);

BOOL SetWindowTextW(HWND window, LPCWSTR text);
int GetWindowTextW(HWND window, LPWSTR buffer, int size);
int GetWindowTextLengthW(HWND window);

// ---- placement -----------------------------------------------------------------------------
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
inline constexpr HWND HWND_TOP{0u};
inline constexpr HWND HWND_BOTTOM{1u};

// Sends WM_MOVE when the position changes and WM_SIZE (the client size) when the size changes.
BOOL SetWindowPos(HWND window, HWND insertAfter, int x, int y, int width, int height, UINT flags);
BOOL MoveWindow(HWND window, int x, int y, int width, int height, BOOL repaint);
BOOL BringWindowToTop(HWND window);
// In screen coordinates.
BOOL GetWindowRect(HWND window, LPRECT rect);
// The client rectangle is the window's, at 0,0, less the vertical scroll bar of a WS_VSCROLL
// window on its right (SM_CXVSCROLL wide). A change of WS_VSCROLL through SetWindowLongW takes
// effect at SetWindowPos with SWP_FRAMECHANGED (WM_SIZE follows when the client size changed).
// The client origin is always the window's top-left corner.
BOOL GetClientRect(HWND window, LPRECT rect);
BOOL ClientToScreen(HWND window, LPPOINT point);
BOOL ScreenToClient(HWND window, LPPOINT point);
// Null stands for the screen. Returns the horizontal offset in the low word and the vertical in
// the high word (each as a 16-bit signed value).
int MapWindowPoints(HWND from, HWND to, LPPOINT points, UINT count);

// ---- visibility and state ------------------------------------------------------------------
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_SHOWNA = 8;

// Returns whether the window was visible before.
BOOL ShowWindow(HWND window, int command);
// False when the window or any of its ancestors is hidden.
BOOL IsWindowVisible(HWND window);
// Returns whether the window was disabled before. WM_ENABLE on a change.
BOOL EnableWindow(HWND window, BOOL enable);
BOOL IsWindowEnabled(HWND window);

// ---- focus and activation ------------------------------------------------------------------
// WM_KILLFOCUS (first parameter: the new focus) to the old focus window, WM_SETFOCUS (first
// parameter: the old) to the new. Activates the new focus window's top-level window. Returns the
// old focus window; null (and no change) for a disabled or unknown window.
HWND SetFocus(HWND window);
HWND GetFocus();
// Activates the top-level window of the given one: WM_ACTIVATE WA_INACTIVE to the old, WA_ACTIVE
// to the new (second parameter: the other window), raises it, gives it the focus unless the focus
// is already inside it. A window found in another process is activated there.
BOOL SetForegroundWindow(HWND window);
HWND GetForegroundWindow();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND window);

// ---- stylus capture ------------------------------------------------------------------------
// While a window has the capture, every stylus message (down, move, up) goes to it, in its client
// coordinates, wherever the point is. One window holds it for the whole stylus. The window losing
// it gets WM_CAPTURECHANGED (second parameter: the window gaining it, or null): on SetCapture by
// another window, on ReleaseCapture, and when it is destroyed or hidden.
// Returns the window that had the capture before; null (and no change) for an unknown window.
HWND SetCapture(HWND window);
BOOL ReleaseCapture();
HWND GetCapture();
// The first parameter of WM_LBUTTONDOWN and WM_MOUSEMOVE: the buttons held. A press made with a
// mouse's secondary button comes as WM_LBUTTONDOWN with MK_RBUTTON as well (a tap-and-hold at
// once, for SHRecognizeGesture).
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;

// ---- message queue -------------------------------------------------------------------------
// One queue per thread, made on first use. PostMessageW is safe from any thread and wakes the
// owning thread's GetMessageW at once. GetMessageW returns, in this order: sent messages are
// handled inside it, then posted messages, then WM_QUIT, then WM_PAINT for a window with an
// update region, then WM_TIMER for a due timer; it sleeps until one of them is there.
BOOL PostMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessageW(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam);
// From the window's thread: a direct call. From another thread: queued to the window's thread;
// the sender waits (answering messages sent to it meanwhile) until it has been handled.
LRESULT SendMessageW(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// 0 for WM_QUIT, -1 when the window filter is not a window, else TRUE.
BOOL GetMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax);
constexpr UINT PM_NOREMOVE = 0x0;
constexpr UINT PM_REMOVE = 0x1;
BOOL PeekMessageW(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags);
// Sleeps until the queue has something GetMessageW would return (a sent message is handled
// inside it); at once when something is there already.
BOOL WaitMessage();
// WM_KEYDOWN of a character key posts WM_CHAR with the character (Ctrl+letter gives 1..26).
BOOL TranslateMessage(const MSG* message);
// Calls the window's procedure; WM_TIMER with a timer routine in the second parameter calls the
// routine instead.
LRESULT DispatchMessageW(const MSG* message);
void PostQuitMessage(int exitCode);
// A message number unique to the name, for messages agreed between windows (0xC000..0xFFFF).
UINT RegisterWindowMessageW(LPCWSTR name);

// ---- keyboard ------------------------------------------------------------------------------
// The stylus's buttons as keys: down while the stylus press being handled is (VK_RBUTTON: a
// press made with the secondary button of a mouse, which also comes as WM_LBUTTONDOWN).
constexpr int VK_LBUTTON = 0x01;
constexpr int VK_RBUTTON = 0x02;
constexpr int VK_BACK = 0x08;
constexpr int VK_TAB = 0x09;
constexpr int VK_RETURN = 0x0D;
constexpr int VK_SHIFT = 0x10;
constexpr int VK_CONTROL = 0x11;
constexpr int VK_MENU = 0x12;
constexpr int VK_ESCAPE = 0x1B;
constexpr int VK_SPACE = 0x20;
constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_LEFT = 0x25;
constexpr int VK_UP = 0x26;
constexpr int VK_RIGHT = 0x27;
constexpr int VK_DOWN = 0x28;
constexpr int VK_DELETE = 0x2E;
constexpr int VK_F1 = 0x70;
constexpr int VK_F2 = 0x71;
constexpr int VK_F3 = 0x72;
constexpr int VK_F4 = 0x73;
constexpr int VK_F5 = 0x74;
constexpr int VK_F6 = 0x75;
constexpr int VK_F7 = 0x76;
constexpr int VK_F8 = 0x77;
constexpr int VK_F9 = 0x78;
constexpr int VK_F10 = 0x79;
constexpr int VK_F11 = 0x7A;
constexpr int VK_F12 = 0x7B;
constexpr int VK_LSHIFT = 0xA0;
constexpr int VK_RSHIFT = 0xA1;
constexpr int VK_LCONTROL = 0xA2;
constexpr int VK_RCONTROL = 0xA3;
constexpr int VK_LMENU = 0xA4;
constexpr int VK_RMENU = 0xA5;
constexpr int VK_OEM_1 = 0xBA;       // ;:
constexpr int VK_OEM_PLUS = 0xBB;    // =+
constexpr int VK_OEM_COMMA = 0xBC;   // ,<
constexpr int VK_OEM_MINUS = 0xBD;   // -_
constexpr int VK_OEM_PERIOD = 0xBE;  // .>
constexpr int VK_OEM_2 = 0xBF;       // /?
// A key message that carries a typed character (WM_CHAR follows); TranslateMessage leaves it.
constexpr int VK_PACKET = 0xE7;

// The state of a key as of the last key message retrieved from a queue: the high bit (the value
// is negative) when down. VK_CONTROL, VK_SHIFT and VK_MENU follow either of their two keys;
// VK_LBUTTON and VK_RBUTTON follow the button bits of the last stylus message retrieved.
SHORT GetKeyState(int virtualKey);
SHORT GetAsyncKeyState(int virtualKey);

// ---- timers --------------------------------------------------------------------------------
// Timers run on the platform's tick clock and fire as WM_TIMER on the thread of their window
// (or of the caller, for a thread timer with a null window, whose id is chosen by the call).
using TIMERPROC = void (*)(HWND window, UINT message, UINT_PTR id, DWORD time);
constexpr UINT USER_TIMER_MINIMUM = 10;
UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT milliseconds, TIMERPROC timerProc);
BOOL KillTimer(HWND window, UINT_PTR id);

// ---- accelerators --------------------------------------------------------------------------
struct AcceleratorHandleTag;
using HACCEL = Handle<AcceleratorHandleTag>;

constexpr BYTE FVIRTKEY = 0x01;
constexpr BYTE FNOINVERT = 0x02;
constexpr BYTE FSHIFT = 0x04;
constexpr BYTE FCONTROL = 0x08;
constexpr BYTE FALT = 0x10;

struct ACCEL {
  BYTE fVirt;
  WORD key;
  WORD cmd;
};
static_assert(sizeof(ACCEL) == 6);

HACCEL CreateAcceleratorTableW(const ACCEL* entries, int count);
BOOL DestroyAcceleratorTable(HACCEL table);
// A table from the program's resources (by number, MAKEINTRESOURCEW). Tables loaded this way
// live as long as the program; they need not be destroyed.
HACCEL LoadAcceleratorsW(HINSTANCE instance, LPCWSTR name);
// A WM_KEYDOWN (to whatever window) whose key and Ctrl/Shift/Alt state match an entry sends
// WM_COMMAND (MAKEWPARAM(cmd, 1), 0) to the given window and returns TRUE.
int TranslateAcceleratorW(HWND window, HACCEL table, const MSG* message);

inline LPWSTR MAKEINTRESOURCEW(WORD id) {
  return reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(id));
}
inline bool IS_INTRESOURCE(LPCWSTR name) {
  return (reinterpret_cast<ULONG_PTR>(name) >> 16) == 0;
}

// ---- update regions ------------------------------------------------------------------------
// A window's update region is kept in client coordinates and clipped to its visible area (the
// window minus its visible children and the visible siblings above it, within its ancestors).
// A null window invalidates every window; a null rectangle means the whole client area.
BOOL InvalidateRect(HWND window, LPCRECT rect, BOOL erase);
BOOL ValidateRect(HWND window, LPCRECT rect);
BOOL GetUpdateRect(HWND window, LPRECT rect, BOOL erase);
// Sends WM_PAINT at once when the update region is not empty.
BOOL UpdateWindow(HWND window);

// ---- painting ------------------------------------------------------------------------------
// Contexts on the screen at the window's client origin, clipped to what of the window shows
// (its children and the siblings above it are left out). What they draw reaches the screen
// when the paint ends or the context is released.
struct DeviceContextTag;
using HDC = Handle<DeviceContextTag>;  // the drawing library's context (pda/gdi.h)

struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;   // the background still needs erasing (WM_ERASEBKGND did not erase it)
  RECT rcPaint;  // client coordinates: the bounds of the area to paint
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
using LPPAINTSTRUCT = PAINTSTRUCT*;
static_assert(sizeof(PAINTSTRUCT) == 64);

// Takes the update region (the window is then valid), sends WM_ERASEBKGND (first parameter:
// the context) when the region was invalidated with erase, and returns a context clipped to the
// update region. DefWindowProcW erases with the class background brush.
HDC BeginPaint(HWND window, LPPAINTSTRUCT paint);
BOOL EndPaint(HWND window, const PAINTSTRUCT* paint);
// A null window gives the whole screen (for GetDeviceCaps and CreateCompatibleDC).
HDC GetDC(HWND window);
// The same as GetDC: the context reaches the whole window, its scroll bar too.
HDC GetWindowDC(HWND window);
// Returns 1 when the context was released.
int ReleaseDC(HWND window, HDC dc);

// ---- scroll bars ---------------------------------------------------------------------------
// A WS_VSCROLL window has a vertical bar beside its client area: arrows at both ends and a thumb
// on the track between them, drawn by the platform. Stylus use of it sends the window WM_VSCROLL
// (LOWORD(wParam) the request, HIWORD the position for SB_THUMBTRACK and SB_THUMBPOSITION,
// lParam 0): an arrow asks for a line, the track beside the thumb for a page, dragging the thumb
// (which holds the capture) for SB_THUMBTRACK at each move and SB_THUMBPOSITION at the lift;
// every press ends with SB_ENDSCROLL. The window moves itself and answers with SetScrollInfo.
// SetScrollInfo shows and hides the bar: new values with something to scroll give the window
// WS_VSCROLL (not a change of the page alone), new values with nothing to scroll take it away
// unless SIF_DISABLENOSCROLL keeps it, drawn without a thumb. Either way the frame is recomputed.
struct SCROLLINFO {
  UINT cbSize;  // sizeof(SCROLLINFO), 28
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
using LPSCROLLINFO = SCROLLINFO*;
using LPCSCROLLINFO = const SCROLLINFO*;
static_assert(sizeof(SCROLLINFO) == 28);

constexpr UINT SIF_RANGE = 0x1;
constexpr UINT SIF_PAGE = 0x2;
constexpr UINT SIF_POS = 0x4;
constexpr UINT SIF_DISABLENOSCROLL = 0x8;
constexpr UINT SIF_TRACKPOS = 0x10;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr int SB_CTL = 2;

// WM_VSCROLL requests.
constexpr WORD SB_LINEUP = 0;
constexpr WORD SB_LINEDOWN = 1;
constexpr WORD SB_PAGEUP = 2;
constexpr WORD SB_PAGEDOWN = 3;
constexpr WORD SB_THUMBPOSITION = 4;
constexpr WORD SB_THUMBTRACK = 5;
constexpr WORD SB_TOP = 6;
constexpr WORD SB_BOTTOM = 7;
constexpr WORD SB_ENDSCROLL = 8;

// WM_NCLBUTTONDOWN (wParam the part hit, lParam the screen point): the stylus went down on the
// window's scroll bar; DefWindowProcW follows the stylus there until it is lifted.
constexpr WPARAM HTVSCROLL = 7;

// SB_VERT only. The page is cut to the range's size and the position kept within
// [nMin, nMax - max(nPage - 1, 0)]. Returns the position now.
int SetScrollInfo(HWND window, int bar, LPCSCROLLINFO info, BOOL redraw);
// FALSE for a window that never had a bar nor values, or a record whose cbSize is not 28.
// SIF_TRACKPOS gives the thumb's place while it is dragged (the position otherwise).
BOOL GetScrollInfo(HWND window, int bar, LPSCROLLINFO info);

constexpr UINT SW_SCROLLCHILDREN = 0x1;
constexpr UINT SW_INVALIDATE = 0x2;
constexpr UINT SW_ERASE = 0x4;
// Scrolls the client area by dx, dy: with SW_SCROLLCHILDREN the child windows that meet
// `scroll` (all of them when null) move by the same amount; with SW_INVALIDATE the client area
// within `clip` (all of it when null) is to be painted again, and `updateRect` gets its bounds.
// `update` must be null. Returns SIMPLEREGION, NULLREGION when nothing moved, ERROR for a bad
// window (the region results of pda/gdi.h).
struct RegionTag;
using HRGN = Handle<RegionTag>;  // the drawing library's region (pda/gdi.h)
int ScrollWindowEx(HWND window, int dx, int dy, LPCRECT scroll, LPCRECT clip, HRGN update,
                   LPRECT updateRect, UINT flags);

// ---- lookup --------------------------------------------------------------------------------
// A top-level window by class and title (null matches any). When both are given and no window of
// this process matches, running processes of the same device are asked too; the handle then
// stands for the other process's window (SetForegroundWindow and IsWindow work on it).
HWND FindWindowW(LPCWSTR className, LPCWSTR windowName);

// ---- system metrics ------------------------------------------------------------------------
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
int GetSystemMetrics(int index);
