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

IUnknown* ClassFactory::FindInterface(REFIID riid) {
  static constexpr InterfaceEntry<ClassFactory> kInterfaces[] = {
      Implements<ClassFactory, IClassFactory>(IID_IClassFactory)};
  return FindInTable(*this, kInterfaces, riid);
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
    return CreateComObject<ClassFactory>(riid, object, served.create);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace zmsp
