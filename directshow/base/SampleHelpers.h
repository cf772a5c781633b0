// Helpers for filling an output sample from an input sample: its media
// type, properties and data.
#pragma once

#include <cstring>

#include "directshow/com/DirectShowApi.h"
#include "directshow/base/MediaTypes.h"

namespace ds {

// The media type a sample carries, taken with GetMediaType and freed on
// destruction. Get() is null when the sample carries none.
class TakenMediaType {
 public:
  explicit TakenMediaType(IMediaSample* sample) {
    if (sample == nullptr || sample->GetMediaType(&type_) != S_OK) type_ = nullptr;
  }
  ~TakenMediaType() { DeleteMediaType(type_); }
  TakenMediaType(const TakenMediaType&) = delete;
  TakenMediaType& operator=(const TakenMediaType&) = delete;

  AM_MEDIA_TYPE* Get() const { return type_; }
  explicit operator bool() const { return type_ != nullptr; }

 private:
  AM_MEDIA_TYPE* type_ = nullptr;
};

namespace detail {
// S_OK / S_FALSE -> true / false; anything else is not a yes-or-no answer.
inline HRESULT YesNo(HRESULT answer, BOOL* value) {
  if (answer == S_OK) {
    *value = TRUE;
    return S_OK;
  }
  if (answer == S_FALSE) {
    *value = FALSE;
    return S_OK;
  }
  return E_UNEXPECTED;
}
}  // namespace detail

// Copies time stamps, media times, the sync-point, preroll and discontinuity
// flags and the media type from `source` to `destination`. With an override
// type, a source that carries a type gives the destination the override
// instead; a source without a type leaves the destination without one.
inline HRESULT CopySampleProperties(IMediaSample* source, IMediaSample* destination,
                                    const AM_MEDIA_TYPE* overrideType) {
  if (source == nullptr || destination == nullptr) return E_POINTER;
  REFERENCE_TIME start = 0, stop = 0;
  HRESULT hr = source->GetTime(&start, &stop);
  if (hr == VFW_S_NO_STOP_TIME) {
    destination->SetTime(&start, nullptr);
  } else if (SUCCEEDED(hr)) {
    destination->SetTime(&start, &stop);
  }
  LONGLONG mediaStart = 0, mediaStop = 0;
  if (SUCCEEDED(source->GetMediaTime(&mediaStart, &mediaStop)))
    destination->SetMediaTime(&mediaStart, &mediaStop);

  BOOL syncPoint = FALSE, preroll = FALSE, discontinuity = FALSE;
  if (FAILED(detail::YesNo(source->IsSyncPoint(), &syncPoint)) ||
      FAILED(detail::YesNo(source->IsPreroll(), &preroll)) ||
      FAILED(detail::YesNo(source->IsDiscontinuity(), &discontinuity))) {
    return E_UNEXPECTED;
  }
  destination->SetSyncPoint(syncPoint);
  destination->SetPreroll(preroll);
  destination->SetDiscontinuity(discontinuity);

  TakenMediaType sourceType(source);
  if (!sourceType) return destination->SetMediaType(nullptr);
  const AM_MEDIA_TYPE* chosen = overrideType != nullptr ? overrideType : sourceType.Get();
  return destination->SetMediaType(const_cast<AM_MEDIA_TYPE*>(chosen));
}

// Copies the actual data; E_FAIL when the destination buffer is too small.
inline HRESULT CopySampleData(IMediaSample* source, IMediaSample* destination) {
  if (source == nullptr || destination == nullptr) return E_POINTER;
  const LONG length = source->GetActualDataLength();
  if (length < 0 || destination->GetSize() < length) return E_FAIL;
  BYTE* from = nullptr;
  BYTE* to = nullptr;
  HRESULT hr = source->GetPointer(&from);
  if (FAILED(hr)) return hr;
  hr = destination->GetPointer(&to);
  if (FAILED(hr)) return hr;
  hr = destination->SetActualDataLength(length);
  if (FAILED(hr)) return hr;
  if (length > 0) std::memmove(to, from, static_cast<std::size_t>(length));
  return S_OK;
}

}  // namespace ds
