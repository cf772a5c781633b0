#include "directshow/com/ServedClass.h"

#include "directshow/com/ComObject.h"

namespace ds {

namespace {

// One class factory type, made for each served class with its creation function.
class ClassFactory final : public ComObject<IClassFactory> {
 public:
  explicit ClassFactory(ClassCreator create) : create_(create) {}

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** object) override {
    if (object == nullptr) return E_POINTER;
    *object = nullptr;
    if (outer != nullptr) return CLASS_E_NOAGGREGATION;
    return create_(riid, object);
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    ServerObjects::Lock(lock != FALSE);
    return S_OK;
  }

 private:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<ClassFactory> kInterfaces[] = {
        Implements<ClassFactory, IClassFactory>(IID_IClassFactory)};
    return FindInTable(*this, kInterfaces, riid);
  }

  ClassCreator create_;
};

}  // namespace

HRESULT GetServedClassObject(std::span<const ServedClass> classes, REFCLSID classId, REFIID riid,
                             void** object) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  for (const ServedClass& served : classes) {
    if (guids::Same(classId, *served.classId))
      return CreateComObject<ClassFactory>(riid, object, served.create);
  }
  return CLASS_E_CLASSNOTAVAILABLE;
}

}  // namespace ds
