// Dialog units (see dialog_units.h).
#include "user/dialog_units.h"

#include <map>
#include <mutex>
#include <string>
#include <utility>

#include "look/look.h"

namespace pda::user {

BaseUnits MeasureBaseUnits(HFONT font) {
  const UniqueMemoryDC dc(CreateCompatibleDC(HDC{}));
  if (!dc || !font) return BaseUnits{0, 0};
  const ScopedSelect select(dc.get(), font);
  static constexpr char16_t kLetters[] = u"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE extent{};
  TEXTMETRICW metrics{};
  if (!GetTextExtentPoint32W(dc.get(), kLetters, 52, &extent) ||
      !GetTextMetricsW(dc.get(), &metrics))
    return BaseUnits{0, 0};
  return BaseUnits{(extent.cx / 26 + 1) / 2, metrics.tmHeight};
}

RECT DialogUnitsToPixels(const RECT& units, BaseUnits base) {
  return RECT{MulDiv(units.left, base.x, 4), MulDiv(units.top, base.y, 8),
              MulDiv(units.right, base.x, 4), MulDiv(units.bottom, base.y, 8)};
}

DialogFace DialogFont(LPCWSTR face, int points) {
  // Every context answers for the one screen.
  const int height = -MulDiv(points, GetDeviceCaps(HDC{}, LOGPIXELSY), 72);
  const std::u16string name = face && *face ? face : look::kSystemFace;
  static std::mutex mutex;
  static auto* const fonts = new std::map<std::pair<std::u16string, int>, DialogFace>;
  std::lock_guard lock(mutex);
  auto [at, added] = fonts->try_emplace({name, height}, DialogFace{HFONT{}, BaseUnits{0, 0}});
  if (added || !at->second.font) {
    const HFONT font = CreateFontW(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                                   ANTIALIASED_QUALITY, 0, name.c_str());
    at->second = DialogFace{font, MeasureBaseUnits(font)};
  }
  return at->second;
}

}  // namespace pda::user
