#include <new>

#include "soundproc/frame/StageSet.h"

namespace zmsp {

namespace {

// Passes every sample on unchanged.
class PassThroughStage final : public ProcessingStage {
 public:
  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override { return PassOn(sample, isUpstreamSample); }
};

// The last link: what leaves the filter is always one of its own output samples.
class OutputCopyStage final : public ProcessingStage {
 public:
  HRESULT Receive(IMediaSample* sample, bool isUpstreamSample) override {
    if (sample == nullptr) return E_POINTER;
    if (!isUpstreamSample) return PassOn(sample, false);
    IMediaSample* copy = nullptr;
    HRESULT hr = filter->GetOutputSample(sample, &copy);
    if (FAILED(hr)) return hr;
    hr = CopySampleProperties(sample, copy, nullptr);
    if (SUCCEEDED(hr)) hr = CopySampleData(sample, copy);
    if (SUCCEEDED(hr)) hr = PassOn(copy, false);
    copy->Release();
    return hr;
  }
};

class StandardStages final : public StageSet {
 public:
  explicit StandardStages(const Settings& settings) {
    channelControl_.enabled = settings.ChannelControlEnable();
    RefreshExpanderSettings(settings);
  }

  ProcessingStage& ChannelControl() override { return channelControl_; }
  ProcessingStage& ChannelExpander() override { return channelExpander_; }
  ProcessingStage& TimeStretcher() override { return timeStretcher_; }
  ProcessingStage& SoundMeter() override { return soundMeter_; }

  void SetAc3Source(bool) override {}
  void SetFileType(int) override {}
  void SetHasLfe(bool) override {}
  void RefreshExpanderSettings(const Settings& settings) override {
    channelExpander_.enabled = settings.ChannelExpanderEnable();
  }
  bool ExpanderAppliesTo(const AM_MEDIA_TYPE&) override { return false; }
  HRESULT ExpanderOutputType(const AM_MEDIA_TYPE& input, MediaType& output) override {
    return output.Set(input) ? S_OK : E_OUTOFMEMORY;
  }
  void SetMeasuring(bool) override {}
  std::array<std::int32_t, 8> MeterLevels() override { return {}; }

 private:
  PassThroughStage channelControl_;
  PassThroughStage channelExpander_;
  PassThroughStage timeStretcher_;
  OutputCopyStage soundMeter_;
};

}  // namespace

std::unique_ptr<StageSet> CreateStandardStages(const Settings& settings) {
  return std::make_unique<StandardStages>(settings);
}

}  // namespace zmsp
