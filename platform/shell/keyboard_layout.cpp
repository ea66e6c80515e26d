// The keyboard's pages and their layout.
#include "shell/keyboard_layout.h"

#include <span>

#include "shell/bar_layout.h"

namespace pda::shell {
namespace {

constexpr Key C(char16_t plain, char16_t shifted) {
  return {KeyAction::Character, plain, shifted, nullptr, 4};
}
constexpr Key L(char16_t letter) {  // lower case plain, upper case shifted
  return C(letter, static_cast<char16_t>(letter - u'a' + u'A'));
}
constexpr Key S(char16_t symbol) { return C(symbol, symbol); }
constexpr Key A(KeyAction action, const char16_t* label, int width) {
  return {action, 0, 0, label, width};
}

constexpr Key kLetters0[] = {S(u'1'), S(u'2'), S(u'3'), S(u'4'), S(u'5'), S(u'6'), S(u'7'),
                             S(u'8'), S(u'9'), S(u'0'), A(KeyAction::Backspace, u"\u2190", 6)};
constexpr Key kLetters1[] = {L(u'q'), L(u'w'), L(u'e'), L(u'r'), L(u't'), L(u'y'), L(u'u'),
                             L(u'i'), L(u'o'), L(u'p'), C(u'-', u'_')};
constexpr Key kLetters2[] = {L(u'a'), L(u's'), L(u'd'), L(u'f'), L(u'g'), L(u'h'),
                             L(u'j'), L(u'k'), L(u'l'), A(KeyAction::Enter, u"\u21B5", 8)};
constexpr Key kLetters3[] = {A(KeyAction::Shift, u"\u21E7", 6), L(u'z'), L(u'x'), L(u'c'),
                             L(u'v'),  L(u'b'), L(u'n'), L(u'm'), C(u',', u';'), C(u'.', u':'),
                             C(u'/', u'?')};
constexpr Key kLetters4[] = {A(KeyAction::Symbols, u"123", 8), C(u'\'', u'"'),
                             A(KeyAction::Space, u"", 24), C(u'@', u'@'), C(u'!', u'?')};

constexpr Key kSymbols0[] = {S(u'!'), S(u'@'), S(u'#'), S(u'$'), S(u'%'), S(u'^'), S(u'&'),
                             S(u'*'), S(u'('), S(u')'), A(KeyAction::Backspace, u"\u2190", 6)};
constexpr Key kSymbols1[] = {S(u'-'), S(u'_'), S(u'='), S(u'+'), S(u'['), S(u']'),
                             S(u'{'), S(u'}'), S(u'\\'), S(u'|'), S(u'~')};
constexpr Key kSymbols2[] = {S(u';'), S(u':'), S(u'\''), S(u'"'), S(u'<'), S(u'>'),
                             S(u'`'), S(u'\u00B0'), S(u'\u20AC'), A(KeyAction::Enter, u"\u21B5", 8)};
constexpr Key kSymbols3[] = {S(u'1'), S(u'2'), S(u'3'), S(u'4'), S(u'5'), S(u'6'),
                             S(u'7'), S(u'8'), S(u'9'), S(u'0'), S(u'/')};
constexpr Key kSymbols4[] = {A(KeyAction::Letters, u"abc", 8), S(u','),
                             A(KeyAction::Space, u"", 24), S(u'.'), S(u'?')};

constexpr std::span<const Key> kLetterRows[] = {kLetters0, kLetters1, kLetters2, kLetters3,
                                               kLetters4};
constexpr std::span<const Key> kSymbolRows[] = {kSymbols0, kSymbols1, kSymbols2, kSymbols3,
                                               kSymbols4};

}  // namespace

std::vector<PlacedKey> LayOutKeyboard(KeyboardPage page, const RECT& panel) {
  const auto rows = page == KeyboardPage::Letters ? std::span(kLetterRows) : std::span(kSymbolRows);
  std::vector<PlacedKey> placed;
  const int height = panel.bottom - panel.top;
  const int width = panel.right - panel.left;
  const int count = static_cast<int>(rows.size());
  for (int r = 0; r < count; ++r) {
    const auto& row = rows[static_cast<std::size_t>(r)];
    int units = 0;
    for (const Key& key : row) units += key.width;
    const LONG top = panel.top + height * r / count;
    const LONG bottom = panel.top + height * (r + 1) / count;
    // Edges come from the running sum, so the keys tile the row with no gap and no overlap.
    int sum = 0;
    for (const Key& key : row) {
      const LONG left = panel.left + width * sum / units;
      sum += key.width;
      const LONG right = panel.left + width * sum / units;
      placed.push_back({key, {left, top, right, bottom}});
    }
  }
  return placed;
}

std::optional<PlacedKey> KeyAt(KeyboardPage page, const RECT& panel, POINT point) {
  for (const PlacedKey& key : LayOutKeyboard(page, panel))
    if (Contains(key.rect, point)) return key;
  return std::nullopt;
}

char16_t CharacterOf(const Key& key, bool shift) {
  switch (key.action) {
    case KeyAction::Character: return shift ? key.shifted : key.plain;
    case KeyAction::Space: return u' ';
    case KeyAction::Backspace: return u'\b';
    case KeyAction::Enter: return u'\r';
    default: return 0;
  }
}

}  // namespace pda::shell
