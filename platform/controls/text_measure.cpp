// DcTextMeasure: text widths from the drawing library.
#include "controls/text_measure.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace pda::controls {

DcTextMeasure::DcTextMeasure() : dc_(CreateCompatibleDC(HDC{})) { SetFont(HFONT{}); }

void DcTextMeasure::SetFont(HFONT font) {
  if (!dc_) return;
  SelectObject(dc_.get(), font ? HGDIOBJ(font) : GetStockObject(SYSTEM_FONT));
  ReadMetrics();
}

void DcTextMeasure::ReadMetrics() {
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc_.get(), &metrics)) {
    lineHeight_ = std::max<int>(metrics.tmHeight, 1);
    averageWidth_ = std::max<int>(metrics.tmAveCharWidth, 1);
  }
}

void DcTextMeasure::Advances(std::u16string_view text, std::vector<int>& out) const {
  out.assign(text.size(), 0);
  if (text.empty() || !dc_) return;
  SIZE size{};
  GetTextExtentExPointW(dc_.get(), text.data(), static_cast<int>(text.size()), INT_MAX, nullptr,
                        out.data(), &size);
}

}  // namespace pda::controls
