// The text calls: output, layout in a rectangle, metrics and extents.
#include <algorithm>

#include "display/display.h"
#include "gdi/canvas.h"
#include "gdi/device_context.h"
#include "gdi/text_layout.h"
#include "gdi/text_render.h"

using namespace pda::gdi;  // NOLINT: the C surface below is a thin layer over this namespace

namespace {

// The context and its font, both needed by every text call.
struct TextContext {
  std::shared_ptr<DeviceContext> dc;
  Font* font = nullptr;
  explicit operator bool() const { return font != nullptr; }
};

TextContext OpenText(HDC handle) {
  TextContext t;
  t.dc = LookupDC(handle);
  if (t.dc) t.font = t.dc->font().get();
  return t;
}

TextStyle StyleOf(const Font& font) {
  TextStyle style;
  style.underline = font.logfont().lfUnderline != 0;
  style.strike_out = font.logfont().lfStrikeOut != 0;
  return style;
}

std::u16string_view View(LPCWSTR text, int count) {
  if (!text) return {};
  if (count < 0) return std::u16string_view(text);
  return std::u16string_view(text, static_cast<std::size_t>(count));
}

int Width(FontInstance& font, std::u16string_view text, const TextStyle& style) {
  const std::vector<int> ends = TextAdvances(font, text, {}, style);
  return ends.empty() ? 0 : ends.back();
}

}  // namespace

BOOL GetTextMetricsW(HDC dc, LPTEXTMETRICW metrics) {
  TextContext t = OpenText(dc);
  if (!t || !metrics) return FALSE;
  const FontMetrics& m = t.font->instance().metrics();
  const LOGFONTW& lf = t.font->logfont();
  TEXTMETRICW tm{};
  tm.tmHeight = m.Height();
  tm.tmAscent = m.ascent;
  tm.tmDescent = m.descent;
  tm.tmInternalLeading = std::max(0, m.Height() - m.em);
  tm.tmExternalLeading = m.external_leading;
  tm.tmAveCharWidth = m.average_width;
  tm.tmMaxCharWidth = m.max_width;
  tm.tmWeight = lf.lfWeight == FW_DONTCARE ? FW_NORMAL : lf.lfWeight;
  tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = pda::display::CurrentScreen().dpi;
  tm.tmFirstChar = u' ';
  tm.tmLastChar = 0xFFFC;
  tm.tmDefaultChar = u'?';
  tm.tmBreakChar = u' ';
  tm.tmItalic = lf.lfItalic;
  tm.tmUnderlined = lf.lfUnderline;
  tm.tmStruckOut = lf.lfStrikeOut;
  tm.tmPitchAndFamily = lf.lfPitchAndFamily;
  tm.tmCharSet = lf.lfCharSet;
  *metrics = tm;
  return TRUE;
}

BOOL GetTextExtentExPointW(HDC dc, LPCWSTR text, int count, int maxExtent, int* fit,
                           int* extents, LPSIZE size) {
  TextContext t = OpenText(dc);
  if (!t || (count > 0 && !text) || count < 0 || !size) return FALSE;
  FontInstance& font = t.font->instance();
  const std::vector<int> ends = TextAdvances(font, View(text, count), {}, TextStyle{});
  if (fit) {
    int n = 0;
    while (n < count && ends[static_cast<std::size_t>(n)] <= maxExtent) ++n;
    *fit = n;
  }
  if (extents) std::copy(ends.begin(), ends.end(), extents);
  *size = SIZE{ends.empty() ? 0 : ends.back(), font.metrics().Height()};
  return TRUE;
}

BOOL GetTextExtentPoint32W(HDC dc, LPCWSTR text, int count, LPSIZE size) {
  return GetTextExtentExPointW(dc, text, count, 0, nullptr, nullptr, size);
}

BOOL ExtTextOutW(HDC dc, int x, int y, UINT options, const RECT* rect, LPCWSTR text, UINT count,
                 const int* dx) {
  TextContext t = OpenText(dc);
  if (!t || (count > 0 && !text)) return FALSE;
  Pixels* pixels = t.dc->target();
  if (!pixels) return FALSE;
  const POINT o = t.dc->origin();
  Region clip = t.dc->clip();
  Box box;
  if (rect) box = Box{rect->left + o.x, rect->top + o.y, rect->right + o.x, rect->bottom + o.y};
  if (rect && (options & ETO_CLIPPED)) clip.Intersect(box);
  Canvas canvas(*pixels, clip, t.dc->drawn());
  if (rect && (options & ETO_OPAQUE)) canvas.Fill(box, PixelFromColorref(t.dc->bk_color));

  FontInstance& font = t.font->instance();
  const std::u16string_view line = View(text, static_cast<int>(count));
  const std::span<const int> advances = dx ? std::span<const int>(dx, count) : std::span<const int>();
  const TextStyle style = StyleOf(*t.font);
  if (t.dc->bk_mode == OPAQUE && !line.empty()) {
    const std::vector<int> ends = TextAdvances(font, line, advances, style);
    canvas.Fill(Box{x + o.x, y + o.y, x + o.x + ends.back(), y + o.y + font.metrics().Height()},
                PixelFromColorref(t.dc->bk_color));
  }
  DrawTextLine(canvas, font, x + o.x, y + o.y, line, advances, style,
               PixelFromColorref(t.dc->text_color));
  return TRUE;
}

BOOL TextOutW(HDC dc, int x, int y, LPCWSTR text, int count) {
  if (count < 0) return FALSE;
  return ExtTextOutW(dc, x, y, 0, nullptr, text, static_cast<UINT>(count), nullptr);
}

int DrawTextW(HDC dc, LPCWSTR text, int count, LPRECT rect, UINT format) {
  TextContext t = OpenText(dc);
  if (!t || !rect || (count != 0 && !text)) return 0;
  FontInstance& font = t.font->instance();
  const FontMetrics& m = font.metrics();

  LayoutRules rules;
  rules.single_line = (format & DT_SINGLELINE) != 0;
  rules.word_break = (format & DT_WORDBREAK) != 0;
  rules.prefixes = (format & DT_NOPREFIX) == 0;
  rules.expand_tabs = (format & DT_EXPANDTABS) != 0;
  rules.tab_width = 8 * std::max(1, m.average_width);
  rules.max_width = rect->right - rect->left;
  TextStyle style = StyleOf(*t.font);
  if (rules.expand_tabs) style.tab_width = rules.tab_width;
  const std::vector<TextLine> lines =
      LayOutText(View(text, count), rules, [&](std::u16string_view piece, int at) {
        TextStyle measuring = style;
        measuring.tab_origin = at;
        return Width(font, piece, measuring);
      });

  const int line_height = m.Height();
  const int total = line_height * static_cast<int>(lines.size());
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const TextLine& line : lines) widest = std::max(widest, line.width);
    rect->right = rect->left + widest;
    rect->bottom = rect->top + total;
    return total;
  }

  int top = rect->top;
  if (rules.single_line && (format & DT_VCENTER))
    top = rect->top + (rect->bottom - rect->top - line_height) / 2;
  else if (rules.single_line && (format & DT_BOTTOM))
    top = rect->bottom - line_height;

  Pixels* pixels = t.dc->target();
  if (!pixels) return 0;
  const POINT o = t.dc->origin();
  Region clip = t.dc->clip();
  if (!(format & DT_NOCLIP))
    clip.Intersect(Box{rect->left + o.x, rect->top + o.y, rect->right + o.x, rect->bottom + o.y});
  Canvas canvas(*pixels, clip, t.dc->drawn());
  const std::uint32_t ink = PixelFromColorref(t.dc->text_color);
  int y = top;
  for (const TextLine& line : lines) {
    int x = rect->left;
    if (format & DT_CENTER)
      x = rect->left + (rect->right - rect->left - line.width) / 2;
    else if (format & DT_RIGHT)
      x = rect->right - line.width;
    if (t.dc->bk_mode == OPAQUE && line.width > 0)
      canvas.Fill(Box{x + o.x, y + o.y, x + o.x + line.width, y + o.y + line_height},
                  PixelFromColorref(t.dc->bk_color));
    TextStyle drawing = style;
    drawing.tab_origin = 0;
    DrawTextLine(canvas, font, x + o.x, y + o.y, line.text, {}, drawing, ink);
    y += line_height;
  }
  return y - rect->top;
}
