#pragma once
// Values of the "Channel Control" settings key, already defaulted and range
// checked by the settings getters.

namespace zmsp {

enum class BoostAlgorithm { kSoftCurve = 0, kPlainGain = 1 };
enum class BoostApplyTo { kEverySource = 0, kAc3Only = 1 };

struct ChannelControlSettings {
  bool enable = false;
  bool realtimeApply = false;

  bool volAdjust = false;
  int centerLevelDb = 0;  // -20..20
  int lfeLevelDb = 0;
  int frontLevelDb = 0;
  int rearLevelDb = 0;

  bool frBalance = false;
  int frBalanceLevel = 0;  // -100..100: positive lowers the rear, negative the front

  bool lfeMixer = false;
  int lfeMixerLevel = 50;  // 0..100 percent of the LFE added to front left and right
  bool lfeCorrectSignalLevel = false;
  bool lfeOverflowProtection = true;

  bool volBoost = false;
  int volBoostLevelDb = 10;  // 1..20
  BoostAlgorithm volBoostAlgorithm = BoostAlgorithm::kSoftCurve;
  BoostApplyTo volBoostApplyTo = BoostApplyTo::kEverySource;

  friend bool operator==(const ChannelControlSettings&, const ChannelControlSettings&) = default;
};

}  // namespace zmsp
