// Shell_NotifyIcon and the list of icons.
#include "shell/notify_icons.h"

#include <algorithm>
#include <mutex>

#include "resources/icons.h"
#include "shell/navigation_bar.h"

namespace pda::shell {
namespace {

struct Entry {
  NotifyIcon icon;
  std::u16string tip;
};

std::mutex iconsMutex;
std::vector<Entry>& Icons() {
  static std::vector<Entry>* const icons = new std::vector<Entry>;
  return *icons;
}

constexpr DWORD kRecordSize = 152;

}  // namespace

std::vector<NotifyIcon> CurrentNotifyIcons() {
  std::vector<NotifyIcon> out;
  std::lock_guard lock(iconsMutex);
  for (const Entry& e : Icons())
    if (IsWindow(e.icon.owner)) out.push_back(e.icon);
  return out;
}

void ForgetNotifyIcons() {
  std::lock_guard lock(iconsMutex);
  Icons().clear();
}

}  // namespace pda::shell

using namespace pda::shell;

BOOL Shell_NotifyIcon(DWORD message, PNOTIFYICONDATA data) {
  if (!data || data->cbSize != kRecordSize || message > NIM_DELETE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::shared_ptr<const pda::gdi::Pixels> image;
  if (message != NIM_DELETE && (data->uFlags & NIF_ICON)) {
    image = pda::resources::IconPixels(data->hIcon);
    if (!image) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
  }
  {
    std::lock_guard lock(iconsMutex);
    auto& icons = Icons();
    auto it = std::find_if(icons.begin(), icons.end(), [&](const Entry& e) {
      return e.icon.owner == data->hWnd && e.icon.id == data->uID;
    });
    switch (message) {
      case NIM_ADD: {
        if (it != icons.end() || !IsWindow(data->hWnd)) {
          SetLastError(it != icons.end() ? ERROR_ALREADY_EXISTS : ERROR_INVALID_WINDOW_HANDLE);
          return FALSE;
        }
        Entry entry;
        entry.icon.owner = data->hWnd;
        entry.icon.id = data->uID;
        it = icons.insert(icons.end(), std::move(entry));
        [[fallthrough]];
      }
      case NIM_MODIFY:
        if (it == icons.end()) {
          SetLastError(ERROR_FILE_NOT_FOUND);
          return FALSE;
        }
        if (data->uFlags & NIF_MESSAGE) it->icon.callbackMessage = data->uCallbackMessage;
        if (data->uFlags & NIF_ICON) it->icon.image = image;
        if (data->uFlags & NIF_TIP)
          it->tip.assign(data->szTip, std::find(data->szTip, data->szTip + 64, u'\0'));
        break;
      case NIM_DELETE:
        if (it == icons.end()) {
          SetLastError(ERROR_FILE_NOT_FOUND);
          return FALSE;
        }
        icons.erase(it);
        break;
    }
  }
  // The bar is made on the first add, on the thread that adds (the program's UI thread).
  if (message == NIM_ADD) EnsureNavigationBar();
  RefreshNavigationBar();
  return TRUE;
}
