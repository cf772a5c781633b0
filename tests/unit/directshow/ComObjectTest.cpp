// The COM object base: table-driven QueryInterface with a stable identity,
// the starting reference, the module object count and parts living on their
// owner's count.
#include <gtest/gtest.h>

#include "directshow/com/ComObject.h"

namespace ds {
namespace {

class TwoInterfaces final : public ComObject<IMediaBuffer, IPersist> {
 public:
  explicit TwoInterfaces(bool* destroyed) : destroyed_(destroyed) {}
  ~TwoInterfaces() override { *destroyed_ = true; }

  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE SetLength(DWORD) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetMaxLength(DWORD*) override { return E_NOTIMPL; }
  HRESULT STDMETHODCALLTYPE GetBufferAndLength(BYTE**, DWORD*) override { return E_NOTIMPL; }

 private:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<TwoInterfaces> kTable[] = {
        Implements<TwoInterfaces, IMediaBuffer>(IID_IMediaBuffer),
        Implements<TwoInterfaces, IPersist>(IID_IPersist),
    };
    return FindInTable(*this, kTable, riid);
  }
  bool* destroyed_;
};

class PartOf final : public ComPart<IPersist> {
 public:
  explicit PartOf(IUnknown& owner) : ComPart(owner) {}
  HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }

 private:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<PartOf> kTable[] = {Implements<PartOf, IPersist>(IID_IPersist)};
    return FindInTable(*this, kTable, riid);
  }
};

TEST(ComObjectTest, ServesItsTableWithOneIdentityAndDiesAtTheLastRelease) {
  const long before = ServerObjects::Objects();
  bool destroyed = false;
  {
    ComPtr<TwoInterfaces> object = MakeComObject<TwoInterfaces>(&destroyed);
    ASSERT_TRUE(object);
    EXPECT_EQ(ServerObjects::Objects(), before + 1);

    ComPtr<IUnknown> viaBuffer, viaPersist, unknownFromPersist;
    ASSERT_EQ(object->QueryInterface(IID_IMediaBuffer, viaBuffer.PutVoid()), S_OK);
    ASSERT_EQ(object->QueryInterface(IID_IPersist, viaPersist.PutVoid()), S_OK);
    EXPECT_EQ(viaPersist.Get(), static_cast<IUnknown*>(static_cast<IPersist*>(object.Get())));
    ASSERT_EQ(viaPersist->QueryInterface(IID_IUnknown, unknownFromPersist.PutVoid()), S_OK);
    EXPECT_EQ(unknownFromPersist.Get(), viaBuffer.Get())
        << "IUnknown is the first interface, from any of them";

    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(object->QueryInterface(IID_IPin, &none), E_NOINTERFACE);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(object->QueryInterface(IID_IPersist, nullptr), E_POINTER);

    // Born with one reference: the ComPtr's, plus the three queried above.
    EXPECT_EQ(object->AddRef(), 5u);
    EXPECT_EQ(object->Release(), 4u);
  }
  EXPECT_TRUE(destroyed);
  EXPECT_EQ(ServerObjects::Objects(), before);
}

TEST(ComObjectTest, APartCountsOnItsOwner) {
  bool destroyed = false;
  ComPtr<TwoInterfaces> owner = MakeComObject<TwoInterfaces>(&destroyed);
  PartOf part(*static_cast<IPersist*>(owner.Get()));
  {
    ComPtr<IPersist> persist;
    ASSERT_EQ(part.QueryInterface(IID_IPersist, persist.PutVoid()), S_OK);
    EXPECT_EQ(persist.Get(), static_cast<IPersist*>(&part));
    EXPECT_EQ(owner->AddRef(), 3u) << "the part's reference is the owner's";
    owner->Release();
  }
  owner.Reset();
  EXPECT_TRUE(destroyed);
}

TEST(ComObjectTest, CreateComObjectAnswersTheAskedInterfaceOnly) {
  bool destroyed = false;
  IPersist* persist = nullptr;
  ASSERT_EQ(CreateComObject<TwoInterfaces>(IID_IPersist, reinterpret_cast<void**>(&persist), &destroyed),
            S_OK);
  EXPECT_EQ(persist->Release(), 0u);
  EXPECT_TRUE(destroyed);

  destroyed = false;
  void* pin = nullptr;
  EXPECT_EQ(CreateComObject<TwoInterfaces>(IID_IPin, &pin, &destroyed), E_NOINTERFACE);
  EXPECT_EQ(pin, nullptr);
  EXPECT_TRUE(destroyed) << "a refused creation leaves nothing alive";
}

}  // namespace
}  // namespace ds
