// DrawTextW's line layout.
#include "gdi/text_layout.h"

namespace pda::gdi {
namespace {

std::u16string ResolvePrefixes(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') {
        out.push_back(u'&');
        ++i;
      }
      continue;  // a lone '&' only marks the next character
    }
    out.push_back(text[i]);
  }
  return out;
}

std::vector<std::u16string_view> SplitParagraphs(std::u16string_view text) {
  std::vector<std::u16string_view> out;
  std::size_t start = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != u'\r' && text[i] != u'\n') continue;
    out.push_back(text.substr(start, i - start));
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  out.push_back(text.substr(start));
  return out;
}

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t'; }

std::size_t TrimmedLength(std::u16string_view text) {
  std::size_t n = text.size();
  while (n > 0 && IsSpace(text[n - 1])) --n;
  return n;
}

void Wrap(std::u16string_view paragraph, const LayoutRules& rules, const MeasureText& measure,
          std::vector<TextLine>* lines) {
  std::size_t line_start = 0;
  std::size_t i = 0;
  std::size_t line_end = 0;  // end of the last word that fits
  while (i < paragraph.size()) {
    // One word and the spaces after it.
    std::size_t word_end = i;
    while (word_end < paragraph.size() && !IsSpace(paragraph[word_end])) ++word_end;
    std::size_t next = word_end;
    while (next < paragraph.size() && IsSpace(paragraph[next])) ++next;
    const std::u16string_view candidate = paragraph.substr(line_start, word_end - line_start);
    if (line_end > line_start && measure(candidate, 0) > rules.max_width) {
      // The word does not fit behind the others: it starts the next line.
      const std::u16string_view line = paragraph.substr(line_start, line_end - line_start);
      const std::u16string_view shown = line.substr(0, TrimmedLength(line));
      lines->push_back({std::u16string(shown), measure(shown, 0)});
      line_start = i;
    }
    line_end = next;
    i = next;
  }
  const std::u16string_view rest = paragraph.substr(line_start);
  const std::u16string_view shown = rest.substr(0, TrimmedLength(rest));
  lines->push_back({std::u16string(shown), measure(shown, 0)});
}

}  // namespace

std::vector<TextLine> LayOutText(std::u16string_view text, const LayoutRules& rules,
                                 const MeasureText& measure) {
  const std::u16string resolved = rules.prefixes ? ResolvePrefixes(text) : std::u16string(text);
  std::vector<TextLine> lines;
  if (rules.single_line) {
    std::u16string line;
    for (char16_t c : resolved)
      if (c != u'\r' && c != u'\n') line.push_back(c);
    const int width = measure(line, 0);
    lines.push_back({std::move(line), width});
    return lines;
  }
  for (std::u16string_view paragraph : SplitParagraphs(resolved)) {
    if (rules.word_break && rules.max_width > 0) {
      Wrap(paragraph, rules, measure, &lines);
    } else {
      lines.push_back({std::u16string(paragraph), measure(paragraph, 0)});
    }
  }
  return lines;
}

}  // namespace pda::gdi
