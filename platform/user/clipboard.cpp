// The clipboard: blocks by format under one lock, the opener (a thread and a window), the owner,
// and the join with the desktop's clipboard (see clipboard.h).
//
// Sections: text helpers | state | desktop join | the calls | test hooks
#include "user/clipboard.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>
#include <utility>

#include "pda/clipboard.h"
#include "pda/testing/clipboard.h"

namespace pda::user {
namespace {

// ---- text helpers --------------------------------------------------------------------------
std::string ToUtf8(std::u16string_view text) {
  if (text.empty()) return {};
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size,
                        nullptr, nullptr);
  return out;
}

std::u16string ToUtf16(const std::string& text) {
  if (text.empty()) return {};
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                       nullptr, 0);
  std::u16string out(static_cast<std::size_t>(std::max(size, 0)), u'\0');
  if (size > 0)
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), size);
  return out;
}

// The text of a CF_UNICODETEXT block, up to its first NUL (or its end, if it has none).
std::u16string BlockText(HGLOBAL block) {
  const auto* chars = static_cast<const char16_t*>(GlobalLock(block));
  if (!chars) return {};
  const std::size_t capacity = LocalSize(block) / sizeof(char16_t);
  const std::size_t length = std::find(chars, chars + capacity, u'\0') - chars;
  std::u16string text(chars, length);
  GlobalUnlock(block);
  return text;
}

HGLOBAL TextBlock(const std::u16string& text) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(char16_t));
  if (!block) return block;
  if (auto* chars = static_cast<char16_t*>(GlobalLock(block))) {
    std::copy(text.begin(), text.end(), chars);
    chars[text.size()] = u'\0';
    GlobalUnlock(block);
  }
  return block;
}

// ---- state ---------------------------------------------------------------------------------
struct Clipboard {
  std::mutex mutex;
  DWORD openThread = 0;  // 0: closed
  HWND opener;
  HWND owner;
  std::map<UINT, HGLOBAL> blocks;
  bool changed = false;  // since it was opened: hand the text over on close
  // The desktop's text as we last handed it over or took it: a different text there means
  // another program has put something on the desktop clipboard since.
  std::optional<std::string> desktopSeen;
  SystemClipboard hooks;  // empty members: the in-memory stand-in

  void FreeBlocksLocked() {
    for (auto& [format, block] : blocks) GlobalFree(block);
    blocks.clear();
  }
  bool OpenedByCallerLocked() const { return openThread != 0 && openThread == GetCurrentThreadId(); }
};

Clipboard& State() {
  static Clipboard* const clipboard = new Clipboard;  // outlives every static user
  return *clipboard;
}

// The desktop clipboard while no back end is joined.
struct MemoryDesktop {
  std::mutex mutex;
  std::string text;
};
MemoryDesktop& Memory() {
  static MemoryDesktop* const memory = new MemoryDesktop;
  return *memory;
}

SystemClipboard MemoryHooks() {
  return SystemClipboard{
      [] {
        std::lock_guard lock(Memory().mutex);
        return std::optional<std::string>(Memory().text);
      },
      [](const std::string& text) {
        std::lock_guard lock(Memory().mutex);
        Memory().text = text;
        return true;
      }};
}

SystemClipboard CurrentHooks() {
  Clipboard& c = State();
  std::lock_guard lock(c.mutex);
  return c.hooks.getText && c.hooks.setText ? c.hooks : MemoryHooks();
}

// ---- desktop join --------------------------------------------------------------------------
// Takes the desktop's text when another program changed it. The desktop is asked without our
// lock held (a back end may take its own locks); unsaved changes of the opener win.
void TakeDesktopText() {
  const std::optional<std::string> text = CurrentHooks().getText();
  if (!text) return;
  Clipboard& c = State();
  std::lock_guard lock(c.mutex);
  if (c.changed || c.desktopSeen == text) return;
  c.desktopSeen = text;
  c.FreeBlocksLocked();
  c.owner = HWND{};
  if (!text->empty())
    if (HGLOBAL block = TextBlock(ToUtf16(*text))) c.blocks[CF_UNICODETEXT] = block;
}

}  // namespace

void SetSystemClipboard(SystemClipboard hooks) {
  Clipboard& c = State();
  std::lock_guard lock(c.mutex);
  c.hooks = std::move(hooks);
  c.desktopSeen.reset();  // a new desktop: whatever it holds is news
}

}  // namespace pda::user

// ---- the calls -----------------------------------------------------------------------------
using pda::user::State;

BOOL OpenClipboard(HWND owner) {
  {
    auto& c = State();
    std::lock_guard lock(c.mutex);
    if (c.openThread != 0 && c.openThread != GetCurrentThreadId()) {
      SetLastError(ERROR_ACCESS_DENIED);
      return FALSE;
    }
    const bool reopening = c.openThread != 0;
    c.openThread = GetCurrentThreadId();
    c.opener = owner;
    if (!reopening) c.changed = false;
  }
  pda::user::TakeDesktopText();
  return TRUE;
}

BOOL CloseClipboard() {
  std::string handOver;
  {
    auto& c = State();
    std::lock_guard lock(c.mutex);
    if (!c.OpenedByCallerLocked()) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return FALSE;
    }
    c.openThread = 0;
    c.opener = HWND{};
    if (!c.changed) return TRUE;
    c.changed = false;
    auto it = c.blocks.find(CF_UNICODETEXT);
    handOver = it == c.blocks.end() ? std::string() : pda::user::ToUtf8(pda::user::BlockText(it->second));
    c.desktopSeen = handOver;
  }
  pda::user::CurrentHooks().setText(handOver);
  return TRUE;
}

BOOL EmptyClipboard() {
  auto& c = State();
  std::lock_guard lock(c.mutex);
  if (!c.OpenedByCallerLocked()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  c.FreeBlocksLocked();
  c.owner = c.opener;
  c.changed = true;
  return TRUE;
}

HGLOBAL SetClipboardData(UINT format, HGLOBAL memory) {
  if (!memory || !GlobalLock(memory)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return HGLOBAL{};
  }
  GlobalUnlock(memory);
  auto& c = State();
  std::lock_guard lock(c.mutex);
  if (!c.OpenedByCallerLocked()) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return HGLOBAL{};
  }
  HGLOBAL& slot = c.blocks[format];
  if (slot && slot != memory) GlobalFree(slot);
  slot = memory;
  c.changed = true;
  return memory;
}

HGLOBAL GetClipboardData(UINT format) {
  {
    auto& c = State();
    std::lock_guard lock(c.mutex);
    if (!c.OpenedByCallerLocked()) {
      SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
      return HGLOBAL{};
    }
  }
  pda::user::TakeDesktopText();
  auto& c = State();
  std::lock_guard lock(c.mutex);
  auto it = c.blocks.find(format);
  return it == c.blocks.end() ? HGLOBAL{} : it->second;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  pda::user::TakeDesktopText();
  auto& c = State();
  std::lock_guard lock(c.mutex);
  return c.blocks.count(format) ? TRUE : FALSE;
}

int CountClipboardFormats() {
  pda::user::TakeDesktopText();
  auto& c = State();
  std::lock_guard lock(c.mutex);
  return static_cast<int>(c.blocks.size());
}

HWND GetClipboardOwner() {
  auto& c = State();
  std::lock_guard lock(c.mutex);
  return c.owner;
}

// ---- test hooks ----------------------------------------------------------------------------
namespace pda::testing {

std::string SystemClipboardText() {
  std::lock_guard lock(user::Memory().mutex);
  return user::Memory().text;
}

void SetSystemClipboardText(const std::string& utf8) {
  std::lock_guard lock(user::Memory().mutex);
  user::Memory().text = utf8;
}

void ResetClipboard() {
  {
    auto& c = user::State();
    std::lock_guard lock(c.mutex);
    c.FreeBlocksLocked();
    c.openThread = 0;
    c.opener = c.owner = HWND{};
    c.changed = false;
    c.desktopSeen.reset();
    c.hooks = {};
  }
  SetSystemClipboardText("");
}

}  // namespace pda::testing
