// A filter whose pins its owner adds: a source filter adds one output pin per
// stream it finds, a test host the pins it needs. Each pin is made with the
// filter as its first argument and lives as long as the filter.
#pragma once

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "directshow/base/BaseFilter.h"
#include "directshow/base/BasePin.h"

namespace ds {

class MultiPinFilter : public BaseFilter {
 public:
  using BaseFilter::BaseFilter;

  int GetPinCount() override {
    std::lock_guard lock(lock_);
    return static_cast<int>(pins_.size());
  }
  BasePin* GetPin(int index) override {
    std::lock_guard lock(lock_);
    return index >= 0 && index < static_cast<int>(pins_.size()) ? pins_[static_cast<std::size_t>(index)].get()
                                                                : nullptr;
  }

  template <typename Pin, typename... Args>
  Pin& AddPin(Args&&... args) {
    auto pin = std::make_unique<Pin>(*this, std::forward<Args>(args)...);
    Pin& added = *pin;
    std::lock_guard lock(lock_);
    pins_.push_back(std::move(pin));
    return added;
  }

 private:
  std::vector<std::unique_ptr<BasePin>> pins_;
};

}  // namespace ds
