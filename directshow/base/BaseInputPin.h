// The input pin base: IMemInputPin with its allocator handshake, and the
// streaming calls (Receive, EndOfStream, flushing, new segments) checked
// against the pin's state before the derived pin sees them. Receive and
// EndOfStream run under the pin's streaming lock; a filter's Stop takes that
// lock to wait until the streaming thread has left them.
#pragma once

#include <atomic>
#include <mutex>

#include "directshow/base/BasePin.h"

namespace ds {

class BaseInputPin : public BasePin, public IMemInputPin {
 public:
  BaseInputPin(BaseFilter& filter, const wchar_t* name);
  ~BaseInputPin() override;

  DS_IUNKNOWN_FROM(BasePin)

  HRESULT STDMETHODCALLTYPE EndOfStream() override;
  HRESULT STDMETHODCALLTYPE BeginFlush() override;
  HRESULT STDMETHODCALLTYPE EndFlush() override;
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  // Our own allocator unless the upstream pin brings one.
  HRESULT STDMETHODCALLTYPE GetAllocator(IMemAllocator** allocator) override;
  HRESULT STDMETHODCALLTYPE NotifyAllocator(IMemAllocator* allocator, BOOL readOnly) override;
  HRESULT STDMETHODCALLTYPE GetAllocatorRequirements(ALLOCATOR_PROPERTIES* props) override {
    return E_NOTIMPL;
  }
  // Refuses samples while unconnected, flushing or stopped, and ends the
  // stream with EC_ERRORABORT on a type change to a type the pin would not
  // connect with; otherwise OnReceive decides.
  HRESULT STDMETHODCALLTYPE Receive(IMediaSample* sample) override;
  HRESULT STDMETHODCALLTYPE ReceiveMultiple(IMediaSample** samples, LONG count, LONG* processed) override;
  HRESULT STDMETHODCALLTYPE ReceiveCanBlock() override { return S_OK; }

  HRESULT BreakConnect() override;
  HRESULT Inactive() override;

  bool IsFlushing() const { return flushing_; }
  // The upstream pin keeps the samples it delivers: they must not be written.
  bool IsReadOnly() const { return readOnly_; }
  std::mutex& StreamingLock() { return streamingLock_; }

 protected:
  IUnknown* FindInterface(REFIID riid) override;

  // What the derived pin does with each call once the checks have passed.
  virtual HRESULT OnReceive(IMediaSample* sample) = 0;
  virtual HRESULT OnEndOfStream() { return S_OK; }
  virtual HRESULT OnBeginFlush() { return S_OK; }
  virtual HRESULT OnEndFlush() { return S_OK; }
  virtual HRESULT OnNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) { return S_OK; }

 private:
  std::mutex streamingLock_;
  IMemAllocator* allocator_ = nullptr;  // one reference
  bool readOnly_ = false;
  std::atomic<bool> flushing_ = false;
};

}  // namespace ds
