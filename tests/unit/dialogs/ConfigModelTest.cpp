// The options dialog's model against a recording target: filling the
// controls, the presets and the reset, and applying the controls back in the
// apply steps' order, touching only what changed where the owner's command
// has side effects.
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "player/core/Associations.h"
#include "player/dialogs/ConfigModel.h"
#include "player/shell/MainConfig.h"

namespace orves {
namespace {

class RecordingTarget final : public IConfigTarget {
 public:
  RecordingTarget() {
    for (const DialogSetting& s : PlayerDialogSettings()) settings[Name(s.section, s.key)] = 0;
    settings["OrveCaption/FontName2"] = std::string("굴림");
    settings["PlayList/CaptionFolder"] = std::string("C:\\");
    settings["OrveCaption/UpHeightRateShortCut1"] = 120;
    settings["OrveCaption/UpHeightRateShortCut2"] = 25;
    settings["Layout/FullScreenDpi"] = 0;
    settings["Layout/FullScreenColor"] = 32;
  }
  static std::string Name(const std::string& section, const std::string& key) { return section + "/" + key; }

  std::span<const DialogSetting> Settings() const override { return PlayerDialogSettings(); }
  ConfigValue Get(const std::string& section, const std::string& key) const override {
    return settings.at(Name(section, key));
  }
  void Set(const std::string& section, const std::string& key, const ConfigValue& value) override {
    settings[Name(section, key)] = value;
    log.push_back("Set " + Name(section, key));
  }
  void Command(const std::string& section, const std::string& key, int value) override {
    settings[Name(section, key)] = value;
    log.push_back("Command " + Name(section, key));
  }
  void Toggle(const std::string& section, const std::string& key) override {
    settings[Name(section, key)] = std::get<int>(settings[Name(section, key)]) != 0 ? 0 : 1;
    log.push_back("Toggle " + Name(section, key));
  }
  void SetPicture(int brightness, int processing) override {
    settings["Movie/DivxBrightness"] = brightness;
    settings["Movie/DivxProcess"] = processing;
    log.push_back("Picture");
  }
  void RedrawCaption() override { log.push_back("Redraw"); }
  double SyncOffset() const override { return sync; }
  void SetSyncOffset(double seconds) override {
    sync = seconds;
    log.push_back("Sync");
  }
  bool IsAssociated(LinkGroup group) const override { return linked[static_cast<int>(group)]; }
  void Associate(LinkGroup group) override {
    linked[static_cast<int>(group)] = true;
    log.push_back("Associate");
  }
  void Unassociate(LinkGroup group) override {
    linked[static_cast<int>(group)] = false;
    log.push_back("Unassociate");
  }
  void ResizeKeepingAspect() override { log.push_back("Resize"); }

  int Int(const std::string& name) const { return std::get<int>(settings.at(name)); }
  size_t Position(const std::string& entry) const {
    return static_cast<size_t>(std::find(log.begin(), log.end(), entry) - log.begin());
  }
  size_t Count(const std::string& entry) const {
    return static_cast<size_t>(std::count(log.begin(), log.end(), entry));
  }

  std::map<std::string, ConfigValue> settings;
  std::vector<std::string> log;
  double sync = 0;
  bool linked[kLinkGroupCount] = {};
};

TEST(ConfigModel, FillChoosesPositionRadioSyncAndFullScreenMode) {
  struct Case {
    int position;
    double sync;
    int dpi;
    int wantChoice, wantSyncChoice;
    const char* wantSeconds;
    int wantMode;
  };
  const Case cases[] = {
      {25, -1.5, 0, 1, cfg::kSyncEarlier, "1.5", 0},
      {120, 2, 1024, 0, cfg::kSyncLater, "2", 1},
      {77, 0, 1366, cfg::kPositionUser, cfg::kSyncAsIs, "0", 1},
  };
  for (const Case& c : cases) {
    RecordingTarget target;
    target.settings["OrveCaption/UpHeightRate"] = c.position;
    target.sync = c.sync;
    target.settings["Layout/FullScreenDpi"] = c.dpi;
    ConfigValues v = FillConfig(target);
    FollowPositionChoice(v);
    EXPECT_EQ(v.Int(cfg::kPositionChoice), c.wantChoice) << c.position;
    EXPECT_EQ(v.Int("spinUpHeightRate"), c.position);
    EXPECT_EQ(v.Int(cfg::kSyncChoice), c.wantSyncChoice);
    EXPECT_EQ(v.Text(cfg::kSyncSeconds), c.wantSeconds);
    EXPECT_EQ(v.Int(cfg::kFullScreenMode), c.wantMode);
    EXPECT_EQ(v.Int(cfg::kFullScreenDpi), c.dpi);
    EXPECT_EQ(v.Int(cfg::kFullScreenColor), 3);
  }
}

TEST(ConfigModel, ApplyingUnchangedControlsRunsNoToggleReloadOrAssociation) {
  RecordingTarget target;
  target.settings["PlayList/Enabled"] = 1;
  target.settings["Movie/DivxBrightness"] = 30;
  target.linked[2] = true;
  target.sync = -1.5;
  const std::map<std::string, ConfigValue> before = target.settings;
  ApplyConfig(FillConfig(target), target);
  EXPECT_EQ(target.settings, before);
  EXPECT_EQ(target.sync, -1.5);
  for (const char* entry : {"Toggle PlayList/Enabled", "Toggle PlayList/AutoSort", "Picture", "Associate",
                            "Unassociate", "Toggle Layout/AlwaysShowFullScreenBar"}) {
    EXPECT_EQ(target.Count(entry), 0u) << entry;
  }
}

TEST(ConfigModel, ApplyRunsTheStepsInOrderAndOnlyChangedToggles) {
  RecordingTarget target;
  target.linked[0] = true;
  ConfigValues v = FillConfig(target);
  v.Set("chkPlayListEnabled", 1);
  v.Set("spinDivxProcess", 20);
  v.Set(cfg::kLinkBoxes[0], 0);
  v.Set(cfg::kLinkBoxes[4], 1);
  v.Set(cfg::kLinkBoxes[9], 1);  // ts, m2ts
  v.Set(cfg::kSyncChoice, cfg::kSyncLater);
  v.Set(cfg::kSyncSeconds, std::string("2"));
  ApplyConfig(v, target);

  const std::vector<std::string> order = {"Set Config/ShowTab",
                                          "Set Layout/StartMode",
                                          "Set Media/FFSpaceTime",
                                          "Picture",
                                          "Set Media/DoBookMark",
                                          "Toggle PlayList/Enabled",
                                          "Command OrveCaption/UpHeightRate",
                                          "Set OrveCaption/UpHeightRateShortCut1",
                                          "Command OrveCaption/HeightRate",
                                          "Set OrveCaption/ShadowRate",
                                          "Command OrveCaption/OutLineRate",
                                          "Set OrveCaption/FontName2",
                                          "Set OrveCaption/AntiAliase",
                                          "Redraw",
                                          "Sync",
                                          "Set Movie/DoFixRate",
                                          "Set Layout/FullScreenDpi",
                                          "Unassociate",
                                          "Associate",
                                          "Set Main/CheckNewVersion",
                                          "Set PlayList/CaptionFolder",
                                          "Resize"};
  for (size_t i = 0; i < order.size(); ++i) {
    ASSERT_LT(target.Position(order[i]), target.log.size()) << order[i];
    if (i > 0) {
      EXPECT_LT(target.Position(order[i - 1]), target.Position(order[i])) << order[i];
    }
  }
  EXPECT_EQ(target.Count("Toggle PlayList/Enabled"), 1u);
  EXPECT_EQ(target.Count("Toggle PlayList/AutoSort"), 0u);
  EXPECT_EQ(target.Count("Picture"), 1u);
  EXPECT_EQ(target.Int("Movie/DivxProcess"), 20);
  EXPECT_EQ(target.sync, 2);
  EXPECT_FALSE(target.linked[0]);
  EXPECT_TRUE(target.linked[4]);
  EXPECT_TRUE(target.linked[9]);
  // Every box has its group of extensions.
  ASSERT_EQ(ExtensionGroups().size(), static_cast<size_t>(kLinkGroupCount));
  EXPECT_EQ(ExtensionGroups()[9].extensions, (std::vector<std::string>{"ts", "m2ts"}));
}

TEST(ConfigModel, PresetsApplyTheirValues) {
  struct Case {
    ConfigPreset preset;
    int position, antiAliase, fixRate, dpi, color, process;
  };
  const Case cases[] = {
      {ConfigPreset::Normal, 120, 1, 0, 0, 32, 40}, {ConfigPreset::Separate, 0, 1, 0, 0, 32, 40},
      {ConfigPreset::Wide, 120, 1, 169, 0, 32, 40}, {ConfigPreset::Video43, 120, 1, 43, 0, 32, 40},
      {ConfigPreset::LowEnd, 0, 0, 0, 800, 16, 0},
  };
  for (const Case& c : cases) {
    RecordingTarget target;
    target.settings["Layout/FullScreenDpi"] = 1280;
    target.settings["Movie/DoFixRate"] = 43;
    target.settings["OrveCaption/UpHeightRate"] = 25;
    target.settings["Movie/DivxProcess"] = 40;
    ConfigValues v = FillConfig(target);
    ApplyPreset(v, c.preset);
    ApplyConfig(v, target);
    const int preset = static_cast<int>(c.preset);
    EXPECT_EQ(target.Int("OrveCaption/UpHeightRate"), c.position) << preset;
    EXPECT_EQ(target.Int("OrveCaption/AntiAliase"), c.antiAliase) << preset;
    EXPECT_EQ(target.Int("Movie/DoFixRate"), c.fixRate) << preset;
    EXPECT_EQ(target.Int("Layout/FullScreenDpi"), c.dpi) << preset;
    EXPECT_EQ(target.Int("Layout/FullScreenColor"), c.color) << preset;
    EXPECT_EQ(target.Int("Movie/DivxProcess"), c.process) << preset;
  }
}

struct Messages final : IStateText {
  void ShowState(const std::string&, const std::string& english) override { shown.push_back(english); }
  void Tick() override {}
  bool ShowTime() const override { return false; }
  void SetShowTime(bool) override {}
  std::vector<std::string> shown;
};

// The main window's preset commands 1 to 5 are the dialog's buttons in their
// order, applied to the live objects, ending with the completion message.
TEST(ConfigModel, PresetCommandsApplyTheButtonsPresetsAndSayConfigurationFinished) {
  struct Case {
    int number;
    int position, antiAliase, fixRate, dpi;
  };
  const Case cases[] = {
      {1, 120, 1, 0, 0}, {2, 0, 1, 0, 0}, {3, 120, 1, 169, 0}, {4, 120, 1, 43, 0}, {5, 0, 0, 0, 800}};
  for (const Case& c : cases) {
    RecordingTarget target;
    target.settings["Layout/FullScreenDpi"] = 1024;
    target.settings["OrveCaption/UpHeightRate"] = 25;
    Messages messages;
    const std::optional<ConfigPreset> preset = PresetNumbered(c.number);
    ASSERT_TRUE(preset.has_value()) << c.number;
    ApplyPresetNow(*preset, target, messages);
    EXPECT_EQ(target.Int("OrveCaption/UpHeightRate"), c.position) << c.number;
    EXPECT_EQ(target.Int("OrveCaption/AntiAliase"), c.antiAliase) << c.number;
    EXPECT_EQ(target.Int("Movie/DoFixRate"), c.fixRate) << c.number;
    EXPECT_EQ(target.Int("Layout/FullScreenDpi"), c.dpi) << c.number;
    EXPECT_EQ(messages.shown, std::vector<std::string>{"CONFIGURATION FINISHED"}) << c.number;
  }
  EXPECT_EQ(PresetNumbered(0), std::nullopt);
  EXPECT_EQ(PresetNumbered(6), std::nullopt);
}

TEST(ConfigModel, ResetKeepsAltStepRecentListAssociationsTabsAndSync) {
  RecordingTarget target;
  target.settings["Media/FFSpaceTime2"] = 90;
  target.settings["Media/AddToRecent"] = 1;
  target.settings["Config/ShowTab"] = 1;
  target.settings["Media/FFSpaceTime"] = 33;
  target.settings["OrveCaption/FontColor"] = 255;
  target.settings["OrveCaption/UpHeightRateShortCut1"] = 7;
  target.linked[3] = true;
  target.sync = 4;
  ConfigValues v = FillConfig(target);
  ResetConfig(v, PlayerDialogSettings());
  ApplyConfig(v, target);
  EXPECT_EQ(target.Int("Media/FFSpaceTime2"), 90);
  EXPECT_EQ(target.Int("Media/AddToRecent"), 1);
  EXPECT_EQ(target.Int("Config/ShowTab"), 1);
  EXPECT_TRUE(target.linked[3]);
  EXPECT_EQ(target.sync, 4);
  EXPECT_EQ(target.Int("Media/FFSpaceTime"), 10);
  EXPECT_EQ(target.Int("OrveCaption/FontColor"), 14737632);
  EXPECT_EQ(target.Int("OrveCaption/UpHeightRate"), 120);
  EXPECT_EQ(target.Int("OrveCaption/UpHeightRateShortCut1"), 120);
  EXPECT_EQ(std::get<std::string>(target.settings["OrveCaption/FontName2"]), "MD개성체");
  // The reset writes what a first run writes.
  EXPECT_EQ(std::get<std::string>(target.settings["PlayList/CaptionFolder"]), "c:\\");
}

TEST(ConfigModel, SyncAppliesOnlyAChoiceWithANumber) {
  struct Case {
    int choice;
    const char* seconds;
    double want;
  };
  const Case cases[] = {{cfg::kSyncEarlier, "1.5", -1.5}, {cfg::kSyncLater, " 2 ", 2},
                        {cfg::kSyncAsIs, "9", 0},         {-1, "3", 7},
                        {cfg::kSyncEarlier, "abc", 7},    {cfg::kSyncLater, "", 7}};
  for (const Case& c : cases) {
    RecordingTarget target;
    target.sync = 7;
    ConfigValues v = FillConfig(target);
    v.Set(cfg::kSyncChoice, c.choice);
    v.Set(cfg::kSyncSeconds, std::string(c.seconds));
    ApplyConfig(v, target);
    EXPECT_EQ(target.sync, c.want) << c.choice << " " << c.seconds;
  }
}

TEST(ConfigModel, ParseIntegerTakesOnlyWholeNumbers) {
  EXPECT_EQ(ParseInteger(" 25 "), 25);
  EXPECT_EQ(ParseInteger("+7"), 7);
  EXPECT_EQ(ParseInteger("-3"), -3);
  for (const char* bad : {"", " ", "1.5", "12a", "abc", "99999999999", "+", "-"}) {
    EXPECT_EQ(ParseInteger(bad), std::nullopt) << bad;
  }
}

struct Owner {
  int number = 0;
  bool flag = false;
  bool stuck = false;
  std::string text;
  std::vector<std::string> calls;
  void Run(int value) { calls.push_back("run " + std::to_string(value)); }
  void Flip() { flag = !flag; }
  void Stay() {}
  static const SettingsTable<Owner>& SettingsKeys() {
    static constexpr SettingKey<Owner> keys[] = {
        IntegerKey("Number", &Owner::number, 0, 0, 5).AppliedBy(&Owner::Run),
        FlagKey("Flag", &Owner::flag, false).AppliedBy(&Owner::Flip),
        FlagKey("Stuck", &Owner::stuck, false).AppliedBy(&Owner::Stay),
        TextKey("Text", &Owner::text, ""),
    };
    static constexpr SettingsTable<Owner> table("Owner", keys);
    return table;
  }
};

// A section reached by name: values by key, clamped or refused, and the
// owner's command and toggle; a toggle that left its flag still turns it.
TEST(ConfigModel, SectionsReachTheirOwnersByKey) {
  Owner owner;
  const std::unique_ptr<ISettingsSection> section = MakeSettingsSection(Owner::SettingsKeys(), owner);
  EXPECT_TRUE(section->Set("Number", 9));
  EXPECT_TRUE(section->Set("Text", std::string("x")));
  EXPECT_FALSE(section->Set("Number", std::string("1")));
  EXPECT_FALSE(section->Set("Missing", 1));
  EXPECT_EQ(owner.number, 5);
  EXPECT_EQ(section->Get("Text"), ConfigValue(std::string("x")));
  EXPECT_EQ(section->Get("Missing"), std::nullopt);
  section->Command("Number", 3);
  section->Toggle("Flag");
  section->Toggle("Stuck");
  EXPECT_EQ(owner.calls, std::vector<std::string>{"run 3"});
  EXPECT_TRUE(owner.flag);
  EXPECT_TRUE(owner.stuck);
}

// Two controls of one name would share one value; two of one apply place
// would run in no stated order; the names the dialog's rules use must be
// controls it shows.
TEST(ConfigModel, ShownSettingsHaveTheirOwnNamesAndApplyPlaces) {
  std::map<std::string, int> names;
  std::map<int, int> places;
  for (const DialogSetting& s : PlayerDialogSettings()) {
    ++names[s.control->name];
    ++places[s.control->applyOrder];
  }
  for (const auto& [name, count] : names) EXPECT_EQ(count, 1) << name;
  for (const auto& [place, count] : places) EXPECT_EQ(count, 1) << place;
  for (const char* name :
       {cfg::kPosition, cfg::kPresetButton[0], cfg::kPresetButton[1], cfg::kPresetButton[2], cfg::kAntiAliase,
        cfg::kFixRate, cfg::kBrightness, cfg::kProcessing, cfg::kFullScreenDpi}) {
    EXPECT_EQ(names.count(name), 1u) << name;
  }
}

// One choice per width, ascending, with the height of that width's last mode;
// a width the display lacks (a setting, the low-end preset) is kept.
TEST(ConfigModel, ResolutionChoicesComeFromTheDisplaysModes) {
  const ScreenMode modes[] = {{1920, 1080}, {1024, 768}, {1024, 768}, {1280, 720}, {1280, 1024}, {0, 0}};
  struct Case {
    int shown;
    std::vector<ResolutionChoice> want;
  } cases[] = {
      {1024, {{1024, "1024 X 768"}, {1280, "1280 X 1024"}, {1920, "1920 X 1080"}}},
      {0, {{1024, "1024 X 768"}, {1280, "1280 X 1024"}, {1920, "1920 X 1080"}}},
      {800,
       {{800, "800 (이 화면에는 없음)"}, {1024, "1024 X 768"}, {1280, "1280 X 1024"}, {1920, "1920 X 1080"}}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ResolutionChoices(modes, c.shown), c.want) << c.shown;
  }
}

}  // namespace
}  // namespace orves
