// The server's class objects: one class factory type, made for each served
// class with that class's creation function.
#pragma once

#include "soundproc/contract/DirectShowApi.h"

#include "soundproc/contract/ComObject.h"

namespace zmsp {

// Makes a new object of one class and returns its `riid` interface.
using ClassCreator = HRESULT (*)(REFIID riid, void** object);

class ClassFactory final : public ComObject<IClassFactory> {
 public:
  explicit ClassFactory(ClassCreator create) : create_(create) {}

  // The filter class answers E_FAIL when no stage is switched on: graph
  // building then passes the filter by.
  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

 private:
  IUnknown* FindInterface(REFIID riid) override;

  ClassCreator create_;
};

// DllGetClassObject: the class factory of a served class, else
// CLASS_E_CLASSNOTAVAILABLE.
HRESULT GetServedClassObject(REFCLSID classId, REFIID riid, void** object);

}  // namespace zmsp
