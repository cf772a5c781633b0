// Binds the product's four stages to the filter's driver.
#include <new>

#include "soundproc/dmo/OwnDmos.h"
#include "soundproc/frame/StageSet.h"
#include "soundproc/stages/ChannelControlStage.h"
#include "soundproc/stages/ChannelExpanderStage.h"
#include "soundproc/stages/SoundMeterStage.h"
#include "soundproc/stages/TimeStretcherStage.h"

namespace zmsp {

namespace {

const DmoSources kDmoSources{&SystemComClasses(), &dmo::OwnDmos()};

class StandardStages final : public StageSet {
 public:
  // Channel control reads its whole key and the expander its four values;
  // the time stretcher and the meter start disabled. The expander and the
  // stretcher fall back to our own DMOs where the outside ones are missing.
  explicit StandardStages(SettingsStore& store)
      : channelControl_(store), channelExpander_(store, kDmoSources), timeStretcher_(store, kDmoSources) {}

  ProcessingStage& ChannelControl() override { return channelControl_; }
  ProcessingStage& ChannelExpander() override { return channelExpander_; }
  ProcessingStage& TimeStretcher() override { return timeStretcher_; }
  ProcessingStage& SoundMeter() override { return soundMeter_; }

  void SetAc3Source(bool ac3Source) override {
    channelExpander_.ac3Source = ac3Source;
    channelControl_.ac3Source = ac3Source;
  }
  void SetFileType(int fileType) override { channelExpander_.fileType = fileType; }
  void SetHasLfe(bool hasLfe) override { channelControl_.hasLfe = hasLfe; }

  void RefreshExpanderSettings(const Settings& settings) override {
    channelExpander_.enabled = settings.ChannelExpanderEnable();
    channelExpander_.outputChannels = settings.OutputChannels();
    channelExpander_.minFrequency = settings.MinFrequency();
    channelExpander_.ac3Only = settings.AC3Only();
  }
  bool ExpanderAppliesTo(const AM_MEDIA_TYPE& type) override { return channelExpander_.AppliesTo(type); }
  HRESULT ExpanderOutputType(const AM_MEDIA_TYPE& input, MediaType& output) override {
    return channelExpander_.OutputType(input, output);
  }

  void SetMeasuring(bool measuring) override { soundMeter_.measuring = measuring; }
  std::array<std::int32_t, 8> MeterLevels() override {
    std::array<std::int32_t, 8> levels{};
    for (std::size_t c = 0; c < levels.size(); ++c) levels[c] = soundMeter_.Level(c);
    return levels;
  }

  void DescribeForPage(pages::PageStatus& status) override {
    status.output = soundMeter_.format;
    status.levels = MeterLevels();
    status.expander.enabled = channelExpander_.enabled;
    status.expander.typesAccepted = channelExpander_.typesAccepted;
    status.expander.algorithm = channelExpander_.algorithm;
    status.expander.proLogic2Mode = channelExpander_.proLogic2Mode;
    status.expander.autoMode = channelExpander_.pl2AutoMode;
    status.expander.dmoExists = channelExpander_.Dmo() != nullptr;
    status.stretcher.enabled = timeStretcher_.enabled;
    status.stretcher.typesAccepted = timeStretcher_.typesAccepted;
    status.stretcher.speed = timeStretcher_.speed;
    status.stretcher.dmoExists = timeStretcher_.Dmo() != nullptr;
    DescribeChannelControl(status.channelControl);
  }
  ComPtr<IUnknown> ExpanderObject() override { return ComPtr<IUnknown>(channelExpander_.Dmo()); }
  ComPtr<IUnknown> StretcherObject() override { return ComPtr<IUnknown>(timeStretcher_.Dmo()); }

 private:
  void DescribeChannelControl(pages::ChannelControlFacts& facts) const {
    const ChannelControlSettings& settings = channelControl_.CurrentSettings();
    const ChannelControl::Applicability& applies = channelControl_.Control().WhatApplies();
    facts.enabled = channelControl_.enabled;
    facts.volAdjust = settings.volAdjust && applies.volAdjust;
    facts.centerLevel = settings.centerLevelDb;
    facts.lfeLevel = settings.lfeLevelDb;
    facts.frontLevel = settings.frontLevelDb;
    facts.rearLevel = settings.rearLevelDb;
    facts.balance = settings.frBalance && applies.balance;
    facts.balanceLevel = settings.frBalanceLevel;
    facts.lfeMixer = settings.lfeMixer && applies.lfeMixer;
    facts.lfeMixLevel = settings.lfeMixerLevel;
    facts.boost = settings.volBoost && applies.boost;
    facts.boostLevel = settings.volBoostLevelDb;
  }

  ChannelControlStage channelControl_;
  ChannelExpanderStage channelExpander_;
  TimeStretcherStage timeStretcher_;
  SoundMeterStage soundMeter_;
};

}  // namespace

std::unique_ptr<StageSet> CreateStandardStages(SettingsStore& store) {
  return std::make_unique<StandardStages>(store);
}

}  // namespace zmsp
