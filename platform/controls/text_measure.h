// How wide text is in the control's font: an interface, so that the wrap and scroll model can be
// tested with a fixed-width stand-in, and one implementation over a memory device context.
#pragma once

#include "pda/owners.h"

#include <string_view>
#include <vector>

#include "pda/gdi.h"

namespace pda::controls {

class TextMeasure {
 public:
  virtual ~TextMeasure() = default;
  // out[i] = width of text[0..i] (the advance after each character); out has text.size() items.
  virtual void Advances(std::u16string_view text, std::vector<int>& out) const = 0;
  virtual int LineHeight() const = 0;
  virtual int AverageCharWidth() const = 0;
};

// Measures with a font selected into a private memory context (the system font until SetFont).
// Move-only: it owns the context.
class DcTextMeasure final : public TextMeasure {
 public:
  DcTextMeasure();

  bool valid() const { return static_cast<bool>(dc_); }
  // A null font selects the system font. The font stays the caller's.
  void SetFont(HFONT font);
  void Advances(std::u16string_view text, std::vector<int>& out) const override;
  int LineHeight() const override { return lineHeight_; }
  int AverageCharWidth() const override { return averageWidth_; }

 private:
  void ReadMetrics();
  UniqueMemoryDC dc_;
  int lineHeight_ = 1;
  int averageWidth_ = 1;
};

}  // namespace pda::controls
