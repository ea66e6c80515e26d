// The message box's layout and painting (see message_box.h).
//
// Sections: button sets | layout | painting
#include <algorithm>
#include <optional>
#include <utility>

#include "look/look.h"
#include "user/message_box.h"

namespace pda::user {
namespace {

int Scaled(int pixelsAt96, int dpi) { return pixelsAt96 * dpi / 96; }

SIZE Measure(HDC dc, std::u16string_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &size);
  return size;
}

// ---- button sets ---------------------------------------------------------------------------
struct ButtonSet {
  UINT type;
  std::vector<std::pair<const char16_t*, int>> buttons;
  int escape;
  int close;
};
const std::vector<ButtonSet>& ButtonSets() {
  static const std::vector<ButtonSet> sets = {
      {MB_OK,          {{u"OK", IDOK}},                                  IDOK,     IDOK},
      {MB_OKCANCEL,    {{u"OK", IDOK}, {u"Cancel", IDCANCEL}},           IDCANCEL, IDCANCEL},
      {MB_YESNOCANCEL, {{u"Yes", IDYES}, {u"No", IDNO}, {u"Cancel", IDCANCEL}}, IDCANCEL, IDCANCEL},
      {MB_YESNO,       {{u"Yes", IDYES}, {u"No", IDNO}},                 IDNO,     IDCANCEL},
  };
  return sets;
}

}  // namespace

MessageBoxAnswers AnswersFor(UINT type) {
  const auto& sets = ButtonSets();
  auto it = std::find_if(sets.begin(), sets.end(),
                         [&](const ButtonSet& s) { return s.type == (type & MB_TYPEMASK); });
  const ButtonSet& set = it == sets.end() ? sets.front() : *it;  // unknown sets show OK
  MessageBoxAnswers answers{{}, set.escape, set.close};
  for (const auto& [label, result] : set.buttons) answers.buttons.push_back({label, result, RECT{}});
  return answers;
}

MessageBoxIcon IconOf(UINT type) {
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: return MessageBoxIcon::hand;
    case MB_ICONQUESTION: return MessageBoxIcon::question;
    case MB_ICONEXCLAMATION: return MessageBoxIcon::exclamation;
    case MB_ICONINFORMATION: return MessageBoxIcon::information;
    default: return MessageBoxIcon::none;
  }
}

// ---- layout --------------------------------------------------------------------------------
MessageBoxLayout LayOutMessageBox(const MessageBoxContent& content, const MessageBoxFonts& fonts,
                                  int screenWidth, int screenHeight, int dpi) {
  MessageBoxLayout layout;
  MessageBoxAnswers answers = AnswersFor(content.type);
  layout.escape = answers.escape;
  layout.close = answers.close;
  layout.defaultButton = std::min<int>(static_cast<int>((content.type & MB_DEFMASK) >> 8),
                                       static_cast<int>(answers.buttons.size()) - 1);

  const UniqueMemoryDC measuring(CreateCompatibleDC(HDC{}));
  const HDC dc = measuring.get();
  std::optional<ScopedSelect> font(std::in_place, dc, fonts.text);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc, &metrics);
  const int lineHeight = std::max<int>(metrics.tmHeight, 1);
  const int pad = Scaled(8, dpi);
  const int width = std::max(std::min(screenWidth - 2 * pad, Scaled(280, dpi)), 4 * pad);

  layout.caption = RECT{0, 0, width, lineHeight + pad};
  const bool hasIcon = IconOf(content.type) != MessageBoxIcon::none;
  const int iconSize = hasIcon ? Scaled(32, dpi) : 0;
  const int top = layout.caption.bottom + pad;
  if (hasIcon) layout.icon = RECT{pad, top, pad + iconSize, top + iconSize};
  const int textLeft = hasIcon ? layout.icon.right + pad : pad;

  RECT measured{0, 0, std::max(width - textLeft - pad, 1), 0};
  DrawTextW(dc, content.text.c_str(), static_cast<int>(content.text.size()), &measured,
            DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  int textHeight = std::max<int>(measured.bottom - measured.top, lineHeight);

  const int buttonHeight = lineHeight + Scaled(12, dpi);
  const int minimumButton = Scaled(64, dpi);
  // Everything but the text: cut the text so that the buttons stay on screen.
  const int fixedHeight = top + pad + buttonHeight + pad;
  textHeight = std::min(textHeight, std::max(screenHeight - fixedHeight, lineHeight));
  layout.text = RECT{textLeft, top, width - pad, top + textHeight};
  const int contentBottom = std::max(layout.text.bottom, layout.icon.bottom);
  const int height = contentBottom + pad + buttonHeight + pad;

  font.emplace(dc, fonts.bold);
  std::vector<int> widths;
  int row = 0;
  for (const auto& button : answers.buttons) {
    widths.push_back(std::max<int>(Measure(dc, button.label).cx + 2 * pad, minimumButton));
    row += widths.back();
  }
  row += pad * (static_cast<int>(widths.size()) - 1);
  int x = (width - row) / 2;
  const int buttonTop = contentBottom + pad;
  for (std::size_t i = 0; i < answers.buttons.size(); ++i) {
    MessageBoxButton button = answers.buttons[i];
    button.rect = RECT{x, buttonTop, x + widths[i], buttonTop + buttonHeight};
    layout.buttons.push_back(button);
    x += widths[i] + pad;
  }

  const int left = (screenWidth - width) / 2;
  const int topOnScreen = std::max((screenHeight - height) / 2, 0);
  layout.panel = RECT{left, topOnScreen, left + width, topOnScreen + height};
  return layout;
}

// ---- painting ------------------------------------------------------------------------------
namespace {

namespace palette = look::palette;
using look::Fill;

// A filled disc, drawn row by row (the drawing library has no ellipses).
void FillDisc(HDC dc, const RECT& box, COLORREF color) {
  const UniqueBrush brush(CreateSolidBrush(color));
  const int size = box.right - box.left;
  const double r = size / 2.0;
  for (int y = 0; y < size; ++y) {
    const double dy = y + 0.5 - r;
    const double half = r * r - dy * dy;
    if (half <= 0) continue;
    int span = 0;
    while ((span + 0.5) * (span + 0.5) <= half) ++span;
    const int cx = box.left + size / 2;
    RECT row{cx - span, box.top + y, cx + span + (size & 1), box.top + y + 1};
    FillRect(dc, &row, brush.get());
  }
}

// A triangle pointing up, drawn row by row.
void FillTriangle(HDC dc, const RECT& box, COLORREF color) {
  const UniqueBrush brush(CreateSolidBrush(color));
  const int size = box.right - box.left;
  const int cx = box.left + size / 2;
  for (int y = 0; y < size; ++y) {
    const int half = y * (size / 2) / std::max(size - 1, 1);  // 0 at the tip, size/2 at the base
    RECT row{cx - half, box.top + y, cx + half + 1, box.top + y + 1};
    FillRect(dc, &row, brush.get());
  }
}

// The mark inside the icon ("!", "i", "?", "X"), centred.
void DrawMark(HDC dc, const RECT& box, const char16_t* mark, COLORREF color, HFONT font) {
  const ScopedSelect selected(dc, font);
  look::Text(dc, box, mark, color, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

void PaintIcon(HDC dc, const RECT& box, MessageBoxIcon icon, HFONT bold) {
  switch (icon) {
    case MessageBoxIcon::hand:
      FillDisc(dc, box, palette::kError);
      DrawMark(dc, box, u"X", palette::kWhite, bold);
      break;
    case MessageBoxIcon::exclamation:
      FillTriangle(dc, box, palette::kWarning);
      DrawMark(dc, RECT{box.left, box.top + (box.bottom - box.top) / 6, box.right, box.bottom},
               u"!", palette::kBlack, bold);
      break;
    case MessageBoxIcon::information:
      FillDisc(dc, box, palette::kInformation);
      DrawMark(dc, box, u"i", palette::kWhite, bold);
      break;
    case MessageBoxIcon::question:
      FillDisc(dc, box, palette::kInformation);
      DrawMark(dc, box, u"?", palette::kWhite, bold);
      break;
    case MessageBoxIcon::none: break;
  }
}

}  // namespace

void PaintMessageBox(HDC dc, const MessageBoxLayout& layout, const MessageBoxContent& content,
                     const MessageBoxFonts& fonts, int dpi, int pressed) {
  const int width = layout.panel.right - layout.panel.left;
  const int height = layout.panel.bottom - layout.panel.top;
  const int edge = std::max(Scaled(1, dpi), 1);
  const int pad = Scaled(8, dpi);
  Fill(dc, RECT{0, 0, width, height}, palette::kWindow);
  Fill(dc, layout.caption, palette::kAccent);
  look::Frame(dc, RECT{0, 0, width, height}, edge, palette::kEdge);

  std::optional<ScopedSelect> font(std::in_place, dc, fonts.bold);
  const RECT caption{layout.caption.left + pad, layout.caption.top, layout.caption.right - pad,
                     layout.caption.bottom};
  look::Text(dc, caption, content.caption, palette::kAccentText,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE);

  PaintIcon(dc, layout.icon, IconOf(content.type), fonts.bold);

  font.emplace(dc, fonts.text);
  const RECT& text = layout.text;
  IntersectClipRect(dc, text.left, text.top, text.right, text.bottom);
  look::Text(dc, text, content.text, palette::kText, DT_WORDBREAK);
  SelectClipRgn(dc, HRGN{});

  font.emplace(dc, fonts.bold);
  for (std::size_t i = 0; i < layout.buttons.size(); ++i) {
    const MessageBoxButton& button = layout.buttons[i];
    const bool isDefault = static_cast<int>(i) == layout.defaultButton;
    const auto state = static_cast<int>(i) == pressed ? look::FaceState::Pressed
                                                      : look::FaceState::Normal;
    const COLORREF label = look::ButtonFace(dc, button.rect, state, isDefault, edge);
    look::Text(dc, button.rect, button.label, label, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
}

}  // namespace pda::user
