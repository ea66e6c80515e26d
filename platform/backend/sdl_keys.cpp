// The key table: letters and digits map to their ASCII upper case, the rest by this list.
#include "backend/sdl_keys.h"

#include "pda/user.h"

namespace pda::backend::sdl {
namespace {

struct KeyRow {
  SDL_Keycode sdl;
  int vk;
};
constexpr KeyRow kKeys[] = {
    {SDLK_RETURN, VK_RETURN},       {SDLK_KP_ENTER, VK_RETURN},    {SDLK_BACKSPACE, VK_BACK},
    {SDLK_ESCAPE, VK_ESCAPE},       {SDLK_TAB, VK_TAB},            {SDLK_SPACE, VK_SPACE},
    {SDLK_LEFT, VK_LEFT},           {SDLK_UP, VK_UP},              {SDLK_RIGHT, VK_RIGHT},
    {SDLK_DOWN, VK_DOWN},           {SDLK_HOME, VK_HOME},          {SDLK_END, VK_END},
    {SDLK_PAGEUP, VK_PRIOR},        {SDLK_PAGEDOWN, VK_NEXT},      {SDLK_DELETE, VK_DELETE},
    {SDLK_LCTRL, VK_CONTROL},       {SDLK_RCTRL, VK_CONTROL},      {SDLK_LSHIFT, VK_SHIFT},
    {SDLK_RSHIFT, VK_SHIFT},        {SDLK_LALT, VK_MENU},          {SDLK_RALT, VK_MENU},
    {SDLK_SEMICOLON, VK_OEM_1},     {SDLK_EQUALS, VK_OEM_PLUS},    {SDLK_COMMA, VK_OEM_COMMA},
    {SDLK_MINUS, VK_OEM_MINUS},     {SDLK_PERIOD, VK_OEM_PERIOD},  {SDLK_SLASH, VK_OEM_2},
    {SDLK_F1, VK_F1},   {SDLK_F2, VK_F2},   {SDLK_F3, VK_F3},   {SDLK_F4, VK_F4},
    {SDLK_F5, VK_F5},   {SDLK_F6, VK_F6},   {SDLK_F7, VK_F7},   {SDLK_F8, VK_F8},
    {SDLK_F9, VK_F9},   {SDLK_F10, VK_F10}, {SDLK_F11, VK_F11}, {SDLK_F12, VK_F12},
};

}  // namespace

int VirtualKeyOf(SDL_Keycode key) {
  if (key >= SDLK_a && key <= SDLK_z) return 'A' + (key - SDLK_a);
  if (key >= SDLK_0 && key <= SDLK_9) return '0' + (key - SDLK_0);
  for (const KeyRow& row : kKeys)
    if (row.sdl == key) return row.vk;
  return 0;
}

}  // namespace pda::backend::sdl
