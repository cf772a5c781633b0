// "ZEMBRA's Sound Processor": a transform filter for 16- and 32-bit PCM that
// runs every input sample through the chain of four processing stages.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "soundproc/frame/ISoundProcessorStatus.h"
#include "soundproc/contract/ProcessingStage.h"
#include "soundproc/frame/StageSet.h"
#include "directshow/base/TransformFilter.h"

namespace zmsp {

// Source classes (what feeds the decoder upstream), as the page names them.
enum class SourceClass : int {
  Unknown = 0,
  Mp3,
  Wma,
  Vorbis,
  Ac3,
  Ac3Wave,
  Mpeg1,
  Mpeg2,
  Lpcm,
  Dts,
  Sdds,
  Wave
};
const char* SourceClassName(SourceClass source);
// The class an upstream media type selects (major type decides two MPEG-1 forms).
SourceClass ClassifySourceType(const AM_MEDIA_TYPE& type);
// 1 ".mp3", 2 ".ogg", 3 ".wma" (last four characters, any case), else 0.
int FileTypeOfName(const std::wstring& name);

class SoundProcessorFilter final : public ds::TransformFilter,
                                   public ISoundProcessorStatus,
                                   public ISpecifyPropertyPages,
                                   public StageFilter {
 public:
  static constexpr LONG kOutputBufferCount = 2;
  static constexpr LONG kOutputBufferSize = 0x88000;  // 557,056 bytes

  // The class factory's creation: E_FAIL unless a stage is switched on,
  // E_OUTOFMEMORY when allocation fails. The new filter has one reference.
  static HRESULT Create(SettingsStore& store, SoundProcessorFilter** filter);
  // The same with stages supplied by the caller (tests).
  static HRESULT Create(SettingsStore& store, std::unique_ptr<StageSet> stages,
                        SoundProcessorFilter** filter);

  DS_IUNKNOWN_FROM(ds::TransformFilter)

  // ISoundProcessorStatus, ISpecifyPropertyPages.
  HRESULT STDMETHODCALLTYPE AttachPage() override;
  HRESULT STDMETHODCALLTYPE DetachPage() override;
  HRESULT STDMETHODCALLTYPE GetStatus(pages::PageStatus* status) override;
  HRESULT STDMETHODCALLTYPE SetMeasuring(BOOL measuring) override;
  HRESULT STDMETHODCALLTYPE GetStageObject(DWORD stage, IUnknown** object) override;
  HRESULT STDMETHODCALLTYPE GetPages(CAUUID* pages) override;

  // Transform-filter decisions.
  IUnknown* FindInterface(REFIID riid) override;
  HRESULT CheckInputType(const AM_MEDIA_TYPE* type) override;
  HRESULT CheckTransform(const AM_MEDIA_TYPE* input, const AM_MEDIA_TYPE* output) override;
  HRESULT GetMediaType(int position, MediaType* type) override;
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;
  HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& type) override;
  HRESULT CheckConnect(PIN_DIRECTION direction, IPin* pin) override;
  HRESULT Receive(IMediaSample* sample) override;

  // StageFilter: an output sample for the stages.
  HRESULT GetOutputSample(IMediaSample* input, IMediaSample** output) override;

  // What the tools and the tests read.
  StageSet& Stages() { return *stages_; }
  const PcmFormat& InputFormat() const { return format_; }
  SourceClass Source() const { return source_; }
  bool Ac3Source() const { return ac3Source_; }
  int FileType() const { return fileType_; }
  const std::string& LastFileName() const { return lastFileName_; }
  std::uint32_t LastActualDataLength() const { return lastActualLength_; }
  std::uint32_t LastBufferSize() const { return lastBufferSize_; }
  bool InputTypePending() const { return pendingInputType_; }

 private:
  SoundProcessorFilter(SettingsStore& store, std::unique_ptr<StageSet> stages);

  // The stage chain for one input sample (the per-sample driver).
  HRESULT DriveSample(IMediaSample* sample);
  void RefreshSettings();
  void TakeSampleType(IMediaSample* sample);
  void RecomputeOutputType();
  ProcessingStage& LinkChain();

  HRESULT RefuseSecondInstance(IPin* pin, int depth);
  HRESULT FindSourceType(IPin* pin, int depth, MediaType& found);
  HRESULT LookUpPlayedFile();

  // Delivery for the stages: the output pin behind the stage contract.
  class StagePin final : public StageOutputPin {
   public:
    explicit StagePin(ds::TransformOutputPin& pin) : pin_(pin) {}
    HRESULT Deliver(IMediaSample* sample) override { return pin_.Deliver(sample); }

   private:
    ds::TransformOutputPin& pin_;
  };

  SettingsStore& store_;
  std::unique_ptr<StageSet> stages_;
  StagePin stagePin_;
  PcmFormat format_;
  bool pendingInputType_ = false;
  std::uint32_t lastActualLength_ = 0;
  std::uint32_t lastBufferSize_ = 0;
  std::uint32_t outputChannels_ = 6;
  SourceClass source_ = SourceClass::Unknown;
  bool ac3Source_ = false;
  int fileType_ = 0;
  std::string lastFileName_;
  std::atomic<bool> pageAttached_ = false;
};

}  // namespace zmsp
