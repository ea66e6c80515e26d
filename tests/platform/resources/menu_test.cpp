// Menus built item by item: order, commands, texts, states, popups and handle lifetime.
#include <gtest/gtest.h>

#include <string>

#include "pda/menu.h"

namespace {

std::u16string TextAt(HMENU menu, UINT position) {
  char16_t text[64] = {};
  GetMenuStringW(menu, position, text, 64, MF_BYPOSITION);
  return text;
}

TEST(Menu, AppendedItemsKeepTheirOrderCommandsAndTexts) {
  const HMENU menu = CreateMenu();
  ASSERT_TRUE(AppendMenuW(menu, MF_STRING, 40110, u"Cancel"));
  ASSERT_TRUE(AppendMenuW(menu, MF_SEPARATOR, 0, nullptr));
  ASSERT_TRUE(AppendMenuW(menu, MF_STRING, 40120, u"Ok"));
  EXPECT_EQ(GetMenuItemCount(menu), 3);
  EXPECT_EQ(GetMenuItemID(menu, 0), 40110u);
  EXPECT_EQ(GetMenuItemID(menu, 2), 40120u);
  EXPECT_EQ(TextAt(menu, 0), u"Cancel");
  EXPECT_EQ(TextAt(menu, 1), u"");
  EXPECT_EQ(TextAt(menu, 2), u"Ok");
  EXPECT_EQ(GetMenuItemID(menu, 3), 0xFFFFFFFFu);
  EXPECT_EQ(GetMenuItemID(menu, -1), 0xFFFFFFFFu);
  DestroyMenu(menu);
}

TEST(Menu, GetMenuStringCutsToTheBufferAndReportsTheLengthWithoutOne) {
  const HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, 7, u"Settings");
  char16_t small[4];
  EXPECT_EQ(GetMenuStringW(menu, 0, small, 4, MF_BYPOSITION), 3);
  EXPECT_EQ(std::u16string(small), u"Set");
  EXPECT_EQ(GetMenuStringW(menu, 0, nullptr, 0, MF_BYPOSITION), 8);
  char16_t byCommand[16];
  EXPECT_EQ(GetMenuStringW(menu, 7, byCommand, 16, MF_BYCOMMAND), 8);
  EXPECT_EQ(GetMenuStringW(menu, 8, byCommand, 16, MF_BYCOMMAND), 0);
  DestroyMenu(menu);
}

TEST(Menu, EnableMenuItemReturnsThePreviousState) {
  struct Step {
    const char* name;
    UINT item;
    UINT enable;
    UINT returned;
    UINT stateAfter;
  };
  const HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 10, u"A");
  AppendMenuW(menu, MF_GRAYED, 20, u"B");
  const Step steps[] = {
      {"gray an enabled item by command", 10, MF_BYCOMMAND | MF_GRAYED, MF_ENABLED, MF_GRAYED},
      {"enable a grayed item by position", 1, MF_BYPOSITION | MF_ENABLED, MF_GRAYED, MF_ENABLED},
      {"disable by command", 20, MF_BYCOMMAND | MF_DISABLED, MF_ENABLED, MF_DISABLED},
      {"an item that does not exist", 30, MF_BYCOMMAND | MF_GRAYED, 0xFFFFFFFFu, 0xFFFFFFFFu},
  };
  for (const Step& s : steps) {
    EXPECT_EQ(EnableMenuItem(menu, s.item, s.enable), s.returned) << s.name;
    EXPECT_EQ(GetMenuState(menu, s.item, s.enable & MF_BYPOSITION), s.stateAfter) << s.name;
  }
  DestroyMenu(menu);
}

TEST(Menu, APopupBelongsToOneMenuAndGoesWithIt) {
  const HMENU bar = CreateMenu();
  const HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, 501, u"Copy");
  ASSERT_TRUE(AppendMenuW(bar, MF_POPUP, popup.value, u"Edit"));
  EXPECT_EQ(GetSubMenu(bar, 0).value, popup.value);
  EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION), MF_POPUP);
  // A second parent would destroy it twice.
  const HMENU other = CreateMenu();
  EXPECT_FALSE(AppendMenuW(other, MF_POPUP, popup.value, u"Again"));
  EXPECT_FALSE(AppendMenuW(bar, MF_POPUP, bar.value, u"Itself"));

  ASSERT_TRUE(DestroyMenu(bar));
  EXPECT_FALSE(IsMenu(bar));
  EXPECT_FALSE(IsMenu(popup));
  DestroyMenu(other);
}

TEST(Menu, AStaleHandleIsRefusedEverywhere) {
  const HMENU menu = CreateMenu();
  AppendMenuW(menu, MF_STRING, 1, u"x");
  DestroyMenu(menu);
  SetLastError(0);
  EXPECT_EQ(GetMenuItemCount(menu), -1);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_MENU_HANDLE);
  EXPECT_FALSE(AppendMenuW(menu, MF_STRING, 2, u"y"));
  EXPECT_FALSE(DestroyMenu(menu));
  EXPECT_EQ(EnableMenuItem(menu, 1, MF_GRAYED), 0xFFFFFFFFu);
  // The slot is reused by a new menu, which must not answer to the old handle.
  const HMENU fresh = CreateMenu();
  EXPECT_NE(fresh.value, menu.value);
  EXPECT_EQ(GetMenuItemCount(fresh), 0);
  DestroyMenu(fresh);
}

}  // namespace
