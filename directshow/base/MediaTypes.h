// Media-type helpers with the usual DirectShow ownership rules: the format
// block and pUnk of an AM_MEDIA_TYPE belong to it; a type handed out by
// IMediaSample::GetMediaType is one task-memory block freed by DeleteMediaType.
#pragma once

#include <cstring>

#include "directshow/com/DirectShowApi.h"
#include "directshow/com/Guids.h"

namespace ds {

inline bool IsNullGuid(const GUID& guid) { return guids::IsNull(guid); }

// Releases what the type owns and leaves it empty (the struct itself stays).
inline void FreeMediaType(AM_MEDIA_TYPE& type) {
  if (type.cbFormat != 0 || type.pbFormat != nullptr) {
    CoTaskMemFree(type.pbFormat);
    type.cbFormat = 0;
    type.pbFormat = nullptr;
  }
  if (type.pUnk != nullptr) {
    type.pUnk->Release();
    type.pUnk = nullptr;
  }
}

// Frees a type obtained from IMediaSample::GetMediaType or CreateMediaType.
inline void DeleteMediaType(AM_MEDIA_TYPE* type) {
  if (type == nullptr) return;
  FreeMediaType(*type);
  CoTaskMemFree(type);
}

// Deep copy into an empty target; E_OUTOFMEMORY leaves the target empty.
inline HRESULT CopyMediaType(AM_MEDIA_TYPE* target, const AM_MEDIA_TYPE* source) {
  *target = *source;
  if (source->cbFormat != 0 && source->pbFormat != nullptr) {
    target->pbFormat = static_cast<BYTE*>(CoTaskMemAlloc(source->cbFormat));
    if (target->pbFormat == nullptr) {
      target->cbFormat = 0;
      target->pUnk = nullptr;
      return E_OUTOFMEMORY;
    }
    std::memcpy(target->pbFormat, source->pbFormat, source->cbFormat);
  } else {
    target->cbFormat = 0;
    target->pbFormat = nullptr;
  }
  if (target->pUnk != nullptr) target->pUnk->AddRef();
  return S_OK;
}

// A task-memory copy, freed with DeleteMediaType; null when out of memory.
inline AM_MEDIA_TYPE* CreateMediaType(const AM_MEDIA_TYPE* source) {
  auto* copy = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
  if (copy == nullptr) return nullptr;
  if (FAILED(CopyMediaType(copy, source))) {
    CoTaskMemFree(copy);
    return nullptr;
  }
  return copy;
}

// An owned media type value (the base classes' CMediaType, reduced).
class MediaType {
 public:
  MediaType() { std::memset(&type_, 0, sizeof(type_)); }
  MediaType(const MediaType& other) : MediaType() { Set(other.type_); }
  MediaType& operator=(const MediaType& other) {
    if (this != &other) Set(other.type_);
    return *this;
  }
  ~MediaType() { FreeMediaType(type_); }

  // Replaces the value by a copy of `source`; false when out of memory.
  bool Set(const AM_MEDIA_TYPE& source) {
    if (&source == &type_) return true;
    FreeMediaType(type_);
    return SUCCEEDED(CopyMediaType(&type_, &source));
  }
  void Clear() {
    FreeMediaType(type_);
    std::memset(&type_, 0, sizeof(type_));
  }
  bool IsEmpty() const { return type_.cbFormat == 0 && IsNullGuid(type_.majortype); }

  AM_MEDIA_TYPE& Get() { return type_; }
  const AM_MEDIA_TYPE& Get() const { return type_; }

 private:
  AM_MEDIA_TYPE type_;
};

}  // namespace ds
