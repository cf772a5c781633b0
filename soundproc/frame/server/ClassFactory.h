// The class factory the server hands out for the filter class.
#pragma once

#include "soundproc/contract/DirectShowApi.h"

#include "soundproc/contract/ServerObjects.h"

namespace zmsp {

class FilterClassFactory final : public IClassFactory {
 public:
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // E_FAIL when no stage is switched on: graph building then passes the filter by.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  CountedObject counted_;
  LONG references_ = 1;
};

}  // namespace zmsp
