#include "directshow/base/BasePin.h"

#include <cstring>
#include <cwchar>
#include <new>

#include "directshow/base/BaseFilter.h"
#include "directshow/base/PositionEnumerator.h"
#include "directshow/com/ComPtr.h"

namespace ds {

BasePin::BasePin(BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction)
    : ComPart(filter), filter_(filter), name_(name), direction_(direction) {}

BasePin::~BasePin() {
  if (connected_ != nullptr) connected_->Release();
}

IUnknown* BasePin::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<BasePin> kInterfaces[] = {Implements<BasePin, IPin>(IID_IPin)};
  return FindInTable(*this, kInterfaces, riid);
}

bool BasePin::IsCompleteType(const AM_MEDIA_TYPE* type) {
  return type != nullptr && !IsNullGuid(type->majortype) && !IsNullGuid(type->subtype) &&
         !IsNullGuid(type->formattype);
}

// A proposed type fits the caller's partial type in every field the caller named.
static bool FitsPartial(const AM_MEDIA_TYPE& type, const AM_MEDIA_TYPE* partial) {
  if (partial == nullptr) return true;
  auto fits = [](const GUID& wanted, const GUID& offered) {
    return IsNullGuid(wanted) || guids::Same(wanted, offered);
  };
  return fits(partial->majortype, type.majortype) && fits(partial->subtype, type.subtype) &&
         fits(partial->formattype, type.formattype);
}

HRESULT BasePin::Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) {
  if (receivePin == nullptr) return E_POINTER;
  std::lock_guard lock(filter_.FilterLock());
  if (connected_ != nullptr) return VFW_E_ALREADY_CONNECTED;
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  return AgreeMediaType(receivePin, type);
}

HRESULT BasePin::AgreeMediaType(IPin* receivePin, const AM_MEDIA_TYPE* partial) {
  if (IsCompleteType(partial)) return AttemptConnection(receivePin, partial);
  HRESULT lastFailure = VFW_E_NO_ACCEPTABLE_TYPES;
  for (int round = 0; round < 2; ++round) {
    const bool own = (round == 0) == tryOwnTypesFirst_;
    ComPtr<IEnumMediaTypes> types;
    HRESULT hr = own ? EnumMediaTypes(types.Put()) : receivePin->EnumMediaTypes(types.Put());
    if (FAILED(hr) || !types) continue;
    hr = TryMediaTypes(receivePin, partial, types.Get());
    if (SUCCEEDED(hr)) return hr;
    if (hr != VFW_E_NO_ACCEPTABLE_TYPES) lastFailure = hr;
  }
  return lastFailure;
}

HRESULT BasePin::TryMediaTypes(IPin* receivePin, const AM_MEDIA_TYPE* partial, IEnumMediaTypes* types) {
  HRESULT lastFailure = VFW_E_NO_ACCEPTABLE_TYPES;
  for (;;) {
    AM_MEDIA_TYPE* type = nullptr;
    ULONG fetched = 0;
    if (types->Next(1, &type, &fetched) != S_OK || fetched != 1 || type == nullptr) {
      DeleteMediaType(type);
      return lastFailure;
    }
    HRESULT hr =
        FitsPartial(*type, partial) ? AttemptConnection(receivePin, type) : VFW_E_NO_ACCEPTABLE_TYPES;
    DeleteMediaType(type);
    if (SUCCEEDED(hr)) return hr;
    if (hr != VFW_E_NO_ACCEPTABLE_TYPES && hr != VFW_E_TYPE_NOT_ACCEPTED) lastFailure = hr;
  }
}

// Checks the peer and the type, then takes both; on failure nothing is kept.
HRESULT BasePin::TakeConnection(IPin* peer, const AM_MEDIA_TYPE* type) {
  HRESULT hr = CheckConnect(peer);
  if (FAILED(hr)) {
    BreakConnect();
    return hr;
  }
  if (CheckMediaType(type) != S_OK) {
    BreakConnect();
    return VFW_E_TYPE_NOT_ACCEPTED;
  }
  connected_ = peer;
  connected_->AddRef();
  hr = SetMediaType(*type);
  if (FAILED(hr)) DropConnection();
  return hr;
}

HRESULT BasePin::AttemptConnection(IPin* receivePin, const AM_MEDIA_TYPE* type) {
  HRESULT hr = TakeConnection(receivePin, type);
  if (FAILED(hr)) return hr;
  hr = receivePin->ReceiveConnection(this, type);
  if (SUCCEEDED(hr)) {
    hr = CompleteConnect(receivePin);
    if (SUCCEEDED(hr)) return S_OK;
    receivePin->Disconnect();
  }
  DropConnection();
  return FAILED(hr) ? hr : E_FAIL;
}

HRESULT BasePin::ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) {
  if (connector == nullptr || type == nullptr) return E_POINTER;
  std::lock_guard lock(filter_.FilterLock());
  if (connected_ != nullptr) return VFW_E_ALREADY_CONNECTED;
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  HRESULT hr = TakeConnection(connector, type);
  if (FAILED(hr)) return hr;
  hr = CompleteConnect(connector);
  if (FAILED(hr)) DropConnection();
  return FAILED(hr) ? hr : S_OK;
}

void BasePin::DropConnection() {
  if (connected_ != nullptr) {
    connected_->Release();
    connected_ = nullptr;
  }
  mediaType_.Clear();
  BreakConnect();
}

HRESULT BasePin::Disconnect() {
  std::lock_guard lock(filter_.FilterLock());
  if (filter_.State() != State_Stopped) return VFW_E_NOT_STOPPED;
  if (connected_ == nullptr) return S_FALSE;
  DropConnection();
  return S_OK;
}

HRESULT BasePin::ConnectedTo(IPin** pin) {
  if (pin == nullptr) return E_POINTER;
  std::lock_guard lock(filter_.FilterLock());
  *pin = connected_;
  if (connected_ == nullptr) return VFW_E_NOT_CONNECTED;
  connected_->AddRef();
  return S_OK;
}

HRESULT BasePin::ConnectionMediaType(AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  std::lock_guard lock(filter_.FilterLock());
  if (connected_ == nullptr) {
    std::memset(type, 0, sizeof(*type));
    return VFW_E_NOT_CONNECTED;
  }
  return CopyMediaType(type, &mediaType_.Get());
}

HRESULT BasePin::QueryPinInfo(PIN_INFO* info) {
  if (info == nullptr) return E_POINTER;
  info->pFilter = &filter_;
  filter_.AddRef();
  info->dir = direction_;
  const std::size_t capacity = sizeof(info->achName) / sizeof(info->achName[0]);
  std::wcsncpy(info->achName, name_.c_str(), capacity - 1);
  info->achName[capacity - 1] = L'\0';
  return S_OK;
}

HRESULT BasePin::QueryDirection(PIN_DIRECTION* direction) {
  if (direction == nullptr) return E_POINTER;
  *direction = direction_;
  return S_OK;
}

HRESULT BasePin::QueryId(LPWSTR* id) {
  if (id == nullptr) return E_POINTER;
  const std::size_t bytes = (name_.size() + 1) * sizeof(wchar_t);
  *id = static_cast<LPWSTR>(CoTaskMemAlloc(bytes));
  if (*id == nullptr) return E_OUTOFMEMORY;
  std::memcpy(*id, name_.c_str(), bytes);
  return S_OK;
}

HRESULT BasePin::QueryAccept(const AM_MEDIA_TYPE* type) {
  if (type == nullptr) return E_POINTER;
  return CheckMediaType(type) == S_OK ? S_OK : S_FALSE;
}

HRESULT BasePin::EnumMediaTypes(IEnumMediaTypes** types) {
  if (types == nullptr) return E_POINTER;
  using TypeEnumerator = PositionEnumerator<IEnumMediaTypes, AM_MEDIA_TYPE*, IID_IEnumMediaTypes>;
  *types = new (std::nothrow)
      TypeEnumerator(static_cast<IPin&>(*this), [this](ULONG position, AM_MEDIA_TYPE** type) {
        MediaType proposed;
        if (GetMediaType(static_cast<int>(position), proposed) != S_OK) return false;
        *type = CreateMediaType(&proposed.Get());
        return *type != nullptr;
      });
  return *types != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT BasePin::QueryInternalConnections(IPin**, ULONG*) { return E_NOTIMPL; }

HRESULT BasePin::NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) {
  segmentStart_ = start;
  segmentStop_ = stop;
  segmentRate_ = rate;
  return S_OK;
}

HRESULT BasePin::SetMediaType(const AM_MEDIA_TYPE& type) {
  return mediaType_.Set(type) ? S_OK : E_OUTOFMEMORY;
}

HRESULT BasePin::CheckConnect(IPin* pin) {
  PIN_DIRECTION other;
  HRESULT hr = pin->QueryDirection(&other);
  if (FAILED(hr)) return hr;
  return other == direction_ ? VFW_E_INVALID_DIRECTION : S_OK;
}

}  // namespace ds
