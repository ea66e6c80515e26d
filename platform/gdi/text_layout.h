// Line layout for DrawTextW: mnemonic prefixes, tab expansion, line breaks and word wrapping.
// Pure text work over a measuring function, so it is tested without fonts.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace pda::gdi {

struct TextLine {
  std::u16string text;  // as drawn: prefixes resolved, tabs still in place
  int width = 0;        // without trailing spaces
};

struct LayoutRules {
  bool single_line = false;
  bool word_break = false;
  bool prefixes = true;   // "&x" draws x, "&&" draws "&"
  bool expand_tabs = false;
  int tab_width = 64;     // pixels between tab stops
  int max_width = 0;      // wrapping width (word_break only)
};

// Width in pixels of a piece of text that starts at pixel x of its line (x matters for tabs).
using MeasureText = std::function<int(std::u16string_view text, int x)>;

std::vector<TextLine> LayOutText(std::u16string_view text, const LayoutRules& rules,
                                 const MeasureText& measure);

}  // namespace pda::gdi
