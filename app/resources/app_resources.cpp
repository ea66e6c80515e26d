#include "resources/app_resources.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "zazorudu_art.h"

namespace {

// Bitmaps of the normal layout; each has a high-resolution twin at id + 200.
constexpr WORD kBitmaps[] = {10000, 10010, 10020, 10025, 10030, 10035, 10040,
                             10045, 10050, 10055, 10060, 10065};
constexpr WORD kHighResOffset = 200;

struct IconGroup {
  WORD id;
  std::array<int, 3> sizes;  // 0 = unused
};
constexpr IconGroup kIconGroups[] = {
    {IDI_APPLICATION_ICON, {64, 32, 16}},
    {IDI_NOTIFY,           {16, 0, 0}},
    {IDI_NOTIFY_HIGHRES,   {64, 32, 0}},
};

constexpr pda::MenuItemResource kMainMenu[] = {
    {IDM_EXIT,     u"Exit",     MF_STRING},
    {IDM_SETTINGS, u"Settings", MF_STRING},
};
constexpr pda::MenuItemResource kSheetMenu[] = {
    {IDM_CANCEL, u"Cancel", MF_STRING},
    {IDM_OK,     u"Ok",     MF_STRING},
};
constexpr pda::MenuItemResource kGeoNotesMenu[] = {
    {IDM_CANCEL, u"Cancel", MF_STRING},
    {IDM_OK,     u"Save",   MF_STRING},
};
constexpr pda::MenuResource kMenus[] = {
    {IDR_MAIN_MENU,     kMainMenu},
    {IDR_SHEET_MENU,    kSheetMenu},
    {IDR_GEONOTES_MENU, kGeoNotesMenu},
};

constexpr ACCEL kAccelerators[] = {
    {FVIRTKEY | FCONTROL, 'Q', IDM_EXIT},
    {FVIRTKEY | FCONTROL, 'D', IDM_TOGGLE_TEXT_PANE},
    {FVIRTKEY | FCONTROL, 'N', IDM_CLEAR_TEXT_PANE},
};
constexpr pda::AcceleratorResource kAcceleratorTables[] = {
    {IDR_ACCELERATORS, kAccelerators},
};

std::span<const std::uint8_t> Art(const std::string& name) {
  const auto* file = zaz::art::FindEmbeddedFile(name);
  if (!file) return {};
  return {reinterpret_cast<const std::uint8_t*>(file->data), file->size};
}

}  // namespace

BOOL RegisterAppResources(HINSTANCE hinst) {
  std::vector<pda::BitmapResource> bitmaps;
  for (WORD id : kBitmaps) {
    for (WORD offset : {WORD{0}, kHighResOffset}) {
      const WORD number = static_cast<WORD>(id + offset);
      bitmaps.push_back({number, Art("bitmap_" + std::to_string(number) + ".png")});
    }
  }
  std::vector<std::vector<std::span<const std::uint8_t>>> images;
  std::vector<pda::IconResource> icons;
  for (const IconGroup& group : kIconGroups) {
    auto& list = images.emplace_back();
    for (int size : group.sizes) {
      if (size)
        list.push_back(
            Art("icon" + std::to_string(group.id) + "_" + std::to_string(size) + ".png"));
    }
  }
  for (std::size_t i = 0; i < std::size(kIconGroups); ++i)
    icons.push_back({kIconGroups[i].id, images[i]});

  pda::ResourceTable table;
  table.bitmaps = bitmaps;
  table.icons = icons;
  table.menus = kMenus;
  table.accelerators = kAcceleratorTables;
  return pda::RegisterResources(hinst, table);
}
