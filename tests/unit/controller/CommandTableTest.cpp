#include <map>
#include <set>
#include <string>

#include <gtest/gtest.h>

#include "player/controller/CommandTable.h"

namespace orves {
namespace {

TEST(CommandTableTest, EveryShortcutParsesAndNoTwoActionsShareAKey) {
  std::map<std::pair<int, int>, std::string> owner;
  std::set<std::string> names;
  for (const auto& c : Commands()) {
    EXPECT_TRUE(names.insert(c.name).second) << "duplicate action " << c.name;
    for (const char* s : c.shortcuts) {
      const auto key = ParseShortcut(s);
      ASSERT_TRUE(key.has_value()) << c.name << " " << s;
      const auto [it, fresh] = owner.emplace(std::make_pair(key->modifiers, key->virtualKey), c.name);
      EXPECT_TRUE(fresh) << s << " of " << c.name << " is also " << it->second;
    }
  }
  EXPECT_EQ(names.size(), 73u);
}

TEST(CommandTableTest, KeysReachTheirActions) {
  const std::map<std::string, std::string> expected = {
      {"Space", "actPlayPause"},
      {"C", "actPlayPause"},
      {"Enter", "actChangeLanguageAndPlayPause"},
      {"alt+enter", "actToggleFullScreen"},
      {"Esc", "actToggleFullScreen"},
      {"`", "actScreenHalf"},
      {"1", "actScreenOne"},
      {"ctrl+1", "actPresetNormal"},
      {"Right", "actFastFind"},
      {"Shift+Right", "actAddSyncPlus1cs"},
      {"Alt+Right", "actFastFind2"},
      {"Ctrl+Right", "actPlayNext"},
      {"-", "actSpeedDown"},
      {"=", "actSpeedUp"},
      {"[", "actMinusCuttingBlock"},
      {"]", "actAddCuttingBlock"},
      {"Ctrl+PgUp", "actOutLineRatePlus"},
      {"Alt+PgDn", "actShadowRateMinus"},
      {"F12", "actMinimize"},
      {"Alt+F3", "actOpenCaption"},
  };
  for (const auto& [text, action] : expected) {
    const auto key = ParseShortcut(text);
    ASSERT_TRUE(key) << text;
    const CommandSpec* c = CommandForKey(*key);
    ASSERT_NE(c, nullptr) << text;
    EXPECT_EQ(c->name, action) << text;
  }
  EXPECT_EQ(ParseShortcut("`")->virtualKey, 192);
  EXPECT_EQ(ParseShortcut("ctrl+o")->modifiers, kModCtrl);
  EXPECT_EQ(CommandForKey({kModShift, 'X'}), nullptr);
}

TEST(CommandTableTest, RejectsTextsThatNameNoKey) {
  for (const char* bad : {"", "ctrl+", "hyper+x", "F13", "F0", "ctrl+alt", "Space+Space", "xx"}) {
    EXPECT_FALSE(ParseShortcut(bad).has_value()) << bad;
  }
  EXPECT_EQ(FindCommand("actNothing"), nullptr);
  ASSERT_NE(FindCommand("actToggleShowTime"), nullptr);
  EXPECT_STREQ(FindCommand("actToggleShowTime")->category, "레이아웃");
}

}  // namespace
}  // namespace orves
