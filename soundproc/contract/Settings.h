// One getter per setting of the sound processor, each applying its default
// and range: an absent value, a value of the wrong type or size and a value
// out of range all read as the default. Every call reads the store afresh.
#pragma once

#include <cstdint>
#include <string>

#include "soundproc/contract/SettingsStore.h"

namespace zmsp {

namespace keys {
inline const std::string kRoot = "SOFTWARE\\AC3_zembra";
inline const std::string kChannelControl = kRoot + "\\Channel Control";
inline const std::string kChannelExpander = kRoot + "\\Channel Expander";
inline const std::string kSoundMeter = kRoot + "\\Sound Meter";
inline const std::string kSoundProcessor = kRoot + "\\Sound Processor";
inline const std::string kTimeStretcher = kRoot + "\\Time Stretcher";
}  // namespace keys

class Settings {
 public:
  // The colour getters' answer when no colour is stored: the progress bar's own.
  static constexpr std::uint32_t kDefaultColor = 0xFF000000;

  explicit Settings(SettingsStore& store = CurrentSettingsStore()) : store_(store) {}

  // Root key.
  std::int32_t UILanguage() const { return Signed(keys::kRoot, "UILanguage", 0, 0, 2); }

  // "Channel Control".
  bool ChannelControlEnable() const { return Flag(keys::kChannelControl, "Enable", false); }
  bool ChannelControlRealtimeApply() const { return Flag(keys::kChannelControl, "RealtimeApply", false); }
  bool EnableVolAdjust() const { return Flag(keys::kChannelControl, "EnableVolAdjust", false); }
  std::int32_t VolAdjustCenterLevel() const {
    return Signed(keys::kChannelControl, "VolAdjustCenterLevel", 0, -20, 20);
  }
  std::int32_t VolAdjustLFELevel() const {
    return Signed(keys::kChannelControl, "VolAdjustLFELevel", 0, -20, 20);
  }
  std::int32_t VolAdjustFrontLevel() const {
    return Signed(keys::kChannelControl, "VolAdjustFrontLevel", 0, -20, 20);
  }
  std::int32_t VolAdjustRearLevel() const {
    return Signed(keys::kChannelControl, "VolAdjustRearLevel", 0, -20, 20);
  }
  bool EnableFRBalance() const { return Flag(keys::kChannelControl, "EnableFRBalance", false); }
  std::int32_t FRBalanceLevel() const {
    return Signed(keys::kChannelControl, "FRBalanceLevel", 0, -100, 100);
  }
  bool EnableLFEMixer() const { return Flag(keys::kChannelControl, "EnableLFEMixer", false); }
  std::uint32_t LFEMixerLevel() const { return Unsigned(keys::kChannelControl, "LFEMixerLevel", 50, 0, 100); }
  bool LFEMixerCorrectSignalLevel() const {
    return Flag(keys::kChannelControl, "LFEMixerCorrectSignalLevel", false);
  }
  bool LFEMixerOverflowProtection() const {
    return Flag(keys::kChannelControl, "LFEMixerOverflowProtection", true);
  }
  bool EnableVolBoost() const { return Flag(keys::kChannelControl, "EnableVolBoost", false); }
  std::uint32_t VolBoostLevel() const { return Unsigned(keys::kChannelControl, "VolBoostLevel", 10, 1, 20); }
  std::uint32_t VolBoostAlgorithm() const {
    return Unsigned(keys::kChannelControl, "VolBoostAlgorithm", 0, 0, 1);
  }
  std::uint32_t VolBoostApplyTo() const {
    return Unsigned(keys::kChannelControl, "VolBoostApplyTo", 0, 0, 1);
  }

  // "Channel Expander".
  bool ChannelExpanderEnable() const { return Flag(keys::kChannelExpander, "Enable", false); }
  bool ChannelExpanderRealtimeApply() const { return Flag(keys::kChannelExpander, "RealtimeApply", false); }
  std::uint32_t OutputChannels() const {
    std::uint32_t value = 0;
    if (!store_.ReadDword(keys::kChannelExpander, "OutputChannels", value)) return 6;
    return (value == 4 || value == 6 || value == 7 || value == 8) ? value : 6;
  }
  std::uint32_t MinFrequency() const {
    return Unsigned(keys::kChannelExpander, "MinFrequency", 22050, 4000, 48000);
  }
  bool AC3Only() const { return Flag(keys::kChannelExpander, "AC3Only", false); }
  std::uint32_t Algorithm() const { return Unsigned(keys::kChannelExpander, "Algorithm", 2, 0, 2); }
  std::uint32_t ProLogic2Mode() const { return Unsigned(keys::kChannelExpander, "ProLogic2Mode", 3, 0, 5); }
  std::uint32_t PL2AutoMode() const { return Unsigned(keys::kChannelExpander, "PL2AutoMode", 0, 0, 2); }
  std::uint32_t PL2MusicCenterWidth() const {
    return Unsigned(keys::kChannelExpander, "PL2MusicCenterWidth", 3, 0, 7);
  }
  std::int32_t PL2MusicDimension() const {
    return Signed(keys::kChannelExpander, "PL2MusicDimension", 0, -3, 3);
  }
  bool PL2MusicPanorama() const { return Flag(keys::kChannelExpander, "PL2MusicPanorama", false); }

  // "Time Stretcher".
  bool TimeStretcherEnable() const { return Flag(keys::kTimeStretcher, "Enable", false); }
  bool TimeStretcherRealtimeApply() const { return Flag(keys::kTimeStretcher, "RealtimeApply", false); }
  std::uint32_t Speed() const { return Unsigned(keys::kTimeStretcher, "Speed", 1000, 563, 10000); }

  // "Sound Meter": stored as 0x00RRGGBB, answered as a COLORREF (0x00BBGGRR).
  std::uint32_t BarColor() const { return Color("BarColor"); }
  std::uint32_t BarBackgroundColor() const { return Color("BarBackgroundColor"); }

  // "Sound Processor".
  bool LogLastFileName() const { return Flag(keys::kSoundProcessor, "LogLastFileName", false); }
  bool WriteLastFileName(const std::string& ansiName) {
    return store_.WriteString(keys::kSoundProcessor, "LastFileName", ansiName);
  }

  // True when creating the filter is allowed: at least one stage switched on.
  bool AnyStageEnabled() const {
    return ChannelExpanderEnable() || ChannelControlEnable() || TimeStretcherEnable();
  }

 private:
  bool Flag(const std::string& key, const char* name, bool fallback) const {
    std::uint32_t value = 0;
    return store_.ReadDword(key, name, value) ? value != 0 : fallback;
  }
  // Range tested on the value as a signed 32-bit number.
  std::int32_t Signed(const std::string& key, const char* name, std::int32_t fallback, std::int32_t low,
                      std::int32_t high) const {
    std::uint32_t raw = 0;
    if (!store_.ReadDword(key, name, raw)) return fallback;
    const auto value = static_cast<std::int32_t>(raw);
    return (value >= low && value <= high) ? value : fallback;
  }
  // Range tested on the value as an unsigned 32-bit number.
  std::uint32_t Unsigned(const std::string& key, const char* name, std::uint32_t fallback, std::uint32_t low,
                         std::uint32_t high) const {
    std::uint32_t value = 0;
    if (!store_.ReadDword(key, name, value)) return fallback;
    return (value >= low && value <= high) ? value : fallback;
  }
  std::uint32_t Color(const char* name) const {
    std::uint32_t rgb = 0;
    if (!store_.ReadDword(keys::kSoundMeter, name, rgb)) return kDefaultColor;
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
  }

  SettingsStore& store_;
};

}  // namespace zmsp
