// Menu 132 as the viewer loads it: every command once, the bar's layout that the viewer
// and the JPEG preview rely on, and only the item that has no handler greyed.
#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "win/module.h"
#include "resources/resource_ids.h"
#include "resources_test_support.h"
#include "win_test_support.h"

namespace pictornx {
namespace {

struct MenuItem {
  std::wstring label;
  bool grayed;
  int count;  // how often the command occurs
};

std::wstring ItemLabel(HMENU menu, UINT position) {
  wchar_t text[128] = L"";
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 128;
  GetMenuItemInfoW(menu, position, TRUE, &info);
  return text;
}

void CollectCommands(HMENU menu, std::map<int, MenuItem>& commands) {
  for (int position = 0; position < GetMenuItemCount(menu); ++position) {
    if (HMENU sub = GetSubMenu(menu, position)) {
      CollectCommands(sub, commands);
      continue;
    }
    const UINT state = GetMenuState(menu, position, MF_BYPOSITION);
    if (state & MF_SEPARATOR) continue;
    MenuItem& item = commands[static_cast<int>(GetMenuItemID(menu, position))];
    item.label = ItemLabel(menu, position);
    item.grayed = (state & MF_GRAYED) != 0;
    ++item.count;
  }
}

class ViewerMenu : public ::testing::Test {
 protected:
  void SetUp() override { menu_ = LoadMenuW(ModuleInstance(), MAKEINTRESOURCEW(IDR_VIEWER_MENU)); }
  void TearDown() override {
    if (menu_) DestroyMenu(menu_);
  }
  HMENU menu_ = nullptr;
};

TEST_F(ViewerMenu, HoldsEveryCommandOnceAndGreysOnlyDelvane) {
  ASSERT_NE(menu_, nullptr);
  std::map<int, MenuItem> commands;
  CollectCommands(menu_, commands);
  const auto ids = restest::ResourceIdsWithPrefix("IDM_");
  ASSERT_GE(ids.size(), 40u);
  for (const auto& id : ids) {
    if (id.value == IDM_TEMP_FILE) {
      EXPECT_EQ(commands.count(id.value), 0u) << "no item carries the temporary-file command";
      continue;
    }
    ASSERT_EQ(commands.count(id.value), 1u) << id.name;
    const MenuItem& item = commands[id.value];
    EXPECT_EQ(item.count, 1) << id.name;
    EXPECT_FALSE(item.label.empty()) << id.name;
    EXPECT_EQ(item.grayed, id.value == IDM_DELVANE) << id.name;
  }
  EXPECT_EQ(commands.size(), ids.size() - 1) << "a command in the menu has no name";
  EXPECT_EQ(commands[IDM_DELVANE].label, L"Delvane");
}

TEST_F(ViewerMenu, BarHasTheResetItemAndTheZoomPopupInPlace) {
  ASSERT_EQ(GetMenuItemCount(menu_), 6);
  EXPECT_EQ(GetSubMenu(menu_, 1), nullptr);
  EXPECT_EQ(GetMenuItemID(menu_, 1), static_cast<UINT>(IDM_RESET));
  EXPECT_EQ(ItemLabel(menu_, 1), L"\x6700\x521D\x306B\x623B\x3059(&L)");  // 最初に戻す(&L)
  for (int position : {0, 2, 3, 4, 5}) EXPECT_NE(GetSubMenu(menu_, position), nullptr) << position;
  HMENU zoom = GetSubMenu(menu_, 3);
  EXPECT_EQ(ItemLabel(menu_, 3), L"\x62E1\x5927\x7E2E\x5C0F(&M)");  // 拡大縮小(&M)
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE;
  for (UINT command : {IDM_RESAMPLE_NONE, IDM_RESAMPLE_AVERAGE_SHARPEN, IDM_ZOOM_25, IDM_ZOOM_200,
                       IDM_ZOOM_ANY_SIZE, IDM_SIZE_SLOT1, IDM_SIZE_SLOT3_FIXED_WIDTH})
    EXPECT_TRUE(GetMenuItemInfoW(zoom, command, FALSE, &info)) << command;
  EXPECT_EQ(ItemLabel(zoom, 6), L"\xFF12\xFF15\xFF05 ");  // "２５％ " with its trailing space
  EXPECT_EQ(GetMenuItemID(zoom, 6), static_cast<UINT>(IDM_ZOOM_25));
}

TEST_F(ViewerMenu, FirstPopupKeepsThePositionsThePreviewGreys) {
  HMENU copy = GetSubMenu(menu_, 0);
  ASSERT_NE(copy, nullptr);
  const std::map<int, UINT> expected = {{0, IDM_COPY_WHOLE}, {1, IDM_COPY_RANGE}, {3, IDM_SHOW_RANGE},
                                        {5, IDM_CLOSE_VIEWER}, {7, IDM_SAVE_WHOLE}, {8, IDM_SAVE_RANGE}};
  ASSERT_EQ(GetMenuItemCount(copy), 9);
  for (const auto& [position, command] : expected) EXPECT_EQ(GetMenuItemID(copy, position), command) << position;
  for (int position : {2, 4, 6}) EXPECT_TRUE(GetMenuState(copy, position, MF_BYPOSITION) & MF_SEPARATOR);
}

}  // namespace
}  // namespace pictornx
