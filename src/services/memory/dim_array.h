// Dimensioned arrays: zero-filled elements with one spare element after the last, and
// column-major strides (the last index has stride 1).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace velko {

template <typename T>
class DimArray {
 public:
  DimArray() = default;

  // Indices 0..upperBound, plus the spare element; count = upperBound.
  static DimArray Create1D(int64_t upperBound) {
    DimArray array;
    array.count_ = upperBound;
    array.strides_ = {1};
    array.elements_.resize(static_cast<size_t>(upperBound < -1 ? 0 : upperBound + 2));
    return array;
  }

  // sizes: upper bound + 1 of each dimension; count = their product, plus the spare element.
  static DimArray CreateND(std::span<const int64_t> sizes) {
    DimArray array;
    array.strides_.assign(sizes.size(), 1);
    int64_t stride = 1;
    for (size_t k = sizes.size(); k-- > 0;) {
      array.strides_[k] = stride;
      stride *= sizes[k];
    }
    array.count_ = sizes.empty() ? 0 : sizes[0] * array.strides_[0];
    array.elements_.resize(static_cast<size_t>(array.count_ < 0 ? 0 : array.count_ + 1));
    return array;
  }

  bool Exists() const { return !elements_.empty(); }
  int64_t Count() const { return count_; }
  const std::vector<int64_t>& Strides() const { return strides_; }
  size_t Size() const { return elements_.size(); }

  // Null when the offset lies outside the elements.
  T* Element(int64_t offset) {
    if (offset < 0 || static_cast<size_t>(offset) >= elements_.size()) return nullptr;
    return &elements_[static_cast<size_t>(offset)];
  }
  T* At(int64_t i) { return Element(i); }
  T* At(int64_t i0, int64_t i1) {
    if (strides_.size() != 2) return nullptr;
    return Element(i0 * strides_[0] + i1);
  }

 private:
  std::vector<T> elements_;
  std::vector<int64_t> strides_;
  int64_t count_ = 0;
};

}  // namespace velko
