#pragma once
// A 16-bit sample-to-sample function held as a 65,536-entry table, so that a
// per-sample operation on 16-bit data is one lookup however costly its
// arithmetic (the exact double-precision formulas cost far more per sample).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <span>

namespace zmsp {

class SampleMap16 {
 public:
  static constexpr std::size_t kEntries = 65536;

  // Fills the table with fn(s) for every sample value s; false when the table
  // cannot be allocated (it is then absent).
  template <typename Fn>
  [[nodiscard]] bool Build(Fn&& fn) {
    if (entries_ == nullptr) {
      entries_.reset(new (std::nothrow) std::int16_t[kEntries]);
      if (entries_ == nullptr) {
        return false;
      }
    }
    for (std::size_t u = 0; u < kEntries; ++u) {
      entries_[u] = fn(static_cast<std::int16_t>(u));
    }
    return true;
  }
  void Release() { entries_.reset(); }
  [[nodiscard]] bool Built() const { return entries_ != nullptr; }

  void Apply(std::span<std::int16_t> samples) const {
    const std::int16_t* map = entries_.get();
    for (std::int16_t& sample : samples) {
      sample = map[static_cast<std::uint16_t>(sample)];
    }
  }

 private:
  std::unique_ptr<std::int16_t[]> entries_;
};

}  // namespace zmsp
