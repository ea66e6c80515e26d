// A stand-in font for layout tests: every character is 10 pixels wide and a line is 20 high.
#pragma once

#include "controls/text_measure.h"

namespace controls_test {

class FixedMeasure final : public pda::controls::TextMeasure {
 public:
  void Advances(std::u16string_view text, std::vector<int>& out) const override {
    out.resize(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = 10 * static_cast<int>(i + 1);
  }
  int LineHeight() const override { return 20; }
  int AverageCharWidth() const override { return 10; }
};

}  // namespace controls_test
