// The transform-filter base: one input pin, one output pin, allocator
// negotiation on the output, and Receive on the streaming thread under the
// input pin's streaming lock. Derived filters decide the types they accept
// and offer, buffer sizes and processing.
#pragma once

#include <memory>
#include <mutex>

#include "directshow/base/BaseFilter.h"
#include "directshow/base/BaseInputPin.h"
#include "directshow/base/BaseOutputPin.h"
#include "directshow/base/SeekingPassThrough.h"

namespace ds {

class TransformFilter;

class TransformInputPin final : public BaseInputPin {
 public:
  TransformInputPin(TransformFilter& filter, const wchar_t* name);

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
  HRESULT SetMediaType(const AM_MEDIA_TYPE& type) override;
  HRESULT CheckConnect(IPin* pin) override;
  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(IPin* receivePin) override;

 private:
  HRESULT OnReceive(IMediaSample* sample) override;
  HRESULT OnEndOfStream() override;
  HRESULT OnBeginFlush() override;
  HRESULT OnEndFlush() override;
  HRESULT OnNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  TransformFilter& transform_;
};

class TransformOutputPin final : public BaseOutputPin {
 public:
  TransformOutputPin(TransformFilter& filter, const wchar_t* name);

  // IMediaSeeking is made on first request and goes upstream.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
  HRESULT GetMediaType(int position, MediaType& type) override;
  HRESULT SetMediaType(const AM_MEDIA_TYPE& type) override;
  HRESULT CheckConnect(IPin* pin) override;
  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(IPin* receivePin) override;

 private:
  HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) override;

  TransformFilter& transform_;
  // Made on first request, under a lock of its own: a renderer asks for it
  // from inside EndOfStream, on the streaming thread, while Stop may hold the
  // filter lock and wait for that thread.
  std::mutex seekingLock_;
  std::unique_ptr<SeekingPassThrough> seeking_;
};

class TransformFilter : public BaseFilter {
 public:
  TransformFilter(const CLSID& classId, const wchar_t* name);
  ~TransformFilter() override;

  int GetPinCount() override { return 2; }
  BasePin* GetPin(int index) override;

  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;

  // What a transform decides. The output pin offers GetMediaType's types by
  // position (VFW_S_NO_MORE_ITEMS past the last), in order of preference,
  // once the input is connected.
  virtual HRESULT CheckInputType(const AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT CheckTransform(const AM_MEDIA_TYPE* input, const AM_MEDIA_TYPE* output) = 0;
  virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
  virtual HRESULT GetMediaType(int position, MediaType* type) = 0;
  virtual HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& type) { return S_OK; }
  virtual HRESULT CheckConnect(PIN_DIRECTION direction, IPin* pin) { return S_OK; }
  virtual HRESULT BreakConnect(PIN_DIRECTION direction) { return S_OK; }
  virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) { return S_OK; }
  // Called with the input pin's streaming lock held; the default fills one
  // output sample per input sample through Transform.
  virtual HRESULT Receive(IMediaSample* sample);
  virtual HRESULT Transform(IMediaSample* input, IMediaSample* output) { return E_UNEXPECTED; }

  virtual HRESULT EndOfStream();
  virtual HRESULT BeginFlush();
  virtual HRESULT EndFlush();
  virtual HRESULT NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

  // A buffer from the output allocator carrying the input sample's times,
  // media times and sync-point, preroll and discontinuity flags (no type).
  HRESULT InitializeOutputSample(IMediaSample* input, IMediaSample** output);

  TransformInputPin& InputPin() { return *input_; }
  TransformOutputPin& OutputPin() { return *output_; }

 protected:
  bool sampleSkipped_ = false;   // the last input sample produced no output
  bool qualityChanged_ = false;  // EC_QUALITY_CHANGE already sent
  std::unique_ptr<TransformInputPin> input_;
  std::unique_ptr<TransformOutputPin> output_;
};

}  // namespace ds
