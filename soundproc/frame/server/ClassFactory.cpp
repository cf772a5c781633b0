#include "soundproc/frame/server/ClassFactory.h"

#include <new>

#include "soundproc/contract/Guids.h"
#include "soundproc/dmo/DmoGuids.h"
#include "soundproc/dmo/OwnDmos.h"
#include "soundproc/frame/SoundProcessorFilter.h"
#include "soundproc/frame/pages/ObjectPages_win32.h"
#include "soundproc/frame/pages/SoundProcessorPage_win32.h"

namespace zmsp {

namespace {

HRESULT CreateFilter(REFIID riid, void** object) {
  SoundProcessorFilter* filter = nullptr;
  HRESULT hr = SoundProcessorFilter::Create(CurrentSettingsStore(), &filter);
  if (FAILED(hr)) return hr;
  hr = filter->QueryInterface(riid, object);
  filter->Release();
  return hr;
}

struct ServedClass {
  const CLSID* classId;
  ClassCreator create;
};

const ServedClass kServedClasses[] = {
    {&guids::kSoundProcessorFilter, CreateFilter},
    {&guids::kSoundProcessorPage, SoundProcessorPage::Create},
    {&guids::kSoundProcessorAboutPage, SoundProcessorAboutPage::Create},
    {&dmo::kUpmixerPage, UpmixerPage::Create},
    {&dmo::kTimeStretcherPage, TimeStretcherPage::Create},
    {&dmo::kUpmixerDmo, dmo::CreateUpmixerDmo},
    {&dmo::kTimeStretcherDmo, dmo::CreateTimeStretcherDmo},
};

}  // namespace

HRESULT ClassFactory::QueryInterface(REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  if (guids::Same(riid, IID_IUnknown) || guids::Same(riid, IID_IClassFactory)) {
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

ULONG ClassFactory::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&references_)); }

ULONG ClassFactory::Release() {
  const LONG left = InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT ClassFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  if (outer != nullptr) return CLASS_E_NOAGGREGATION;
  return create_(riid, object);
}

HRESULT ClassFactory::LockServer(BOOL lock) {
  ServerObjects::Lock(lock != FALSE);
  return S_OK;
}

HRESULT GetServedClassObject(REFCLSID classId, REFIID riid, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  for (const ServedClass& served : kServedClasses) {
    if (!guids::Same(classId, *served.classId)) continue;
    auto* factory = new (std::nothrow) ClassFactory(served.create);
    if (factory == nullptr) return E_OUTOFMEMORY;
    const HRESULT hr = factory->QueryInterface(riid, object);
    factory->Release();
    return hr;
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace zmsp
