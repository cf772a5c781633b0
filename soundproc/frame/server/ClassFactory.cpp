#include "soundproc/frame/server/ClassFactory.h"

#include "soundproc/contract/Guids.h"
#include "soundproc/frame/SoundProcessorFilter.h"

namespace zmsp {

HRESULT FilterClassFactory::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (guids::Same(riid, IID_IUnknown) || guids::Same(riid, IID_IClassFactory)) {
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG FilterClassFactory::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG FilterClassFactory::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT FilterClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  SoundProcessorFilter* filter = nullptr;
  HRESULT hr = SoundProcessorFilter::Create(CurrentSettingsStore(), &filter);
  if (FAILED(hr)) return hr;
  hr = filter->QueryInterface(riid, object);
  filter->Release();
  return hr;
}

HRESULT FilterClassFactory::LockServer(BOOL lock) {
  ServerObjects::Lock(lock != FALSE);
  return S_OK;
}

}  // namespace zmsp
