// The memory allocator and its media samples: a fixed set of buffers handed
// out by GetBuffer and returned when a sample's last reference goes. Each
// outstanding sample keeps the allocator alive.
#pragma once

#include <condition_variable>
#include <mutex>
#include <vector>

#include "directshow/com/DirectShowApi.h"
#include "directshow/com/ComObject.h"

namespace ds {

class MemAllocator;

// A pooled object: born with the pool's reference, which GetBuffer hands to
// the caller; the last Release takes it back and returns the sample to its
// allocator. The allocator deletes its samples when it frees its buffers.
class MediaSample final : public ComObject<IMediaSample2> {
 public:
  MediaSample(MemAllocator* allocator, BYTE* buffer, LONG size);
  ~MediaSample() override;

  HRESULT STDMETHODCALLTYPE GetPointer(BYTE** buffer) override;
  LONG STDMETHODCALLTYPE GetSize() override { return size_; }
  HRESULT STDMETHODCALLTYPE GetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
  HRESULT STDMETHODCALLTYPE SetTime(REFERENCE_TIME* start, REFERENCE_TIME* end) override;
  HRESULT STDMETHODCALLTYPE IsSyncPoint() override { return Flag(AM_SAMPLE_SPLICEPOINT); }
  HRESULT STDMETHODCALLTYPE SetSyncPoint(BOOL value) override {
    return SetFlag(AM_SAMPLE_SPLICEPOINT, value);
  }
  HRESULT STDMETHODCALLTYPE IsPreroll() override { return Flag(AM_SAMPLE_PREROLL); }
  HRESULT STDMETHODCALLTYPE SetPreroll(BOOL value) override { return SetFlag(AM_SAMPLE_PREROLL, value); }
  LONG STDMETHODCALLTYPE GetActualDataLength() override { return actual_; }
  HRESULT STDMETHODCALLTYPE SetActualDataLength(LONG length) override;
  HRESULT STDMETHODCALLTYPE GetMediaType(AM_MEDIA_TYPE** type) override;
  HRESULT STDMETHODCALLTYPE SetMediaType(AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE IsDiscontinuity() override { return Flag(AM_SAMPLE_DATADISCONTINUITY); }
  HRESULT STDMETHODCALLTYPE SetDiscontinuity(BOOL value) override {
    return SetFlag(AM_SAMPLE_DATADISCONTINUITY, value);
  }
  HRESULT STDMETHODCALLTYPE GetMediaTime(LONGLONG* start, LONGLONG* end) override;
  HRESULT STDMETHODCALLTYPE SetMediaTime(LONGLONG* start, LONGLONG* end) override;
  HRESULT STDMETHODCALLTYPE GetProperties(DWORD size, BYTE* properties) override;
  HRESULT STDMETHODCALLTYPE SetProperties(DWORD size, const BYTE* properties) override;

  // Clears times, flags and type before the sample is handed out again.
  void ResetProperties();
  void SetStreamId(DWORD id) { streamId_ = id; }

 private:
  IUnknown* FindInterface(REFIID riid) override;
  void LastReleased() override;

  HRESULT Flag(DWORD flag) const { return (flags_ & flag) != 0 ? S_OK : S_FALSE; }
  HRESULT SetFlag(DWORD flag, BOOL value) {
    flags_ = value ? (flags_ | flag) : (flags_ & ~flag);
    return S_OK;
  }

  MemAllocator* allocator_;
  BYTE* buffer_;
  LONG size_;
  LONG actual_ = 0;
  DWORD flags_ = 0;
  DWORD streamId_ = AM_STREAM_MEDIA;
  REFERENCE_TIME start_ = 0, stop_ = 0;
  LONGLONG mediaStart_ = 0, mediaStop_ = 0;
  bool mediaTimeValid_ = false;
  AM_MEDIA_TYPE* type_ = nullptr;
};

class MemAllocator final : public ComObject<IMemAllocator> {
 public:
  // A new allocator with one reference; null when out of memory.
  static MemAllocator* Create();

  HRESULT STDMETHODCALLTYPE SetProperties(ALLOCATOR_PROPERTIES* request,
                                          ALLOCATOR_PROPERTIES* actual) override;
  HRESULT STDMETHODCALLTYPE GetProperties(ALLOCATOR_PROPERTIES* props) override;
  HRESULT STDMETHODCALLTYPE Commit() override;
  HRESULT STDMETHODCALLTYPE Decommit() override;
  HRESULT STDMETHODCALLTYPE GetBuffer(IMediaSample** sample, REFERENCE_TIME* start, REFERENCE_TIME* end,
                                      DWORD flags) override;
  HRESULT STDMETHODCALLTYPE ReleaseBuffer(IMediaSample* sample) override;

  // Number of samples currently handed out (for tests).
  int Outstanding() const;

 private:
  MemAllocator() = default;
  ~MemAllocator() override;
  IUnknown* FindInterface(REFIID riid) override;
  void FreeBuffersLocked();

  mutable std::mutex mutex_;
  std::condition_variable returned_;
  ALLOCATOR_PROPERTIES props_{0, 0, 1, 0};
  bool propertiesSet_ = false;
  bool committed_ = false;
  std::vector<MediaSample*> all_;
  std::vector<MediaSample*> free_;
  std::vector<BYTE*> blocks_;
};

}  // namespace ds
