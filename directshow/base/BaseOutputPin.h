// The output pin base: on connection it takes the downstream pin's
// IMemInputPin and agrees an allocator (the downstream pin's first, else our
// own) whose buffers the derived pin sizes in DecideBufferSize; it commits
// the allocator while the filter is active, and delivers samples, end of
// stream, flushes and new segments downstream.
#pragma once

#include "directshow/base/BasePin.h"

namespace ds {

class BaseOutputPin : public BasePin {
 public:
  BaseOutputPin(BaseFilter& filter, const wchar_t* name);
  ~BaseOutputPin() override;

  // Calls that only an input pin receives.
  HRESULT STDMETHODCALLTYPE EndOfStream() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE BeginFlush() override { return E_UNEXPECTED; }
  HRESULT STDMETHODCALLTYPE EndFlush() override { return E_UNEXPECTED; }

  HRESULT CompleteConnect(IPin* receivePin) override;
  HRESULT BreakConnect() override;
  HRESULT Active() override;
  HRESULT Inactive() override;

  // An empty sample from the connection's allocator (flags as
  // IMemAllocator::GetBuffer's); the caller owns one reference.
  HRESULT GetDeliveryBuffer(IMediaSample** sample, DWORD flags = 0);
  // Hands a sample to the downstream input pin; the caller keeps its reference.
  HRESULT Deliver(IMediaSample* sample);
  HRESULT DeliverEndOfStream();
  HRESULT DeliverBeginFlush();
  HRESULT DeliverEndFlush();
  HRESULT DeliverNewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate);

  IMemAllocator* Allocator() const { return allocator_; }

 protected:
  // Sets the allocator's properties for this connection. `request` holds
  // what the downstream pin asked for (its alignment at least 1).
  virtual HRESULT DecideBufferSize(IMemAllocator* allocator, ALLOCATOR_PROPERTIES* request) = 0;

 private:
  HRESULT DecideAllocator(IMemInputPin* pin);

  IMemInputPin* downstream_ = nullptr;  // one reference while connected
  IMemAllocator* allocator_ = nullptr;  // one reference while connected
};

}  // namespace ds
