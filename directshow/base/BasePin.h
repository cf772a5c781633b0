// The pin base: connection handshake, media-type agreement and the pin's
// share of the filter's identity. A pin has no lifetime of its own; its
// AddRef and Release are the filter's.
#pragma once

#include <mutex>
#include <string>

#include "directshow/base/MediaTypes.h"
#include "directshow/com/ComObject.h"
#include "directshow/com/DirectShowApi.h"

namespace ds {

class BaseFilter;

class BasePin : public ComPart<IPin> {
 public:
  BasePin(BaseFilter& filter, const wchar_t* name, PIN_DIRECTION direction);
  ~BasePin() override;

  HRESULT STDMETHODCALLTYPE Connect(IPin* receivePin, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE ReceiveConnection(IPin* connector, const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE Disconnect() override;
  HRESULT STDMETHODCALLTYPE ConnectedTo(IPin** pin) override;
  HRESULT STDMETHODCALLTYPE ConnectionMediaType(AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE QueryPinInfo(PIN_INFO* info) override;
  HRESULT STDMETHODCALLTYPE QueryDirection(PIN_DIRECTION* direction) override;
  HRESULT STDMETHODCALLTYPE QueryId(LPWSTR* id) override;
  HRESULT STDMETHODCALLTYPE QueryAccept(const AM_MEDIA_TYPE* type) override;
  HRESULT STDMETHODCALLTYPE EnumMediaTypes(IEnumMediaTypes** types) override;
  HRESULT STDMETHODCALLTYPE QueryInternalConnections(IPin** pins, ULONG* count) override;
  HRESULT STDMETHODCALLTYPE EndOfStream() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE BeginFlush() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE EndFlush() override { return S_OK; }
  HRESULT STDMETHODCALLTYPE NewSegment(REFERENCE_TIME start, REFERENCE_TIME stop, double rate) override;

  // Hooks for the derived pins.
  virtual HRESULT CheckMediaType(const AM_MEDIA_TYPE* type) = 0;
  // The type at `position` this pin proposes; VFW_S_NO_MORE_ITEMS past the end.
  virtual HRESULT GetMediaType(int position, MediaType& type) { return VFW_S_NO_MORE_ITEMS; }
  virtual HRESULT SetMediaType(const AM_MEDIA_TYPE& type);
  virtual HRESULT CheckConnect(IPin* pin);
  virtual HRESULT BreakConnect() { return S_OK; }
  virtual HRESULT CompleteConnect(IPin* receivePin) { return S_OK; }
  virtual HRESULT Active() { return S_OK; }
  virtual HRESULT Inactive() { return S_OK; }

  bool IsConnected() const { return connected_ != nullptr; }
  IPin* GetConnected() const { return connected_; }
  PIN_DIRECTION Direction() const { return direction_; }
  const MediaType& CurrentMediaType() const { return mediaType_; }
  MediaType& CurrentMediaType() { return mediaType_; }
  BaseFilter& Filter() const { return filter_; }
  const std::wstring& Name() const { return name_; }

 protected:
  IUnknown* FindInterface(REFIID riid) override;

  // True when the type names major type, subtype and format type.
  static bool IsCompleteType(const AM_MEDIA_TYPE* type);
  HRESULT AgreeMediaType(IPin* receivePin, const AM_MEDIA_TYPE* partial);
  HRESULT TryMediaTypes(IPin* receivePin, const AM_MEDIA_TYPE* partial, IEnumMediaTypes* types);
  HRESULT TakeConnection(IPin* peer, const AM_MEDIA_TYPE* type);
  HRESULT AttemptConnection(IPin* receivePin, const AM_MEDIA_TYPE* type);
  void DropConnection();
  // A connection attempt tries this pin's own types before the peer's
  // (an output pin that offers its types in an order of preference).
  void TryOwnTypesFirst() { tryOwnTypesFirst_ = true; }

  BaseFilter& filter_;
  std::wstring name_;
  PIN_DIRECTION direction_;
  IPin* connected_ = nullptr;  // one reference while connected
  MediaType mediaType_;
  REFERENCE_TIME segmentStart_ = 0, segmentStop_ = 0;
  double segmentRate_ = 1.0;

 private:
  bool tryOwnTypesFirst_ = false;
};

}  // namespace ds
