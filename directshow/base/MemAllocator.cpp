#include "directshow/base/MemAllocator.h"

#include <algorithm>
#include <utility>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <new>

#include "directshow/com/Guids.h"
#include "directshow/base/MediaTypes.h"

namespace ds {

// ---------------------------------------------------------------- MediaSample

MediaSample::MediaSample(MemAllocator* allocator, BYTE* buffer, LONG size)
    : allocator_(allocator), buffer_(buffer), size_(size) {}

MediaSample::~MediaSample() { DeleteMediaType(type_); }

IUnknown* MediaSample::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<MediaSample> kInterfaces[] = {
      Implements<MediaSample, IMediaSample2>(IID_IMediaSample2),
      Implements<MediaSample, IMediaSample>(IID_IMediaSample),
  };
  return FindInTable(*this, kInterfaces, riid);
}

void MediaSample::LastReleased() {
  AddRef();  // the pool's reference again
  allocator_->ReleaseBuffer(this);
}

HRESULT MediaSample::GetPointer(BYTE** buffer) {
  if (buffer == nullptr) return E_POINTER;
  *buffer = buffer_;
  return S_OK;
}

HRESULT MediaSample::GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
  if (start == nullptr || end == nullptr) return E_POINTER;
  if ((flags_ & AM_SAMPLE_TIMEVALID) == 0) return VFW_E_SAMPLE_TIME_NOT_SET;
  *start = start_;
  if ((flags_ & AM_SAMPLE_STOPVALID) != 0) {
    *end = stop_;
    return S_OK;
  }
  *end = start_ + 1;
  return VFW_S_NO_STOP_TIME;
}

HRESULT MediaSample::SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) {
  flags_ &= ~(AM_SAMPLE_TIMEVALID | AM_SAMPLE_STOPVALID);
  if (start == nullptr) return S_OK;
  start_ = *start;
  flags_ |= AM_SAMPLE_TIMEVALID;
  if (end != nullptr) {
    stop_ = *end;
    flags_ |= AM_SAMPLE_STOPVALID;
  }
  return S_OK;
}

HRESULT MediaSample::SetActualDataLength(LONG length) {
  if (length < 0 || length > size_) return VFW_E_BUFFER_OVERFLOW;
  actual_ = length;
  return S_OK;
}

HRESULT MediaSample::GetMediaType(AM_MEDIA_TYPE** type) {
  if (type == nullptr) return E_POINTER;
  *type = nullptr;
  if (type_ == nullptr) return S_FALSE;
  *type = CreateMediaType(type_);
  return *type != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT MediaSample::SetMediaType(AM_MEDIA_TYPE* type) {
  DeleteMediaType(std::exchange(type_, nullptr));
  flags_ &= ~AM_SAMPLE_TYPECHANGED;
  if (type == nullptr) return S_OK;
  type_ = CreateMediaType(type);
  if (type_ == nullptr) return E_OUTOFMEMORY;
  flags_ |= AM_SAMPLE_TYPECHANGED;
  return S_OK;
}

HRESULT MediaSample::GetMediaTime(LONGLONG* start, LONGLONG* end) {
  if (start == nullptr || end == nullptr) return E_POINTER;
  if (!mediaTimeValid_) return VFW_E_MEDIA_TIME_NOT_SET;
  *start = mediaStart_;
  *end = mediaStop_;
  return S_OK;
}

HRESULT MediaSample::SetMediaTime(LONGLONG* start, LONGLONG* end) {
  mediaTimeValid_ = start != nullptr && end != nullptr;
  if (mediaTimeValid_) {
    mediaStart_ = *start;
    mediaStop_ = *end;
  }
  return S_OK;
}

HRESULT MediaSample::GetProperties(DWORD size, BYTE* properties) {
  if (properties == nullptr) return E_POINTER;
  AM_SAMPLE2_PROPERTIES all{};
  all.cbData = std::min<DWORD>(size, sizeof(all));
  all.dwSampleFlags = flags_;
  all.lActual = actual_;
  all.tStart = start_;
  all.tStop = stop_;
  all.dwStreamId = streamId_;
  all.pMediaType = type_;  // not a copy: valid while the sample is held
  all.pbBuffer = buffer_;
  all.cbBuffer = size_;
  std::memcpy(properties, &all, all.cbData);
  return S_OK;
}

HRESULT MediaSample::SetProperties(DWORD size, const BYTE* properties) {
  if (properties == nullptr) return E_POINTER;
  AM_SAMPLE2_PROPERTIES all{};
  if (size < offsetof(AM_SAMPLE2_PROPERTIES, pbBuffer)) return E_INVALIDARG;
  std::memcpy(&all, properties, std::min<DWORD>(size, sizeof(all)));
  if (all.lActual < 0 || all.lActual > size_) return VFW_E_BUFFER_OVERFLOW;
  if ((all.dwSampleFlags & AM_SAMPLE_TYPECHANGED) != 0) {
    HRESULT hr = SetMediaType(all.pMediaType);
    if (FAILED(hr)) return hr;
  } else {
    SetMediaType(nullptr);
  }
  flags_ = all.dwSampleFlags;
  actual_ = all.lActual;
  start_ = all.tStart;
  stop_ = all.tStop;
  streamId_ = all.dwStreamId;
  return S_OK;
}

void MediaSample::ResetProperties() {
  flags_ = 0;
  actual_ = 0;
  streamId_ = AM_STREAM_MEDIA;
  mediaTimeValid_ = false;
  DeleteMediaType(std::exchange(type_, nullptr));
}

// --------------------------------------------------------------- MemAllocator

MemAllocator* MemAllocator::Create() { return new (std::nothrow) MemAllocator(); }

MemAllocator::~MemAllocator() {
  std::lock_guard lock(mutex_);
  FreeBuffersLocked();
}

IUnknown* MemAllocator::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<MemAllocator> kInterfaces[] = {
      Implements<MemAllocator, IMemAllocator>(IID_IMemAllocator)};
  return FindInTable(*this, kInterfaces, riid);
}

HRESULT MemAllocator::SetProperties(ALLOCATOR_PROPERTIES* request, ALLOCATOR_PROPERTIES* actual) {
  if (request == nullptr || actual == nullptr) return E_POINTER;
  std::lock_guard lock(mutex_);
  if (committed_) return VFW_E_ALREADY_COMMITTED;
  if (all_.size() != free_.size()) return VFW_E_BUFFERS_OUTSTANDING;
  const LONG align = request->cbAlign <= 0 ? 1 : request->cbAlign;
  if ((align & (align - 1)) != 0) return VFW_E_BADALIGN;
  if (request->cBuffers < 0 || request->cbBuffer < 0 || request->cbPrefix < 0) return E_INVALIDARG;
  props_.cBuffers = request->cBuffers;
  // The usable size is rounded so that prefix + size is a whole number of alignment units.
  const LONGLONG total = static_cast<LONGLONG>(request->cbBuffer) + request->cbPrefix;
  const LONGLONG rounded = (total + align - 1) / align * align;
  if (rounded > 0x7FFFFFFF) return E_OUTOFMEMORY;
  props_.cbBuffer = static_cast<LONG>(rounded - request->cbPrefix);
  props_.cbAlign = align;
  props_.cbPrefix = request->cbPrefix;
  propertiesSet_ = true;
  *actual = props_;
  return S_OK;
}

HRESULT MemAllocator::GetProperties(ALLOCATOR_PROPERTIES* props) {
  if (props == nullptr) return E_POINTER;
  std::lock_guard lock(mutex_);
  *props = props_;
  return S_OK;
}

HRESULT MemAllocator::Commit() {
  std::lock_guard lock(mutex_);
  if (committed_) return S_OK;
  if (!propertiesSet_ || props_.cBuffers == 0 || props_.cbBuffer == 0) return VFW_E_SIZENOTSET;
  if (all_.empty()) {
    for (LONG i = 0; i < props_.cBuffers; ++i) {
      const std::size_t bytes = static_cast<std::size_t>(props_.cbBuffer) + props_.cbPrefix + props_.cbAlign;
      auto* block = new (std::nothrow) BYTE[bytes];
      MediaSample* sample = nullptr;
      if (block != nullptr) {
        // Align the data start, leaving room for the prefix before it.
        auto address = reinterpret_cast<std::uintptr_t>(block) + props_.cbPrefix;
        address = (address + props_.cbAlign - 1) / props_.cbAlign * props_.cbAlign;
        sample = new (std::nothrow) MediaSample(this, reinterpret_cast<BYTE*>(address), props_.cbBuffer);
      }
      if (sample == nullptr) {
        delete[] block;
        FreeBuffersLocked();
        return E_OUTOFMEMORY;
      }
      blocks_.push_back(block);
      all_.push_back(sample);
      free_.push_back(sample);
    }
  }
  committed_ = true;
  return S_OK;
}

HRESULT MemAllocator::Decommit() {
  std::lock_guard lock(mutex_);
  committed_ = false;
  // Buffers still out are freed when the last one comes back.
  if (free_.size() == all_.size()) FreeBuffersLocked();
  returned_.notify_all();
  return S_OK;
}

HRESULT MemAllocator::GetBuffer(IMediaSample** sample, REFERENCE_TIME*, REFERENCE_TIME*, DWORD flags) {
  if (sample == nullptr) return E_POINTER;
  *sample = nullptr;
  std::unique_lock lock(mutex_);
  while (committed_ && free_.empty()) {
    if ((flags & AM_GBF_NOWAIT) != 0) return VFW_E_TIMEOUT;
    returned_.wait(lock);
  }
  if (!committed_) return VFW_E_NOT_COMMITTED;
  MediaSample* taken = free_.back();
  free_.pop_back();
  taken->ResetProperties();
  AddRef();  // an outstanding sample keeps its allocator
  // The sample goes out with the pool's reference.
  *sample = taken;
  return S_OK;
}

HRESULT MemAllocator::ReleaseBuffer(IMediaSample* sample) {
  if (sample == nullptr) return E_POINTER;
  {
    std::lock_guard lock(mutex_);
    auto found = std::find(all_.begin(), all_.end(), sample);
    if (found == all_.end()) return E_INVALIDARG;
    free_.push_back(*found);
    if (!committed_ && free_.size() == all_.size()) FreeBuffersLocked();
    returned_.notify_one();
  }
  Release();
  return S_OK;
}

int MemAllocator::Outstanding() const {
  std::lock_guard lock(mutex_);
  return static_cast<int>(all_.size() - free_.size());
}

void MemAllocator::FreeBuffersLocked() {
  for (MediaSample* sample : all_) delete sample;
  for (BYTE* block : blocks_) delete[] block;
  all_.clear();
  free_.clear();
  blocks_.clear();
}

}  // namespace ds
