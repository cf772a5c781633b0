#pragma once
// ComPtr: owns one reference of a COM interface pointer and releases it.
// Enough for the DirectShow code here: no aggregation tricks, no conversions.
#include <windows.h>
#include <strmif.h>

#include <utility>

namespace orves {

template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Takes over a reference the caller already owns (as CoCreateInstance and
  // QueryInterface hand them out).
  static ComPtr Attach(T* raw) {
    ComPtr p;
    p.ptr_ = raw;
    return p;
  }
  // Adds a reference of its own.
  static ComPtr Share(T* raw) {
    if (raw) raw->AddRef();
    return Attach(raw);
  }
  ComPtr(const ComPtr& other) : ptr_(other.ptr_) {
    if (ptr_) ptr_->AddRef();
  }
  ComPtr(ComPtr&& other) noexcept : ptr_(std::exchange(other.ptr_, nullptr)) {}
  ComPtr& operator=(ComPtr other) noexcept {
    std::swap(ptr_, other.ptr_);
    return *this;
  }
  ~ComPtr() { Reset(); }

  void Reset() {
    if (T* p = std::exchange(ptr_, nullptr)) p->Release();
  }
  T* Get() const { return ptr_; }
  T* operator->() const { return ptr_; }
  explicit operator bool() const { return ptr_ != nullptr; }
  // For out parameters: releases what is held and hands out the slot.
  T** Put() {
    Reset();
    return &ptr_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  // QueryInterface into another ComPtr; empty when the interface is missing.
  // The IID is passed explicitly: mingw's headers lack __uuidof for many of
  // the DirectShow interfaces.
  template <typename U, typename Iid>
  ComPtr<U> As(const Iid& iid) const {
    ComPtr<U> out;
    if (ptr_ && FAILED(ptr_->QueryInterface(iid, out.PutVoid()))) out.Reset();
    return out;
  }

 private:
  T* ptr_ = nullptr;
};

// The first filter of a graph that offers interface `I`, or nothing.
template <typename I>
ComPtr<I> FirstFilterOffering(IFilterGraph* graph, REFIID iid) {
  ComPtr<IEnumFilters> filters;
  if (!graph || FAILED(graph->EnumFilters(filters.Put())) || !filters) return {};
  ComPtr<IBaseFilter> filter;
  while (filters->Next(1, filter.Put(), nullptr) == S_OK) {
    if (ComPtr<I> found = filter.template As<I>(iid)) return found;
  }
  return {};
}

}  // namespace orves
