// The input panel's keyboard: two pages of five rows (letters with digits, and symbols), each key
// with its width in quarter units, laid out to fill the panel. Stateless: the panel keeps which
// page is up and whether shift is on.
#pragma once

#include <optional>
#include <vector>

#include "pda/types.h"

namespace pda::shell {

enum class KeyAction { Character, Backspace, Enter, Shift, Symbols, Letters, Space };
enum class KeyboardPage { Letters, Symbols };

struct Key {
  KeyAction action;
  char16_t plain;    // for Character keys
  char16_t shifted;  // with shift on
  const char16_t* label;  // for the other keys
  int width;  // in quarter units; a letter key is 4
};

struct PlacedKey {
  Key key;
  RECT rect;  // panel client coordinates
};

std::vector<PlacedKey> LayOutKeyboard(KeyboardPage page, const RECT& panel);
std::optional<PlacedKey> KeyAt(KeyboardPage page, const RECT& panel, POINT point);
// The character a key types (0 for keys that only change the panel).
char16_t CharacterOf(const Key& key, bool shift);

}  // namespace pda::shell
