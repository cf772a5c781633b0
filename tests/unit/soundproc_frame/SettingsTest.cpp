#include <gtest/gtest.h>

#include "soundproc/contract/Settings.h"

namespace zmsp {
namespace {

class SettingsTest : public ::testing::Test {
 protected:
  void Set(const std::string& key, const char* name, std::uint32_t value) {
    store.SetDword(key, name, value);
  }
  static std::uint32_t Neg(std::int32_t v) { return static_cast<std::uint32_t>(v); }

  MemorySettingsStore store;
  Settings settings{store};
};

TEST_F(SettingsTest, AbsentValuesReadAsTheirDefaults) {
  EXPECT_EQ(settings.UILanguage(), 0);
  EXPECT_FALSE(settings.ChannelControlEnable());
  EXPECT_EQ(settings.LFEMixerLevel(), 50u);
  EXPECT_TRUE(settings.LFEMixerOverflowProtection());
  EXPECT_EQ(settings.VolBoostLevel(), 10u);
  EXPECT_EQ(settings.OutputChannels(), 6u);
  EXPECT_EQ(settings.MinFrequency(), 22050u);
  EXPECT_EQ(settings.Algorithm(), 2u);
  EXPECT_EQ(settings.ProLogic2Mode(), 3u);
  EXPECT_EQ(settings.PL2MusicCenterWidth(), 3u);
  EXPECT_EQ(settings.Speed(), 1000u);
  EXPECT_EQ(settings.BarColor(), Settings::kDefaultColor);
  EXPECT_FALSE(settings.AnyStageEnabled());
}

TEST_F(SettingsTest, OverflowProtectionPresentAndZeroIsOff) {
  Set(keys::kChannelControl, "LFEMixerOverflowProtection", 0);
  EXPECT_FALSE(settings.LFEMixerOverflowProtection());
}

TEST_F(SettingsTest, SignedRangesAcceptBothEdgesAndRefuseBeyond) {
  struct Case {
    const std::string* key;
    const char* name;
    std::int32_t low, high;
    std::int32_t (Settings::*get)() const;
  };
  const Case cases[] = {
      {&keys::kChannelControl, "VolAdjustCenterLevel", -20, 20, &Settings::VolAdjustCenterLevel},
      {&keys::kChannelControl, "VolAdjustLFELevel", -20, 20, &Settings::VolAdjustLFELevel},
      {&keys::kChannelControl, "VolAdjustFrontLevel", -20, 20, &Settings::VolAdjustFrontLevel},
      {&keys::kChannelControl, "VolAdjustRearLevel", -20, 20, &Settings::VolAdjustRearLevel},
      {&keys::kChannelControl, "FRBalanceLevel", -100, 100, &Settings::FRBalanceLevel},
      {&keys::kChannelExpander, "PL2MusicDimension", -3, 3, &Settings::PL2MusicDimension},
      {&keys::kRoot, "UILanguage", 0, 2, &Settings::UILanguage},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::int32_t fallback = (settings.*c.get)();
    Set(*c.key, c.name, Neg(c.low));
    EXPECT_EQ((settings.*c.get)(), c.low);
    Set(*c.key, c.name, Neg(c.high));
    EXPECT_EQ((settings.*c.get)(), c.high);
    Set(*c.key, c.name, Neg(c.low - 1));
    EXPECT_EQ((settings.*c.get)(), fallback);
    Set(*c.key, c.name, Neg(c.high + 1));
    EXPECT_EQ((settings.*c.get)(), fallback);
  }
}

TEST_F(SettingsTest, UnsignedRangesTreatNegativeValuesAsOutOfRange) {
  struct Case {
    const std::string* key;
    const char* name;
    std::uint32_t low, high, fallback;
    std::uint32_t (Settings::*get)() const;
  };
  const Case cases[] = {
      {&keys::kChannelControl, "LFEMixerLevel", 0, 100, 50, &Settings::LFEMixerLevel},
      {&keys::kChannelControl, "VolBoostLevel", 1, 20, 10, &Settings::VolBoostLevel},
      {&keys::kChannelControl, "VolBoostAlgorithm", 0, 1, 0, &Settings::VolBoostAlgorithm},
      {&keys::kChannelControl, "VolBoostApplyTo", 0, 1, 0, &Settings::VolBoostApplyTo},
      {&keys::kChannelExpander, "MinFrequency", 4000, 48000, 22050, &Settings::MinFrequency},
      {&keys::kChannelExpander, "Algorithm", 0, 2, 2, &Settings::Algorithm},
      {&keys::kChannelExpander, "ProLogic2Mode", 0, 5, 3, &Settings::ProLogic2Mode},
      {&keys::kChannelExpander, "PL2AutoMode", 0, 2, 0, &Settings::PL2AutoMode},
      {&keys::kChannelExpander, "PL2MusicCenterWidth", 0, 7, 3, &Settings::PL2MusicCenterWidth},
      {&keys::kTimeStretcher, "Speed", 563, 10000, 1000, &Settings::Speed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Set(*c.key, c.name, c.low);
    EXPECT_EQ((settings.*c.get)(), c.low);
    Set(*c.key, c.name, c.high);
    EXPECT_EQ((settings.*c.get)(), c.high);
    Set(*c.key, c.name, c.high + 1);
    EXPECT_EQ((settings.*c.get)(), c.fallback);
    Set(*c.key, c.name, 0xFFFFFFFFu);  // -1 as a signed value
    EXPECT_EQ((settings.*c.get)(), c.fallback);
    if (c.low > 0) {
      Set(*c.key, c.name, c.low - 1);
      EXPECT_EQ((settings.*c.get)(), c.fallback);
    }
  }
}

TEST_F(SettingsTest, OutputChannelsAcceptsOnlyFourSixSevenEight) {
  for (std::uint32_t value : {4u, 6u, 7u, 8u}) {
    Set(keys::kChannelExpander, "OutputChannels", value);
    EXPECT_EQ(settings.OutputChannels(), value);
  }
  for (std::uint32_t value : {0u, 2u, 3u, 5u, 9u, 0xFFFFFFFAu}) {
    Set(keys::kChannelExpander, "OutputChannels", value);
    EXPECT_EQ(settings.OutputChannels(), 6u) << value;
  }
}

TEST_F(SettingsTest, WrongTypeOrSizeReadsAsDefault) {
  store.SetRaw(keys::kChannelControl, "VolBoostLevel", MemorySettingsStore::kRegSz, {'1', '5', 0});
  EXPECT_EQ(settings.VolBoostLevel(), 10u);
  store.SetRaw(keys::kChannelControl, "VolBoostLevel", MemorySettingsStore::kRegBinary, {15, 0, 0, 0});
  EXPECT_EQ(settings.VolBoostLevel(), 10u);
  store.SetRaw(keys::kChannelControl, "VolBoostLevel", MemorySettingsStore::kRegDword, {15, 0});
  EXPECT_EQ(settings.VolBoostLevel(), 10u);
  store.SetRaw(keys::kChannelControl, "VolBoostLevel", MemorySettingsStore::kRegDword,
               {15, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_EQ(settings.VolBoostLevel(), 10u);
  store.SetRaw(keys::kChannelControl, "Enable", MemorySettingsStore::kRegSz, {'1', 0});
  EXPECT_FALSE(settings.ChannelControlEnable());
}

TEST_F(SettingsTest, ValuesUnderAnotherKeyDoNotCount) {
  Set(keys::kChannelExpander, "Speed", 2000);
  Set(keys::kRoot, "Enable", 1);
  EXPECT_EQ(settings.Speed(), 1000u);
  EXPECT_FALSE(settings.AnyStageEnabled());
}

TEST_F(SettingsTest, AnyNonzeroFlagIsTrue) {
  Set(keys::kTimeStretcher, "Enable", 0x80000000u);
  EXPECT_TRUE(settings.TimeStretcherEnable());
  EXPECT_TRUE(settings.AnyStageEnabled());
}

TEST_F(SettingsTest, ColoursSwapRedAndBlue) {
  Set(keys::kSoundMeter, "BarColor", 0x00112233);
  Set(keys::kSoundMeter, "BarBackgroundColor", 0x00FF0000);
  EXPECT_EQ(settings.BarColor(), 0x00332211u);
  EXPECT_EQ(settings.BarBackgroundColor(), 0x000000FFu);
}

TEST_F(SettingsTest, LastFileNameIsWrittenAsStringUnderSoundProcessor) {
  EXPECT_TRUE(settings.WriteLastFileName("C:\\movies\\a.avi"));
  std::string text;
  ASSERT_TRUE(store.ReadString(keys::kSoundProcessor, "LastFileName", text));
  EXPECT_EQ(text, "C:\\movies\\a.avi");
  std::uint32_t ignored = 0;
  EXPECT_FALSE(store.ReadDword(keys::kSoundProcessor, "LastFileName", ignored));
}

}  // namespace
}  // namespace zmsp
