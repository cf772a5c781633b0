// The one COM object base of our COM modules.
//
// Reference count rule: every object is born with ONE reference, owned by the
// code that created it. MakeComObject hands that reference over in a ComPtr;
// a factory that returns the object through an out-parameter detaches it, or
// queries the interface asked for and lets the ComPtr drop the first one.
// An object pooled by its owner (a media sample) is handed out with the
// pool's reference and comes back through LastReleased instead of dying.
//
// QueryInterface is table-driven: a class lists the interfaces it serves in a
// static table of InterfaceEntry (interface id -> how to reach it) and answers
// FindInterface with FindInTable. A class that adds interfaces to a COM base
// class looks in its own table first and then asks the base. IID_IUnknown is
// always the first interface of the most derived table, so an object's
// identity never changes.
//
// Every object, owned or part of another (see ComPart), counts toward the
// module's live objects (ServerObjects), so DllCanUnloadNow answers S_FALSE
// while any of them lives.
#pragma once

#include <atomic>
#include <cstddef>
#include <new>
#include <utility>

#include "directshow/com/ComPtr.h"
#include "directshow/com/DirectShowApi.h"
#include "directshow/com/Guids.h"
#include "directshow/com/ServerObjects.h"

namespace ds {

// One row of a QueryInterface table: an interface id and how to reach that
// interface of an `Object`.
template <typename Object>
struct InterfaceEntry {
  const IID* iid;
  IUnknown* (*reach)(Object& object);
};

// The row for `Interface`, which `Object` implements, under `iid`.
template <typename Object, typename Interface>
constexpr InterfaceEntry<Object> Implements(const IID& iid) {
  return {&iid, [](Object& object) -> IUnknown* { return static_cast<Interface*>(&object); }};
}

// The interface of `object` that `table` lists under `riid` (the first one
// for IID_IUnknown), or null.
template <typename Object, std::size_t N>
IUnknown* FindInTable(Object& object, const InterfaceEntry<Object> (&table)[N], REFIID riid) {
  static_assert(N > 0, "a COM object serves at least one interface");
  if (guids::Same(riid, IID_IUnknown)) return table[0].reach(object);
  for (const InterfaceEntry<Object>& entry : table) {
    if (guids::Same(riid, *entry.iid)) return entry.reach(object);
  }
  return nullptr;
}

namespace com_detail {
// The QueryInterface answer for a found (or not found) interface.
inline HRESULT Answer(IUnknown* found, void** object) {
  if (object == nullptr) return E_POINTER;
  *object = found;
  if (found == nullptr) return E_NOINTERFACE;
  found->AddRef();
  return S_OK;
}
}  // namespace com_detail

// An object with its own reference count, implementing `Interfaces`.
template <typename... Interfaces>
class ComObject : public Interfaces... {
 public:
  ComObject(const ComObject&) = delete;
  ComObject& operator=(const ComObject&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return com_detail::Answer(object == nullptr ? nullptr : FindInterface(riid), object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return references_.fetch_add(1) + 1; }
  ULONG STDMETHODCALLTYPE Release() override {
    const ULONG left = references_.fetch_sub(1) - 1;
    if (left == 0) LastReleased();
    return left;
  }

 protected:
  ComObject() = default;
  virtual ~ComObject() = default;

  // The interface served for `riid`, or null (see FindInTable).
  virtual IUnknown* FindInterface(REFIID riid) = 0;
  // The last reference went: the object deletes itself.
  virtual void LastReleased() { delete this; }

 private:
  std::atomic<ULONG> references_{1};
  CountedObject counted_;
};

// An object whose lifetime is its owner's (a filter's pins, an object a
// filter aggregates): AddRef and Release go to the owner, while
// QueryInterface serves the part's own interfaces.
template <typename... Interfaces>
class ComPart : public Interfaces... {
 public:
  ComPart(const ComPart&) = delete;
  ComPart& operator=(const ComPart&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override {
    return com_detail::Answer(object == nullptr ? nullptr : FindInterface(riid), object);
  }
  ULONG STDMETHODCALLTYPE AddRef() override { return owner_.AddRef(); }
  ULONG STDMETHODCALLTYPE Release() override { return owner_.Release(); }

 protected:
  explicit ComPart(IUnknown& owner) : owner_(owner) {}
  virtual ~ComPart() = default;

  virtual IUnknown* FindInterface(REFIID riid) = 0;
  IUnknown& Owner() const { return owner_; }

 private:
  IUnknown& owner_;
  CountedObject counted_;
};

// The IUnknown of a class that adds interfaces to a COM base class: the
// base's, for the added interfaces too.
#define DS_IUNKNOWN_FROM(Base)                                                    \
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override { \
    return Base::QueryInterface(riid, object);                                    \
  }                                                                               \
  ULONG STDMETHODCALLTYPE AddRef() override { return Base::AddRef(); }            \
  ULONG STDMETHODCALLTYPE Release() override { return Base::Release(); }

// A new `T` with its one reference in the ComPtr; empty when out of memory.
template <typename T, typename... Args>
ComPtr<T> MakeComObject(Args&&... args) {
  return ComPtr<T>::Adopt(new (std::nothrow) T(std::forward<Args>(args)...));
}

// Creates a `T` and answers `riid` from it, the way IClassFactory::CreateInstance does.
template <typename T, typename... Args>
HRESULT CreateComObject(REFIID riid, void** object, Args&&... args) {
  if (object == nullptr) return E_POINTER;
  *object = nullptr;
  ComPtr<T> created = MakeComObject<T>(std::forward<Args>(args)...);
  if (!created) return E_OUTOFMEMORY;
  return created->QueryInterface(riid, object);
}

}  // namespace ds
