// The transform-filter base: one input pin, one output pin, allocator
// negotiation on the output, and Receive on the streaming thread under the
// receive lock. Derived filters decide types, buffer sizes and processing.
#pragma once

#include <memory>
#include <mutex>

#include "soundproc/contract/DirectShowApi.h"
#include "soundproc/frame/base/BaseFilter.h"
#include "soundproc/frame/base/BasePin.h"
#include "soundproc/frame/base/SeekingPassThrough.h"

namespace zmsp {

class TransformFilter;

class TransformInputPin final : public BasePin, public IMemInputPin {
 public:
  TransformInputPin(TransformFilter& filter, const wchar_t* name);
  ~TransformInputPin() override;

  ZMSP_IUNKNOWN_FROM(BasePin)

  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
  HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override {
    return E_NOTIMPL;
  }
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
  HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) override;
  HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override { return S_OK; }

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
  HRESULT SetMediaType(const AM_MEDIA_TYPE& type) override;
  HRESULT CheckConnect(IPin* pin) override;
  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT Inactive() override;

  bool IsFlushing() const { return flushing_; }

 private:
  IUnknown* FindInterface(REFIID riid) override;

  TransformFilter& transform_;
  IMemAllocator* allocator_ = nullptr;  // one reference
  bool readOnly_ = false;
  bool flushing_ = false;
};

class TransformOutputPin final : public BasePin {
 public:
  TransformOutputPin(TransformFilter& filter, const wchar_t* name);
  ~TransformOutputPin() override;

  // IMediaSeeking is made on first request.
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE EndFlush() override { return E_UNEXPECTED; }

  HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) override;
  HRESULT GetMediaType(int position, MediaType& type) override;
  HRESULT SetMediaType(const AM_MEDIA_TYPE& type) override;
  HRESULT CheckConnect(IPin* pin) override;
  HRESULT BreakConnect() override;
  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  // Hands a sample to the downstream input pin.
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

  IMemAllocator* Allocator() const { return allocator_; }

 private:
  HRESULT DecideAllocator(IMemInputPin* pin);

  TransformFilter& transform_;
  IMemInputPin* downstream_ = nullptr;           // one reference while connected
  IMemAllocator* allocator_ = nullptr;           // one reference while connected
  std::unique_ptr<SeekingPassThrough> seeking_;  // made on first request
};

class TransformFilter : public BaseFilter {
 public:
  TransformFilter(const CLSID& classId, const wchar_t* name);
  ~TransformFilter() override;

  int GetPinCount() override { return 2; }
  BasePin* GetPin(int index) override;

  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;

  // What a transform decides.
  virtual HRESULT CheckInputType(const AM_MEDIA_TYPE* type) = 0;
  virtual HRESULT CheckTransform(const AM_MEDIA_TYPE* input, const AM_MEDIA_TYPE* output) = 0;
  virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;
  virtual HRESULT GetMediaType(int position, MediaType* type) = 0;
  virtual HRESULT SetMediaType(PIN_DIRECTION direction, const AM_MEDIA_TYPE& type) { return S_OK; }
  virtual HRESULT CheckConnect(PIN_DIRECTION direction, IPin* pin) { return S_OK; }
  virtual HRESULT BreakConnect(PIN_DIRECTION direction) { return S_OK; }
  virtual HRESULT CompleteConnect(PIN_DIRECTION direction, IPin* receivePin) { return S_OK; }
  // Called with the receive lock held; the default copies through Transform.
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
  std::mutex& ReceiveLock() { return receiveLock_; }

 protected:
  std::mutex receiveLock_;
  bool sampleSkipped_ = false;   // the last input sample produced no output
  bool qualityChanged_ = false;  // EC_QUALITY_CHANGE already sent
  std::unique_ptr<TransformInputPin> input_;
  std::unique_ptr<TransformOutputPin> output_;
};

}  // namespace zmsp
