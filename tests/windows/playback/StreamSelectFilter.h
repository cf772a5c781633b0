#pragma once
// A pinless test filter that offers IAMStreamSelect over a fixed list of
// streams, one exclusive group: what a splitter with several audio tracks
// shows to the player. It counts its references so tests can check that the
// code under test releases everything it takes.
#include <windows.h>
#include <dshow.h>

#include <string>
#include <vector>

namespace orves::testing {

class EmptyPinEnum final : public IEnumPins {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IEnumPins) {
      *out = static_cast<IEnumPins*>(this);
      AddRef();
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  STDMETHODIMP_(ULONG) Release() override {
    const LONG n = InterlockedDecrement(&refs_);
    if (n == 0) delete this;
    return n;
  }
  STDMETHODIMP Next(ULONG, IPin**, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    return S_FALSE;
  }
  STDMETHODIMP Skip(ULONG) override { return S_FALSE; }
  STDMETHODIMP Reset() override { return S_OK; }
  STDMETHODIMP Clone(IEnumPins** out) override {
    *out = new EmptyPinEnum();
    return S_OK;
  }

 private:
  LONG refs_ = 1;
};

class StreamSelectFilter final : public IBaseFilter, public IAMStreamSelect {
 public:
  explicit StreamSelectFilter(std::vector<std::wstring> names) : names_(std::move(names)) {}

  LONG References() const { return refs_; }
  long Enabled() const { return enabled_; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (iid == IID_IUnknown || iid == IID_IBaseFilter || iid == IID_IMediaFilter || iid == IID_IPersist) {
      *out = static_cast<IBaseFilter*>(this);
    } else if (iid == IID_IAMStreamSelect) {
      *out = static_cast<IAMStreamSelect*>(this);
    } else {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&refs_); }
  // Owned by the test (on its stack); the count only tells who forgot a Release.
  STDMETHODIMP_(ULONG) Release() override { return InterlockedDecrement(&refs_); }

  // IPersist / IMediaFilter
  STDMETHODIMP GetClassID(CLSID* id) override {
    *id = GUID_NULL;
    return S_OK;
  }
  STDMETHODIMP Stop() override {
    state_ = State_Stopped;
    return S_OK;
  }
  STDMETHODIMP Pause() override {
    state_ = State_Paused;
    return S_OK;
  }
  STDMETHODIMP Run(REFERENCE_TIME) override {
    state_ = State_Running;
    return S_OK;
  }
  STDMETHODIMP GetState(DWORD, FILTER_STATE* state) override {
    *state = state_;
    return S_OK;
  }
  STDMETHODIMP SetSyncSource(IReferenceClock*) override { return S_OK; }
  STDMETHODIMP GetSyncSource(IReferenceClock** clock) override {
    *clock = nullptr;
    return S_OK;
  }

  // IBaseFilter
  STDMETHODIMP EnumPins(IEnumPins** out) override {
    *out = new EmptyPinEnum();
    return S_OK;
  }
  STDMETHODIMP FindPin(LPCWSTR, IPin** out) override {
    *out = nullptr;
    return VFW_E_NOT_FOUND;
  }
  STDMETHODIMP QueryFilterInfo(FILTER_INFO* info) override {
    lstrcpynW(info->achName, L"Stream select test", MAX_FILTER_NAME);
    info->pGraph = graph_;
    if (graph_) graph_->AddRef();
    return S_OK;
  }
  STDMETHODIMP JoinFilterGraph(IFilterGraph* graph, LPCWSTR) override {
    graph_ = graph;  // not AddRef'ed: the graph owns the filter
    return S_OK;
  }
  STDMETHODIMP QueryVendorInfo(LPWSTR*) override { return E_NOTIMPL; }

  // IAMStreamSelect
  STDMETHODIMP Count(DWORD* count) override {
    *count = static_cast<DWORD>(names_.size());
    return S_OK;
  }
  STDMETHODIMP Info(long index, AM_MEDIA_TYPE** type, DWORD* flags, LCID* lcid, DWORD* group, WCHAR** name,
                    IUnknown** object, IUnknown** unk) override {
    if (index < 0 || index >= static_cast<long>(names_.size())) return S_FALSE;
    if (type) {
      *type = static_cast<AM_MEDIA_TYPE*>(CoTaskMemAlloc(sizeof(AM_MEDIA_TYPE)));
      ZeroMemory(*type, sizeof(AM_MEDIA_TYPE));
      (*type)->majortype = MEDIATYPE_Audio;
    }
    if (flags) *flags = index == enabled_ ? AMSTREAMSELECTINFO_EXCLUSIVE : 0;
    if (lcid) *lcid = 0;
    if (group) *group = 1;
    if (name) {
      const size_t bytes = (names_[index].size() + 1) * sizeof(WCHAR);
      *name = static_cast<WCHAR*>(CoTaskMemAlloc(bytes));
      CopyMemory(*name, names_[index].c_str(), bytes);
    }
    if (object) *object = nullptr;
    if (unk) {
      *unk = static_cast<IBaseFilter*>(this);
      AddRef();
    }
    return S_OK;
  }
  STDMETHODIMP Enable(long index, DWORD flags) override {
    if (index < 0 || index >= static_cast<long>(names_.size())) return E_INVALIDARG;
    if (flags & AMSTREAMSELECTENABLE_ENABLE) enabled_ = index;
    return S_OK;
  }

 private:
  std::vector<std::wstring> names_;
  LONG refs_ = 1;
  long enabled_ = 0;
  FILTER_STATE state_ = State_Stopped;
  IFilterGraph* graph_ = nullptr;
};

}  // namespace orves::testing
