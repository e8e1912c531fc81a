// Dimensioned arrays: zero-filled elements with one spare element after the last, and
// column-major strides (the last index has stride 1).
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <type_traits>
#include <vector>

namespace velko {

template <typename T>
class DimArray {
  // The elements are plain records, zero when made: the memory comes zeroed from calloc,
  // which for a large array costs nothing until a page is written.
  static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>);

 public:
  DimArray() = default;
  DimArray(const DimArray& other) { *this = other; }
  DimArray& operator=(const DimArray& other) {
    if (this == &other) return *this;
    strides_ = other.strides_;
    count_ = other.count_;
    Allocate(other.size_);
    if (size_ != 0) std::memcpy(elements_.get(), other.elements_.get(), size_ * sizeof(T));
    return *this;
  }
  DimArray(DimArray&&) noexcept = default;
  DimArray& operator=(DimArray&&) noexcept = default;

  // Indices 0..upperBound, plus the spare element; count = upperBound.
  static DimArray Create1D(int64_t upperBound) {
    DimArray array;
    array.count_ = upperBound;
    array.strides_ = {1};
    array.Allocate(static_cast<size_t>(upperBound < -1 ? 0 : upperBound + 2));
    return array;
  }

  // sizes: upper bound + 1 of each dimension; count = their product, plus the spare element.
  // At most `held` elements are kept, the first ones: the others read as absent (null).
  static DimArray CreateND(std::span<const int64_t> sizes, int64_t held = INT64_MAX) {
    DimArray array;
    array.strides_.assign(sizes.size(), 1);
    int64_t stride = 1;
    for (size_t k = sizes.size(); k-- > 0;) {
      array.strides_[k] = stride;
      stride *= sizes[k];
    }
    array.count_ = sizes.empty() ? 0 : sizes[0] * array.strides_[0];
    array.Allocate(static_cast<size_t>(std::clamp<int64_t>(array.count_ + 1, 0, held)));
    return array;
  }

  bool Exists() const { return size_ != 0; }
  int64_t Count() const { return count_; }
  const std::vector<int64_t>& Strides() const { return strides_; }
  size_t Size() const { return size_; }

  // Null when the offset lies outside the elements.
  T* Element(int64_t offset) {
    if (offset < 0 || static_cast<size_t>(offset) >= size_) return nullptr;
    return &elements_[static_cast<size_t>(offset)];
  }
  T* At(int64_t i) { return Element(i); }
  T* At(int64_t i0, int64_t i1) {
    if (strides_.size() != 2) return nullptr;
    return Element(i0 * strides_[0] + i1);
  }

 private:
  struct Free {
    void operator()(T* elements) const { std::free(elements); }
  };
  void Allocate(size_t size) {
    elements_.reset(size != 0 ? static_cast<T*>(std::calloc(size, sizeof(T))) : nullptr);
    size_ = elements_ != nullptr ? size : 0;
  }

  std::unique_ptr<T[], Free> elements_;
  size_t size_ = 0;
  std::vector<int64_t> strides_;
  int64_t count_ = 0;
};

}  // namespace velko
