// The enumerators DirectShow hands out (IEnumPins, IEnumMediaTypes,
// IEnumFilters), over items fetched by position from the object that owns
// them. The owner lives while the enumerator does; Next hands out owned items
// (a reference, or a task-memory media type freed with DeleteMediaType).
#pragma once

#include <functional>
#include <utility>

#include "directshow/base/MediaTypes.h"
#include "directshow/com/ComObject.h"

namespace ds {

// Releases an item Next handed out.
inline void ReleaseItem(IUnknown* item) {
  if (item != nullptr) item->Release();
}
inline void ReleaseItem(AM_MEDIA_TYPE* item) { DeleteMediaType(item); }

template <typename EnumInterface, typename Item, const IID& kIid>
class PositionEnumerator final : public ComObject<EnumInterface> {
 public:
  // Stores the owned item at `position` and answers true, or answers false
  // past the end.
  using Fetch = std::function<bool(ULONG position, Item* item)>;

  PositionEnumerator(IUnknown& owner, Fetch fetch, ULONG position = 0)
      : owner_(owner), fetch_(std::move(fetch)), position_(position) {
    owner_.AddRef();
  }
  ~PositionEnumerator() override { owner_.Release(); }

  HRESULT STDMETHODCALLTYPE Next(ULONG count, Item* items, ULONG* fetched) override {
    if (items == nullptr) return E_POINTER;
    if (fetched == nullptr && count > 1) return E_INVALIDARG;
    ULONG done = 0;
    while (done < count && fetch_(position_, &items[done])) {
      ++done;
      ++position_;
    }
    if (fetched != nullptr) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }
  // S_FALSE when fewer than `count` items were left.
  HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
    if (count == 0) return S_OK;
    Item last{};
    const bool reached = fetch_(position_ + count - 1, &last);
    if (reached) ReleaseItem(last);
    position_ += count;
    return reached ? S_OK : S_FALSE;
  }
  HRESULT STDMETHODCALLTYPE Reset() override {
    position_ = 0;
    return S_OK;
  }
  HRESULT STDMETHODCALLTYPE Clone(EnumInterface** clone) override {
    if (clone == nullptr) return E_POINTER;
    *clone = new (std::nothrow) PositionEnumerator(owner_, fetch_, position_);
    return *clone != nullptr ? S_OK : E_OUTOFMEMORY;
  }

 private:
  IUnknown* FindInterface(REFIID riid) override {
    static constexpr InterfaceEntry<PositionEnumerator> kInterfaces[] = {
        Implements<PositionEnumerator, EnumInterface>(kIid)};
    return FindInTable(*this, kInterfaces, riid);
  }

  IUnknown& owner_;  // one reference
  Fetch fetch_;
  ULONG position_;
};

}  // namespace ds
