// The key-state table and TranslateMessage (key to character).
#include <array>
#include <atomic>

#include "pda/testing/user.h"
#include "user/messaging.h"

namespace pda::user {
namespace {

std::array<std::atomic<bool>, 256> keyDown{};

void SetKey(int key, bool down) {
  if (key >= 0 && key < 256) keyDown[static_cast<std::size_t>(key)] = down;
}
bool IsDown(int key) { return key >= 0 && key < 256 && keyDown[static_cast<std::size_t>(key)]; }

// Either key of a pair counts for the generic key.
void UpdateGeneric(int generic, int left, int right) {
  SetKey(generic, IsDown(left) || IsDown(right) || IsDown(generic));
}

struct CharKey {
  int key;
  char16_t plain;
  char16_t shifted;
};
// The keys of a US keyboard that make characters, apart from letters.
constexpr CharKey kCharKeys[] = {
    {'0', u'0', u')'},         {'1', u'1', u'!'},         {'2', u'2', u'@'},
    {'3', u'3', u'#'},         {'4', u'4', u'$'},         {'5', u'5', u'%'},
    {'6', u'6', u'^'},         {'7', u'7', u'&'},         {'8', u'8', u'*'},
    {'9', u'9', u'('},         {VK_SPACE, u' ', u' '},    {VK_RETURN, u'\r', u'\r'},
    {VK_BACK, u'\b', u'\b'},   {VK_TAB, u'\t', u'\t'},    {VK_ESCAPE, 0x1B, 0x1B},
    {VK_OEM_1, u';', u':'},    {VK_OEM_PLUS, u'=', u'+'}, {VK_OEM_COMMA, u',', u'<'},
    {VK_OEM_MINUS, u'-', u'_'}, {VK_OEM_PERIOD, u'.', u'>'}, {VK_OEM_2, u'/', u'?'},
};

// The character a key makes with the current modifiers, or 0.
char16_t CharacterOf(int key) {
  const bool shift = IsDown(VK_SHIFT);
  const bool control = IsDown(VK_CONTROL);
  if (key >= 'A' && key <= 'Z') {
    if (control) return static_cast<char16_t>(key - 'A' + 1);  // Ctrl+A..Z: 1..26
    return static_cast<char16_t>(shift ? key : key - 'A' + 'a');
  }
  if (control) return 0;
  for (const CharKey& c : kCharKeys)
    if (c.key == key) return shift ? c.shifted : c.plain;
  return 0;
}

}  // namespace

void NoteKeyMessage(const MSG& message) {
  bool down;
  switch (message.message) {
    case WM_LBUTTONDOWN:
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP:
      SetKey(VK_LBUTTON, (message.wParam & MK_LBUTTON) != 0);
      SetKey(VK_RBUTTON, (message.wParam & MK_RBUTTON) != 0);
      return;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      down = true;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      down = false;
      break;
    default:
      return;
  }
  const int key = static_cast<int>(message.wParam & 0xFF);
  SetKey(key, down);
  if (key == VK_SHIFT || key == VK_LSHIFT || key == VK_RSHIFT) {
    if (!down) SetKey(VK_SHIFT, false);
    UpdateGeneric(VK_SHIFT, VK_LSHIFT, VK_RSHIFT);
  } else if (key == VK_CONTROL || key == VK_LCONTROL || key == VK_RCONTROL) {
    if (!down) SetKey(VK_CONTROL, false);
    UpdateGeneric(VK_CONTROL, VK_LCONTROL, VK_RCONTROL);
  } else if (key == VK_MENU || key == VK_LMENU || key == VK_RMENU) {
    if (!down) SetKey(VK_MENU, false);
    UpdateGeneric(VK_MENU, VK_LMENU, VK_RMENU);
  }
}

}  // namespace pda::user

namespace pda::testing {
void ResetKeyState() {
  for (auto& key : user::keyDown) key = false;
}
}  // namespace pda::testing

SHORT GetKeyState(int virtualKey) {
  return pda::user::IsDown(virtualKey) ? static_cast<SHORT>(0x8000) : SHORT{0};
}

SHORT GetAsyncKeyState(int virtualKey) { return GetKeyState(virtualKey); }

BOOL TranslateMessage(const MSG* message) {
  if (!message) return FALSE;
  if (message->message != WM_KEYDOWN && message->message != WM_KEYUP &&
      message->message != WM_SYSKEYDOWN && message->message != WM_SYSKEYUP)
    return FALSE;
  if (message->message == WM_KEYDOWN) {
    if (const char16_t c = pda::user::CharacterOf(static_cast<int>(message->wParam & 0xFF)))
      PostMessageW(message->hwnd, WM_CHAR, c, message->lParam);
  }
  return TRUE;
}
