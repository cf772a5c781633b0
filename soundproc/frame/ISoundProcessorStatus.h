// The filter's private in-process interface for its status page. What the
// page shows comes as one snapshot of plain values, so the page never
// reaches into the filter or its stages. One status page attaches at a time.
#pragma once

#include "directshow/com/DirectShowApi.h"
#include "soundproc/frame/pages/PageStatus.h"

namespace zmsp {

struct ISoundProcessorStatus : public IUnknown {
  // The stage objects that have their own property pages.
  enum StageObject : DWORD { kExpanderObject = 0, kStretcherObject = 1 };

  // S_OK, or E_FAIL while another page is attached.
  virtual HRESULT STDMETHODCALLTYPE AttachPage() = 0;
  virtual HRESULT STDMETHODCALLTYPE DetachPage() = 0;
  // What the page shows now, copied into `status`. The stages' values are
  // written by the streaming thread without a lock, so one snapshot may mix
  // two buffers' values, never more.
  virtual HRESULT STDMETHODCALLTYPE GetStatus(pages::PageStatus* status) = 0;
  // The sound meter measures while the page is shown.
  virtual HRESULT STDMETHODCALLTYPE SetMeasuring(BOOL measuring) = 0;
  // The stage's DMO with a reference; S_FALSE and null before the stage made one.
  virtual HRESULT STDMETHODCALLTYPE GetStageObject(DWORD stage, IUnknown** object) = 0;
};

}  // namespace zmsp
