#include <gtest/gtest.h>

#include <string>

#include "player/shell/MainDialogs_win32.h"
#include "player/shell/MainMenus_win32.h"

namespace orves {
namespace {

struct Item {
  std::wstring text;
  UINT id = 0;
  UINT state = 0;
  UINT type = 0;
  HMENU sub = nullptr;
};

Item ItemAt(HMENU menu, int position) {
  wchar_t text[256] = {};
  MENUITEMINFOW info{};
  info.cbSize = sizeof(info);
  info.fMask = MIIM_STATE | MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
  info.dwTypeData = text;
  info.cch = 255;
  EXPECT_TRUE(GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info));
  return Item{text, info.wID, info.fState, info.fType, info.hSubMenu};
}

// The item captioned `text` in `menu` (not in its submenus).
Item Find(HMENU menu, const std::wstring& text) {
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    Item item = ItemAt(menu, i);
    if (item.text == text) return item;
  }
  ADD_FAILURE() << "no item";
  return {};
}

struct MainMenuTest : ::testing::Test {
  MainMenuState state;
  BuiltMenu built;
  void Build() { built = BuildMainMenu(state); }
  void TearDown() override {
    if (built.menu) DestroyMenu(built.menu);
  }
};

TEST_F(MainMenuTest, TopLevelFollowsTheMenuOrder) {
  Build();
  ASSERT_EQ(GetMenuItemCount(built.menu), 17);
  EXPECT_EQ(ItemAt(built.menu, 0).text, L"동영상 열기...");
  EXPECT_TRUE(ItemAt(built.menu, 4).type & MFT_SEPARATOR);
  EXPECT_EQ(ItemAt(built.menu, 9).text, L"환경 설정...");
  EXPECT_EQ(ItemAt(built.menu, 16).text, L"종료");
  EXPECT_EQ(ChoiceOf(ItemAt(built.menu, 16).id, built.actions).action, "actExit");
}

TEST_F(MainMenuTest, ChecksEnablingAndSeekCaptionsComeFromTheState) {
  state.fullScreen = true;
  state.fontBold = true;
  state.openCaptionEnabled = false;
  state.rewind = "7초 되감기";
  state.fastFind2 = "90초 빨리감기";
  Build();
  EXPECT_TRUE(Find(built.menu, L"자막 열기...").state & MFS_DISABLED);
  const Item screen = Find(built.menu, L"화면 설정");
  EXPECT_TRUE(Find(screen.sub, L"전체화면").state & MFS_CHECKED);
  EXPECT_FALSE(Find(screen.sub, L"재생시간 보기").state & MFS_CHECKED);
  EXPECT_EQ(ItemAt(screen.sub, 4).text, L"양쪽 자르기 (팬스캔) 감소");
  const Item font = Find(Find(built.menu, L"자막 설정").sub, L"폰트 조절");
  EXPECT_TRUE(Find(font.sub, L"굵게").state & MFS_CHECKED);
  EXPECT_EQ(ItemAt(font.sub, 0).text, L"크게");
  const Item movie = Find(built.menu, L"동영상 제어");
  EXPECT_EQ(ItemAt(movie.sub, 2).text, L"7초 되감기");
  EXPECT_EQ(ChoiceOf(ItemAt(movie.sub, 2).id, built.actions).action, "actRewind");
  EXPECT_EQ(ItemAt(movie.sub, 5).text, L"90초 빨리감기");
}

TEST_F(MainMenuTest, FilledItemsAreRadioItemsAfterTheFixedOnes) {
  state.changeStreamEnabled = true;
  state.streams = {{"언어1 : A&B", false}, {"언어2 : C", true}};
  state.skins = {{"Blue", false}, {"Default", true}};
  state.entries = {{"1 : a.avi", false}, {"2 : b.avi", true}, {"3 : c.avi", false}};
  Build();
  const Item sound = Find(built.menu, L"음향 설정");
  ASSERT_EQ(GetMenuItemCount(sound.sub), kSoundFixedItems + 2);
  const Item first = ItemAt(sound.sub, kSoundFixedItems);
  EXPECT_EQ(first.text, L"언어1 : A&&B");  // shown as written, no accelerator letter
  EXPECT_TRUE(first.type & MFT_RADIOCHECK);
  EXPECT_TRUE(ItemAt(sound.sub, kSoundFixedItems + 1).state & MFS_CHECKED);
  const MenuChoice stream = ChoiceOf(ItemAt(sound.sub, kSoundFixedItems + 1).id, built.actions);
  EXPECT_EQ(stream.kind, MenuChoice::Kind::Stream);
  EXPECT_EQ(stream.index, 1);

  const Item skin = Find(built.menu, L"스킨 설정");
  ASSERT_EQ(GetMenuItemCount(skin.sub), kSkinFixedItems + 2);
  EXPECT_EQ(ChoiceOf(ItemAt(skin.sub, kSkinFixedItems + 1).id, built.actions).kind, MenuChoice::Kind::Skin);

  const Item list = Find(built.menu, L"플레이 리스트");
  ASSERT_EQ(GetMenuItemCount(list.sub), kPlayListFixedItems + 3);
  const Item second = ItemAt(list.sub, kPlayListFixedItems + 1);
  EXPECT_TRUE(second.state & MFS_CHECKED);
  const MenuChoice entry = ChoiceOf(second.id, built.actions);
  EXPECT_EQ(entry.kind, MenuChoice::Kind::Entry);
  EXPECT_EQ(entry.index, 1);
}

TEST_F(MainMenuTest, StreamChangeIsDisabledWithoutStreams) {
  Build();
  const Item sound = Find(built.menu, L"음향 설정");
  EXPECT_EQ(GetMenuItemCount(sound.sub), kSoundFixedItems);
  EXPECT_TRUE(ItemAt(sound.sub, 3).state & MFS_DISABLED);
}

TEST(PlayListMenu, AutoSortIsMarkedWhenOn) {
  for (bool on : {false, true}) {
    BuiltMenu built = BuildPlayListMenu(on);
    ASSERT_EQ(GetMenuItemCount(built.menu), 7);
    const Item sort = ItemAt(built.menu, 4);
    EXPECT_EQ(sort.text, L"자동 정렬 (이름순)");
    EXPECT_EQ((sort.state & MFS_CHECKED) != 0, on);
    EXPECT_EQ(ChoiceOf(ItemAt(built.menu, 6).id, built.actions).action, "actSavePlayList");
    DestroyMenu(built.menu);
  }
  EXPECT_EQ(ChoiceOf(0, {}).kind, MenuChoice::Kind::None);  // cancelled
}

TEST(OpenDialogNames, OneFileOrAFolderWithNames) {
  EXPECT_EQ(SplitMultiSelection(L"C:\\m\\a.avi\0"), (std::vector<std::wstring>{L"C:\\m\\a.avi"}));
  EXPECT_EQ(SplitMultiSelection(L"C:\\m\0b.avi\0a.avi\0"),
            (std::vector<std::wstring>{L"C:\\m\\b.avi", L"C:\\m\\a.avi"}));
  EXPECT_EQ(SplitMultiSelection(L"C:\\\0a.avi\0b.avi\0"),
            (std::vector<std::wstring>{L"C:\\a.avi", L"C:\\b.avi"}));
  EXPECT_TRUE(SplitMultiSelection(L"\0").empty());
}

}  // namespace
}  // namespace orves
