// The popup menu's layout and painting (see popup_menu.h).
//
// Sections: rows | placement | painting
#include <algorithm>

#include "look/look.h"
#include "user/popup_menu.h"

namespace pda::user {
namespace {

int Scaled(int pixelsAt96, int dpi) { return std::max(1, pixelsAt96 * dpi / 96); }

// Sizes at 96 DPI: rows a fingertip high, separators thin.
constexpr int kRowHeight = 26, kSeparatorHeight = 7, kPadding = 10, kMinWidth = 80, kFrame = 1;

// ---- rows ----------------------------------------------------------------------------------
// The label as shown: "&&" is one '&', a lone '&' (a mnemonic mark) is dropped, and whatever
// follows a tab (an accelerator's name) is left out.
std::u16string Label(std::u16string_view text) {
  std::u16string label;
  for (std::size_t i = 0; i < text.size() && text[i] != u'\t'; ++i) {
    const bool doubled = text[i] == u'&' && i + 1 < text.size() && text[i + 1] == u'&';
    if (text[i] != u'&' || doubled) label += text[i];
    if (doubled) ++i;
  }
  return label;
}

PopupMenuRow RowOf(const MenuItemView& item) {
  PopupMenuRow row;
  row.separator = (item.flags & MF_SEPARATOR) != 0;
  if (row.separator) {
    row.enabled = false;
    return row;
  }
  row.text = Label(item.text);
  row.command = item.id;
  row.checked = (item.flags & MF_CHECKED) != 0;
  // A submenu cannot be opened from a popup menu here: it shows, but cannot be chosen.
  row.enabled = !(item.flags & (MF_GRAYED | MF_DISABLED | MF_POPUP));
  return row;
}

// ---- placement -----------------------------------------------------------------------------
int Place(int at, int size, bool centre, bool far) {
  return centre ? at - size / 2 : far ? at - size : at;
}

bool Overlaps(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

}  // namespace

PopupMenuLayout LayOutPopupMenu(const std::vector<MenuItemView>& items, HFONT font, POINT anchor,
                                UINT flags, const RECT& exclude, int screenWidth,
                                int screenHeight, int dpi) {
  PopupMenuLayout layout;
  const UniqueMemoryDC dc(CreateCompatibleDC(HDC{}));
  const ScopedSelect selected(dc.get(), font);
  const int frame = Scaled(kFrame, dpi), padding = Scaled(kPadding, dpi);
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.get(), &metrics);
  const int rowHeight =
      std::max(Scaled(kRowHeight, dpi), static_cast<int>(metrics.tmHeight) + 2 * frame);

  int width = Scaled(kMinWidth, dpi), y = frame;
  for (const MenuItemView& item : items) {
    PopupMenuRow row = RowOf(item);
    const int height = row.separator ? Scaled(kSeparatorHeight, dpi) : rowHeight;
    SIZE size{};
    if (!row.text.empty())
      GetTextExtentPoint32W(dc.get(), row.text.data(), static_cast<int>(row.text.size()), &size);
    width = std::max(width, static_cast<int>(size.cx) + 2 * padding + 2 * frame);
    row.rect = RECT{frame, y, 0, y + height};
    y += height;
    layout.rows.push_back(std::move(row));
  }
  width = std::min(width, screenWidth);
  for (PopupMenuRow& row : layout.rows) row.rect.right = width - frame;
  const int height = y + frame;

  RECT& panel = layout.panel;
  panel.left = Place(anchor.x, width, flags & TPM_CENTERALIGN, flags & TPM_RIGHTALIGN);
  panel.top = Place(anchor.y, height, flags & TPM_VCENTERALIGN, flags & TPM_BOTTOMALIGN);
  panel.right = panel.left + width;
  panel.bottom = panel.top + height;
  if (exclude.right > exclude.left && exclude.bottom > exclude.top && Overlaps(panel, exclude)) {
    // Below the area when it fits there, else above it.
    panel.top = exclude.bottom + height <= screenHeight ? exclude.bottom : exclude.top - height;
    panel.bottom = panel.top + height;
  }
  // Kept on the screen (a menu taller than the screen shows its first rows).
  const int dx = std::clamp<int>(panel.left, 0, std::max(screenWidth - width, 0)) - panel.left;
  const int dy = std::clamp<int>(panel.top, 0, std::max(screenHeight - height, 0)) - panel.top;
  panel = RECT{panel.left + dx, panel.top + dy, panel.right + dx, panel.bottom + dy};
  return layout;
}

// ---- painting ------------------------------------------------------------------------------
void PaintPopupMenu(HDC dc, const PopupMenuLayout& layout, HFONT font, int dpi, int hot) {
  namespace palette = look::palette;
  const RECT client{0, 0, layout.panel.right - layout.panel.left,
                    layout.panel.bottom - layout.panel.top};
  look::Fill(dc, client, palette::kWindow);
  look::Frame(dc, client, Scaled(kFrame, dpi), palette::kEdge);
  const ScopedSelect selected(dc, font);
  const int padding = Scaled(kPadding, dpi);
  for (std::size_t i = 0; i < layout.rows.size(); ++i) {
    const PopupMenuRow& row = layout.rows[i];
    if (row.separator) {
      const int middle = (row.rect.top + row.rect.bottom) / 2;
      look::Fill(dc, RECT{row.rect.left + padding / 2, middle, row.rect.right - padding / 2,
                          middle + Scaled(kFrame, dpi)},
                 palette::kThumb);
      continue;
    }
    const bool lit = static_cast<int>(i) == hot && row.enabled;
    if (lit) look::Fill(dc, row.rect, palette::kAccent);
    const COLORREF color = !row.enabled ? palette::kDisabledText
                           : lit        ? palette::kAccentText
                                        : palette::kText;
    if (row.checked) {  // a small square before the label
      const int side = std::max(2, padding / 2);
      const int top = (row.rect.top + row.rect.bottom - side) / 2;
      const int left = row.rect.left + side / 2;
      look::Fill(dc, RECT{left, top, left + side, top + side}, color);
    }
    const RECT label{row.rect.left + padding, row.rect.top, row.rect.right - padding,
                     row.rect.bottom};
    look::Text(dc, label, row.text, color, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
  }
}

}  // namespace pda::user
