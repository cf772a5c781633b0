// The server's class objects: one class factory type, made for each served
// class with that class's creation function.
#pragma once

#include "soundproc/contract/DirectShowApi.h"

#include "soundproc/contract/ServerObjects.h"

namespace zmsp {

// Makes a new object of one class and returns its `riid` interface.
using ClassCreator = HRESULT (*)(REFIID riid, void** object);

class ClassFactory final : public IClassFactory {
 public:
  explicit ClassFactory(ClassCreator create) : create_(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // The filter class answers E_FAIL when no stage is switched on: graph
  // building then passes the filter by.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  CountedObject counted_;
  LONG references_ = 1;
  ClassCreator create_;
};

// DllGetClassObject: the class factory of a served class, else
// CLASS_E_CLASSNOTAVAILABLE.
HRESULT GetServedClassObject(REFCLSID classId, REFIID riid, void** object);

}  // namespace zmsp
