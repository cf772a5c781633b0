#include "directshow/base/BaseFilter.h"

#include <cwchar>
#include <new>

#include "directshow/base/BasePin.h"
#include "directshow/base/PositionEnumerator.h"
#include "directshow/com/ComPtr.h"

namespace ds {

BaseFilter::BaseFilter(const CLSID& classId, const wchar_t* name) : classId_(classId), name_(name) {}

BaseFilter::~BaseFilter() {
  if (clock_ != nullptr) clock_->Release();
}

IUnknown* BaseFilter::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<BaseFilter> kInterfaces[] = {
      Implements<BaseFilter, IBaseFilter>(IID_IBaseFilter),
      Implements<BaseFilter, IMediaFilter>(IID_IMediaFilter),
      Implements<BaseFilter, IPersist>(IID_IPersist),
  };
  return FindInTable(*this, kInterfaces, riid);
}

HRESULT BaseFilter::GetClassID(CLSID* classId) {
  if (classId == nullptr) return E_POINTER;
  *classId = classId_;
  return S_OK;
}

HRESULT BaseFilter::Stop() {
  std::lock_guard lock(lock_);
  HRESULT result = S_OK;
  if (state_ != State_Stopped) {
    for (int i = 0; i < GetPinCount(); ++i) {
      BasePin* pin = GetPin(i);
      if (pin != nullptr && pin->IsConnected()) {
        HRESULT hr = pin->Inactive();
        if (FAILED(hr) && SUCCEEDED(result)) result = hr;
      }
    }
  }
  state_ = State_Stopped;
  return result;
}

HRESULT BaseFilter::Pause() {
  std::lock_guard lock(lock_);
  if (state_ == State_Stopped) {
    for (int i = 0; i < GetPinCount(); ++i) {
      BasePin* pin = GetPin(i);
      if (pin != nullptr && pin->IsConnected()) {
        HRESULT hr = pin->Active();
        if (FAILED(hr)) return hr;
      }
    }
  }
  state_ = State_Paused;
  return S_OK;
}

HRESULT BaseFilter::Run(REFERENCE_TIME start) {
  std::lock_guard lock(lock_);
  if (state_ == State_Stopped) {
    HRESULT hr = Pause();
    if (FAILED(hr)) return hr;
  }
  start_ = start;
  state_ = State_Running;
  return S_OK;
}

HRESULT BaseFilter::GetState(DWORD, FILTER_STATE* state) {
  if (state == nullptr) return E_POINTER;
  *state = state_;
  return S_OK;
}

HRESULT BaseFilter::SetSyncSource(IReferenceClock* clock) {
  std::lock_guard lock(lock_);
  if (clock != nullptr) clock->AddRef();
  if (clock_ != nullptr) clock_->Release();
  clock_ = clock;
  return S_OK;
}

HRESULT BaseFilter::GetSyncSource(IReferenceClock** clock) {
  if (clock == nullptr) return E_POINTER;
  std::lock_guard lock(lock_);
  *clock = clock_;
  if (clock_ != nullptr) clock_->AddRef();
  return S_OK;
}

HRESULT BaseFilter::EnumPins(IEnumPins** pins) {
  if (pins == nullptr) return E_POINTER;
  using PinEnumerator = PositionEnumerator<IEnumPins, IPin*, IID_IEnumPins>;
  *pins =
      new (std::nothrow) PinEnumerator(static_cast<IBaseFilter&>(*this), [this](ULONG position, IPin** pin) {
        std::lock_guard lock(lock_);
        BasePin* found =
            static_cast<int>(position) < GetPinCount() ? GetPin(static_cast<int>(position)) : nullptr;
        if (found == nullptr) return false;
        found->AddRef();
        *pin = found;
        return true;
      });
  return *pins != nullptr ? S_OK : E_OUTOFMEMORY;
}

HRESULT BaseFilter::FindPin(LPCWSTR id, IPin** pin) {
  if (id == nullptr || pin == nullptr) return E_POINTER;
  std::lock_guard lock(lock_);
  for (int i = 0; i < GetPinCount(); ++i) {
    BasePin* candidate = GetPin(i);
    if (candidate != nullptr && candidate->Name() == id) {
      *pin = candidate;
      candidate->AddRef();
      return S_OK;
    }
  }
  *pin = nullptr;
  return VFW_E_NOT_FOUND;
}

HRESULT BaseFilter::QueryFilterInfo(FILTER_INFO* info) {
  if (info == nullptr) return E_POINTER;
  const std::size_t capacity = sizeof(info->achName) / sizeof(info->achName[0]);
  std::wcsncpy(info->achName, name_.c_str(), capacity - 1);
  info->achName[capacity - 1] = L'\0';
  info->pGraph = graph_;
  if (graph_ != nullptr) graph_->AddRef();
  return S_OK;
}

HRESULT BaseFilter::JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) {
  std::lock_guard lock(lock_);
  graph_ = graph;
  eventSink_ = nullptr;
  if (graph != nullptr) {
    // Kept without a reference, as the graph keeps one on us.
    ComPtr<IMediaEventSink> sink;
    if (SUCCEEDED(graph->QueryInterface(IID_IMediaEventSink, sink.PutVoid()))) eventSink_ = sink.Get();
  }
  if (name != nullptr) name_ = name;
  return S_OK;
}

HRESULT BaseFilter::NotifyEvent(LONG code, LONG_PTR param1, LONG_PTR param2) {
  IMediaEventSink* sink = eventSink_;
  if (sink == nullptr) return E_NOTIMPL;
  return sink->Notify(code, param1, param2);
}

}  // namespace ds
