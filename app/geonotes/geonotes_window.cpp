// The GeoNotes editor (see geonotes_window.h).
//
// Sections: module state | opening | the editor's procedure | message routines | the table
#include "geonotes/geonotes_window.h"

#include <cstring>

#include "geonotes/geonote_file.h"
#include "position/position_lock.h"
#include "position/snapshot_listener.h"
#include "resources/resource_ids.h"
#include "shell/globals.h"
#include "shell/main_window.h"
#include "shell/shell_services.h"
#include "utils/copy_paste_menu.h"
#include "utils/message_table.h"

namespace {

// ---- module state: one editor at a time -----------------------------------------------------
struct GeoNotesModule {
  GPS_POSITION position;  // copied when the editor opens; the header's coordinates
  GeoNoteNames names;     // folder, file path and header, made when the editor is created
  HWND hwndEditor;
  HWND hwndMenuBar;
  WNDPROC pfnEditProc;    // the rich-ink control's own procedure
  int wrapSetting;
  int viewSetting;
};
GeoNotesModule g_GeoNote;

// The editor's whole content, streamed out in the control's document format.
DWORD StreamEditorOut(HWND hwndEditor, DWORD_PTR dwCookie, GeoNoteChunkWriter writer) {
  EDITSTREAM stream = {dwCookie, 0, writer};
  SendMessageW(hwndEditor, EM_STREAMOUT, SF_PWI, reinterpret_cast<LPARAM>(&stream));
  return stream.dwError;
}

}  // namespace

// ---- the editor's procedure -----------------------------------------------------------------
LRESULT GeoNoteEditProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  HandleCopyPasteInput(hwnd, message, lParam);
  return CallWindowProcW(g_GeoNote.pfnEditProc, hwnd, message, wParam, lParam);
}

namespace {

// ---- message routines -----------------------------------------------------------------------
void CreateEditor(HWND hwnd) {
  RECT client;
  GetClientRect(hwnd, &client);
  g_GeoNote.hwndEditor =
      CreateWindowExW(0, WC_RICHINKW, nullptr, GEONOTES_EDITOR_STYLE, client.left, client.top,
                      client.right - client.left, client.bottom - client.top, hwnd, HANDLE{},
                      g_hInstance, nullptr);
  if (!g_GeoNote.hwndEditor) return;
  g_GeoNote.pfnEditProc = reinterpret_cast<WNDPROC>(
      GetWindowLongPtrW(g_GeoNote.hwndEditor, GWLP_WNDPROC));
  SetWindowLongPtrW(g_GeoNote.hwndEditor, GWLP_WNDPROC,
                    reinterpret_cast<LONG_PTR>(GeoNoteEditProc));
}

void SetUpEditor(HWND editor) {
  g_GeoNote.wrapSetting = 1;
  g_GeoNote.viewSetting = 0;
  SendMessageW(editor, EM_SETPENMODE, g_GeoNote.wrapSetting, 0);
  SendMessageW(editor, EM_SETVIEW, g_GeoNote.viewSetting, 0);
  MakeGeoNoteNames(g_GeoNote.position.dblLatitude, g_GeoNote.position.dblLongitude,
                   &g_GeoNote.names);
  SetWindowTextW(editor, g_GeoNote.names.header);
  SetFocus(editor);
  const int length = lstrlenW(g_GeoNote.names.header);
  SendMessageW(editor, EM_SETSEL, length, length);
  SendMessageW(editor, EM_SETSEL, static_cast<WPARAM>(-1), -1);
  SendMessageW(editor, EM_SETPAGESTYLE, PS_RULEDLINES, 0);
  SendMessageW(editor, EM_SETZOOMPERCENT, 0, 150);
  SendMessageW(editor, EM_CANPASTE, 0, 0);
  SendMessageW(editor, EM_CANUNDO, 0, 0);
  SendMessageW(editor, EM_CANREDO, 0, 0);
}

LRESULT OnCreate(HWND hwnd, UINT, WPARAM, LPARAM) {
  g_GeoNote.hwndEditor = HWND{};
  g_GeoNote.pfnEditProc = nullptr;
  std::memset(&g_GeoNote.names, 0, sizeof g_GeoNote.names);
  g_GeoNote.hwndMenuBar = BuildMenuBar(hwnd, g_hInstance, IDR_GEONOTES_MENU, true);
  if (!g_GeoNote.hwndMenuBar) return 0;
  CreateEditor(hwnd);
  if (g_GeoNote.hwndEditor) SetUpEditor(g_GeoNote.hwndEditor);
  return 0;
}

LRESULT OnDestroy(HWND hwnd, UINT, WPARAM, LPARAM) {
  SHSipPreference(hwnd, SIP_FORCEDOWN);
  return 1;
}

LRESULT OnActivate(HWND hwnd, UINT, WPARAM wParam, LPARAM lParam) {
  return HandleActivate(hwnd, wParam, lParam);
}

LRESULT OnEraseBackground(HWND, UINT, WPARAM, LPARAM) { return 1; }

LRESULT OnSettingChange(HWND hwnd, UINT, WPARAM wParam, LPARAM) {
  if (wParam != SETTINGCHANGE_RESET && wParam != SPI_SETSIPINFO) return 0;
  RECT area;
  GetClientRect(GetParent(hwnd), &area);
  area.bottom -= InputPanelHeight();
  const int width = area.right - area.left, height = area.bottom - area.top;
  MoveWindow(hwnd, area.left, area.top, width, height, FALSE);
  if (g_GeoNote.hwndEditor) MoveWindow(g_GeoNote.hwndEditor, area.left, area.top, width, height, FALSE);
  return 0;
}

// Destroys the editor, then the soft keys, then the window; the Main window shows again.
LRESULT CloseGeoNotes(HWND hwnd, WORD, LPARAM, WORD) {
  if (g_GeoNote.hwndEditor) DestroyWindow(g_GeoNote.hwndEditor);
  if (g_GeoNote.hwndMenuBar) DestroyWindow(g_GeoNote.hwndMenuBar);
  g_GeoNote.hwndEditor = HWND{};
  g_GeoNote.hwndMenuBar = HWND{};
  DestroyWindow(hwnd);
  return 0;
}

// A save that fails has shown its box; the editor stays open with the text, so that the user
// can try again or copy it.
LRESULT OnSave(HWND hwnd, WORD command, LPARAM lParam, WORD notification) {
  if (!SaveGeoNote(g_GeoNote.names, g_GeoNote.hwndEditor, StreamEditorOut)) return 0;
  return CloseGeoNotes(hwnd, command, lParam, notification);
}

constexpr CommandRow kCommands[] = {
    {IDOK,       OnSave},
    {IDM_OK,     OnSave},
    {IDCANCEL,   CloseGeoNotes},
    {IDM_CANCEL, CloseGeoNotes},
};

LRESULT OnCommand(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  bool found = false;
  const LRESULT result = DispatchCommandRows(kCommands, hwnd, wParam, lParam, &found);
  return found ? result : DefWindowProcW(hwnd, message, wParam, lParam);
}

// ---- the table ------------------------------------------------------------------------------
constexpr MessageRow kMessages[] = {
    {WM_CREATE,        OnCreate},
    {WM_DESTROY,       OnDestroy},
    {WM_ACTIVATE,      OnActivate},
    {WM_ERASEBKGND,    OnEraseBackground},
    {WM_SETTINGCHANGE, OnSettingChange},
    {WM_COMMAND,       OnCommand},
};

}  // namespace

LRESULT GeoNotesWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return DispatchMessageRows(kMessages, hwnd, message, wParam, lParam);
}

HWND CreateGeoNotesWindow(HWND hwndOwner, HINSTANCE hinst, GPS_POSITION position) {
  g_GeoNote.position = position;
  WNDCLASSW wc = {};
  wc.style = GEONOTES_CLASS_STYLE;
  wc.lpfnWndProc = GeoNotesWndProc;
  wc.hInstance = hinst;
  wc.hbrBackground = GetStockObject(BLACK_BRUSH).value;
  wc.lpszClassName = GEONOTES_CLASS_NAME;
  RegisterClassW(&wc);  // already registered by an earlier editor: fine
  RECT rect;
  GetWindowRect(hwndOwner, &rect);
  return CreateWindowExW(0, GEONOTES_CLASS_NAME, nullptr, GEONOTES_WINDOW_STYLE, CW_USEDEFAULT,
                         CW_USEDEFAULT, rect.right - rect.left, rect.bottom - rect.top, hwndOwner,
                         HANDLE{}, hinst, nullptr);
}

void OpenGeoNotes() {
  // Held until the editor, its soft keys and its header exist.
  const PositionLockGuard lock;
  const GPS_POSITION position = g_pSnapshotListener->snapshot.gpsPosition;
  g_hwndGeoNotes = CreateGeoNotesWindow(g_hWndMain, g_hInstance, position);
}
