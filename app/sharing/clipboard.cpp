#include "sharing/clipboard.h"

#include <cstring>

#include "position/coordinate_text.h"
#include "position/snapshot_listener.h"

void CopyLocationToClipboard(HWND owner) {
  WCHAR text[COORDINATE_TEXT_CHARS];
  std::memset(text, 0, sizeof text);
  const GPS_POSITION position = CopySnapshotPosition();
  FormatCoordinateText(position.dblLatitude, position.dblLongitude, text);
  PutClipboardText(owner, text);
}

int PutClipboardText(HWND owner, LPCWSTR text) {
  if (!OpenClipboard(owner)) return 0;
  EmptyClipboard();
  const SIZE_T bytes = (static_cast<SIZE_T>(lstrlenW(text)) + 1) * sizeof(WCHAR);
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!block) {
    CloseClipboard();
    return 0;
  }
  std::memcpy(GlobalLock(block), text, bytes);
  GlobalUnlock(block);
  int result = 1;
  if (!SetClipboardData(CF_UNICODETEXT, block)) {
    GlobalFree(block);
    result = 0;
  }
  CloseClipboard();
  return result;
}
