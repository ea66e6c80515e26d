// DcTextMeasure: text widths from the drawing library.
#include "controls/text_measure.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace pda::controls {

DcTextMeasure::DcTextMeasure() : dc_(CreateCompatibleDC(HDC{})) { SetFont(HFONT{}); }

DcTextMeasure::DcTextMeasure(DcTextMeasure&& other) noexcept
    : dc_(std::exchange(other.dc_, HDC{})),
      lineHeight_(other.lineHeight_),
      averageWidth_(other.averageWidth_) {}

DcTextMeasure& DcTextMeasure::operator=(DcTextMeasure&& other) noexcept {
  if (this != &other) {
    if (dc_) DeleteDC(dc_);
    dc_ = std::exchange(other.dc_, HDC{});
    lineHeight_ = other.lineHeight_;
    averageWidth_ = other.averageWidth_;
  }
  return *this;
}

DcTextMeasure::~DcTextMeasure() {
  if (dc_) DeleteDC(dc_);
}

void DcTextMeasure::SetFont(HFONT font) {
  if (!dc_) return;
  SelectObject(dc_, font ? HGDIOBJ(font) : GetStockObject(SYSTEM_FONT));
  ReadMetrics();
}

void DcTextMeasure::ReadMetrics() {
  TEXTMETRICW metrics{};
  if (GetTextMetricsW(dc_, &metrics)) {
    lineHeight_ = std::max<int>(metrics.tmHeight, 1);
    averageWidth_ = std::max<int>(metrics.tmAveCharWidth, 1);
  }
}

void DcTextMeasure::Advances(std::u16string_view text, std::vector<int>& out) const {
  out.assign(text.size(), 0);
  if (text.empty() || !dc_) return;
  SIZE size{};
  GetTextExtentExPointW(dc_, text.data(), static_cast<int>(text.size()), INT_MAX, nullptr,
                        out.data(), &size);
}

}  // namespace pda::controls
