// An IMediaBuffer for handing sample memory to a DMO: either a view of
// existing memory (not owned) or an owned task-memory block.
#pragma once

#include <new>

#include "directshow/com/DirectShowApi.h"
#include "directshow/com/Guids.h"
#include "directshow/com/ComObject.h"

namespace ds {

// Handed to DMOs, which may hold it longer than we do; counts toward the
// module's live objects like every COM object.
class SampleMediaBuffer final : public ComObject<IMediaBuffer> {
 public:
  // A view of `data`; the memory must outlive the buffer. One reference.
  static HRESULT CreateView(BYTE* data, DWORD length, DWORD maxLength, IMediaBuffer** buffer) {
    if (buffer == nullptr) return E_POINTER;
    *buffer = new (std::nothrow) SampleMediaBuffer(data, length, maxLength, false);
    return *buffer != nullptr ? S_OK : E_OUTOFMEMORY;
  }

  // An owned block of `maxLength` bytes, current length 0. One reference.
  static HRESULT CreateOwning(DWORD maxLength, IMediaBuffer** buffer) {
    if (buffer == nullptr) return E_POINTER;
    *buffer = nullptr;
    auto* block = static_cast<BYTE*>(CoTaskMemAlloc(maxLength));
    if (block == nullptr) return E_OUTOFMEMORY;
    *buffer = new (std::nothrow) SampleMediaBuffer(block, 0, maxLength, true);
    if (*buffer == nullptr) {
      CoTaskMemFree(block);
      return E_OUTOFMEMORY;
    }
    return S_OK;
  }

  HRESULT STDMETHODCALLTYPE SetLength(DWORD length) override {
    if (length > maxLength_) return E_INVALIDARG;
    length_ = length;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD* maxLength) override {
    if (maxLength == nullptr) return E_POINTER;
    *maxLength = maxLength_;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE GetBufferAndLength(BYTE** buffer, DWORD* length) override {
    if (buffer == nullptr && length == nullptr) return E_POINTER;
    if (buffer != nullptr) *buffer = data_;
    if (length != nullptr) *length = length_;
    return S_OK;
  }

 private:
  SampleMediaBuffer(BYTE* data, DWORD length, DWORD maxLength, bool ownsMemory)
      : length_(length), maxLength_(maxLength), data_(data), ownsMemory_(ownsMemory) {}
  ~SampleMediaBuffer() override {
    if (ownsMemory_) CoTaskMemFree(data_);
  }
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<SampleMediaBuffer> kInterfaces[] = {
        Implements<SampleMediaBuffer, IMediaBuffer>(IID_IMediaBuffer)};
    return FindInTable(*this, kInterfaces, riid);
  }

  DWORD length_;
  DWORD maxLength_;
  BYTE* data_;
  bool ownsMemory_;
};

}  // namespace ds
