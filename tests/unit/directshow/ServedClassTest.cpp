// A module's table of served classes behind DllGetClassObject: a class
// factory per served class that makes objects and holds the module.
#include <gtest/gtest.h>

#include "directshow/com/ComObject.h"
#include "directshow/com/ServedClass.h"

namespace ds {
namespace {

class Persisted final : public ComObject<IPersist> {
 public:
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }

 private:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<Persisted> kTable[] = {Implements<Persisted, IPersist>(IID_IPersist)};
    return FindInTable(*this, kTable, riid);
  }
};

constexpr CLSID kServed = {0x0D5C0001, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr CLSID kOther = {0x0D5C0002, 0, 0, {1, 2, 3, 4, 5, 6, 7, 8}};
constexpr ServedClass kTable[] = {
    {.classId = &kServed, .name = L"Served", .create = CreateComObject<Persisted>},
};

TEST(ServedClassTest, AServedClassHasAFactoryThatMakesItAndHoldsTheModule) {
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(GetServedClassObject(kTable, kOther, IID_IClassFactory, &none), CLASS_E_CLASSNOTAVAILABLE);
  EXPECT_EQ(none, nullptr);

  ComPtr<IClassFactory> factory;
  ASSERT_EQ(GetServedClassObject(kTable, kServed, IID_IClassFactory, factory.PutVoid()), S_OK);
  ComPtr<IPersist> made;
  ASSERT_EQ(factory->CreateInstance(nullptr, IID_IPersist, made.PutVoid()), S_OK);
  ComPtr<IUnknown> aggregated;
  EXPECT_EQ(factory->CreateInstance(made.Get(), IID_IUnknown, aggregated.PutVoid()), CLASS_E_NOAGGREGATION);
  EXPECT_FALSE(aggregated);

  EXPECT_EQ(factory->LockServer(TRUE), S_OK);
  made.Reset();
  factory.Reset();
  EXPECT_FALSE(ServerObjects::CanUnload()) << "a locked server stays loaded";
  ComPtr<IClassFactory> again;
  ASSERT_EQ(GetServedClassObject(kTable, kServed, IID_IClassFactory, again.PutVoid()), S_OK);
  again->LockServer(FALSE);
  again.Reset();
  EXPECT_TRUE(ServerObjects::CanUnload());
}

}  // namespace
}  // namespace ds
