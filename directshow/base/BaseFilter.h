// The filter base: identity, state (stopped, paused, running), the graph
// and clock it belongs to, and its pins by index.
#pragma once

#include <mutex>
#include <string>

#include "directshow/com/ComObject.h"
#include "directshow/com/DirectShowApi.h"

namespace ds {

class BasePin;

class BaseFilter : public ComObject<IBaseFilter> {
 public:
  BaseFilter(const CLSID& classId, const wchar_t* name);
  ~BaseFilter() override;

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID* classId) override;
  HRESULT STDMETHODCALLTYPE Stop() override;
  HRESULT STDMETHODCALLTYPE Pause() override;
  HRESULT STDMETHODCALLTYPE Run(REFERENCE_TIME start) override;
  HRESULT STDMETHODCALLTYPE GetState(DWORD timeoutMs, FILTER_STATE* state) override;
  HRESULT STDMETHODCALLTYPE SetSyncSource(IReferenceClock* clock) override;
  HRESULT STDMETHODCALLTYPE GetSyncSource(IReferenceClock** clock) override;
  HRESULT STDMETHODCALLTYPE EnumPins(IEnumPins** pins) override;
  HRESULT STDMETHODCALLTYPE FindPin(LPCWSTR id, IPin** pin) override;
  HRESULT STDMETHODCALLTYPE QueryFilterInfo(FILTER_INFO* info) override;
  HRESULT STDMETHODCALLTYPE JoinFilterGraph(IFilterGraph* graph, LPCWSTR name) override;
  HRESULT STDMETHODCALLTYPE QueryVendorInfo(LPWSTR* vendorInfo) override { return E_NOTIMPL; }

  // The filter's pins by index (null past the end), asked under the filter lock.
  virtual int GetPinCount() = 0;
  virtual BasePin* GetPin(int index) = 0;

  // Sends an event to the graph's event sink, when the filter is in a graph.
  HRESULT NotifyEvent(LONG code, LONG_PTR param1, LONG_PTR param2);

  std::recursive_mutex& FilterLock() { return lock_; }
  FILTER_STATE State() const { return state_; }
  IFilterGraph* Graph() const { return graph_; }
  const CLSID& ClassId() const { return classId_; }

 protected:
  IUnknown* FindInterface(REFIID riid) override;

  std::recursive_mutex lock_;
  CLSID classId_;
  std::wstring name_;
  FILTER_STATE state_ = State_Stopped;
  REFERENCE_TIME start_ = 0;
  IReferenceClock* clock_ = nullptr;      // one reference
  IFilterGraph* graph_ = nullptr;         // no reference: the graph owns the filter
  IMediaEventSink* eventSink_ = nullptr;  // no reference, same reason
};

}  // namespace ds
