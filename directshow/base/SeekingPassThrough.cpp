#include "directshow/base/SeekingPassThrough.h"

#include "directshow/base/BasePin.h"
#include "directshow/com/ComObject.h"
#include "directshow/com/ComPtr.h"
#include "directshow/com/Guids.h"

namespace ds {

namespace {

// A part of the output pin: its other interfaces and its identity are the pin's.
class SeekingForwarder final : public SeekingPassThrough, public ComPart<IMediaSeeking> {
 public:
  SeekingForwarder(BasePin& owner, BasePin& input) : ComPart(owner), owner_(owner), input_(input) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    if (guids::Same(riid, IID_IMediaSeeking)) return ComPart::QueryInterface(riid, object);
    return owner_.QueryInterface(riid, object);
  }

  HRESULT STDMETHODCALLTYPE GetCapabilities(DWORD* c) override {
    return Call([&](IMediaSeeking* s) { return s->GetCapabilities(c); });
  }
  HRESULT STDMETHODCALLTYPE CheckCapabilities(DWORD* c) override {
    return Call([&](IMediaSeeking* s) { return s->CheckCapabilities(c); });
  }
  HRESULT STDMETHODCALLTYPE IsFormatSupported(const GUID* f) override {
    return Call([&](IMediaSeeking* s) { return s->IsFormatSupported(f); });
  }
  HRESULT STDMETHODCALLTYPE QueryPreferredFormat(GUID* f) override {
    return Call([&](IMediaSeeking* s) { return s->QueryPreferredFormat(f); });
  }
  HRESULT STDMETHODCALLTYPE GetTimeFormat(GUID* f) override {
    return Call([&](IMediaSeeking* s) { return s->GetTimeFormat(f); });
  }
  HRESULT STDMETHODCALLTYPE IsUsingTimeFormat(const GUID* f) override {
    return Call([&](IMediaSeeking* s) { return s->IsUsingTimeFormat(f); });
  }
  HRESULT STDMETHODCALLTYPE SetTimeFormat(const GUID* f) override {
    return Call([&](IMediaSeeking* s) { return s->SetTimeFormat(f); });
  }
  HRESULT STDMETHODCALLTYPE GetDuration(LONGLONG* d) override {
    return Call([&](IMediaSeeking* s) { return s->GetDuration(d); });
  }
  HRESULT STDMETHODCALLTYPE GetStopPosition(LONGLONG* p) override {
    return Call([&](IMediaSeeking* s) { return s->GetStopPosition(p); });
  }
  HRESULT STDMETHODCALLTYPE GetCurrentPosition(LONGLONG* p) override {
    return Call([&](IMediaSeeking* s) { return s->GetCurrentPosition(p); });
  }
  HRESULT STDMETHODCALLTYPE ConvertTimeFormat(LONGLONG* t, const GUID* tf, LONGLONG v,
                                              const GUID* vf) override {
    return Call([&](IMediaSeeking* s) { return s->ConvertTimeFormat(t, tf, v, vf); });
  }
  HRESULT STDMETHODCALLTYPE SetPositions(LONGLONG* c, DWORD cf, LONGLONG* st, DWORD sf) override {
    return Call([&](IMediaSeeking* s) { return s->SetPositions(c, cf, st, sf); });
  }
  HRESULT STDMETHODCALLTYPE GetPositions(LONGLONG* c, LONGLONG* st) override {
    return Call([&](IMediaSeeking* s) { return s->GetPositions(c, st); });
  }
  HRESULT STDMETHODCALLTYPE GetAvailable(LONGLONG* e, LONGLONG* l) override {
    return Call([&](IMediaSeeking* s) { return s->GetAvailable(e, l); });
  }
  HRESULT STDMETHODCALLTYPE SetRate(double r) override {
    return Call([&](IMediaSeeking* s) { return s->SetRate(r); });
  }
  HRESULT STDMETHODCALLTYPE GetRate(double* r) override {
    return Call([&](IMediaSeeking* s) { return s->GetRate(r); });
  }
  HRESULT STDMETHODCALLTYPE GetPreroll(LONGLONG* p) override {
    return Call([&](IMediaSeeking* s) { return s->GetPreroll(p); });
  }

 private:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<SeekingForwarder> kInterfaces[] = {
        Implements<SeekingForwarder, IMediaSeeking>(IID_IMediaSeeking)};
    return FindInTable(*this, kInterfaces, riid);
  }

  template <typename F>
  HRESULT Call(F&& forward) {
    IPin* upstream = input_.GetConnected();
    if (upstream == nullptr) return VFW_E_NOT_CONNECTED;
    ComPtr<IMediaSeeking> seeking;
    if (FAILED(upstream->QueryInterface(IID_IMediaSeeking, seeking.PutVoid()))) return E_NOTIMPL;
    return forward(seeking.Get());
  }

  BasePin& owner_;
  BasePin& input_;
};

}  // namespace

std::unique_ptr<SeekingPassThrough> CreateSeekingPassThrough(BasePin& owner, BasePin& input) {
  return std::make_unique<SeekingForwarder>(owner, input);
}

}  // namespace ds
