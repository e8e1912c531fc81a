// A table of numbered objects of one kind, indexed directly by the caller's number. It grows
// on demand by the kind's step and never shrinks; records never created read as zero.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <stdexcept>
#include <vector>

namespace velko {

template <typename Record>
class ObjectTable {
 public:
  // extraRecords: records allocated beyond the capacity (the table's spare room).
  ObjectTable(int32_t initialCapacity, int32_t growthStep, int32_t extraRecords)
      : capacity_(initialCapacity),
        growthStep_(growthStep),
        extraRecords_(extraRecords),
        records_(static_cast<size_t>(initialCapacity + extraRecords)) {}

  // Memory a table may take: numbers are the caller's choice, and one near 2^31 must fail
  // its creation rather than ask for gigabytes.
  static constexpr int64_t kMaxTableBytes = int64_t{64} << 20;

  // Run before storing object `number`: covers it plus the growth step. False, with the table
  // unchanged, when that much room cannot be had.
  bool Grow(int32_t number) {
    if (number < 0) return false;
    if (number < capacity_) return true;
    const int64_t capacity =
        std::min<int64_t>(int64_t{number} + growthStep_, std::numeric_limits<int32_t>::max());
    const int64_t records = capacity + extraRecords_;
    if (records * static_cast<int64_t>(sizeof(Record)) > kMaxTableBytes) return false;
    try {
      records_.resize(static_cast<size_t>(records));
    } catch (const std::bad_alloc&) {
      return false;
    } catch (const std::length_error&) {
      return false;
    }
    capacity_ = static_cast<int32_t>(capacity);
    return true;
  }

  // The record of `number`, or null outside the table (never read past it).
  Record* Find(int32_t number) {
    if (number < 0 || static_cast<size_t>(number) >= records_.size()) return nullptr;
    return &records_[static_cast<size_t>(number)];
  }
  const Record* Find(int32_t number) const { return const_cast<ObjectTable*>(this)->Find(number); }

  // Grows the table if needed and gives the record to store into; null when it cannot grow.
  Record* Make(int32_t number) {
    if (!Grow(number)) return nullptr;
    return &records_[static_cast<size_t>(number)];
  }

  int32_t Capacity() const { return capacity_; }
  size_t RecordCount() const { return records_.size(); }

 private:
  int32_t capacity_;
  int32_t growthStep_;
  int32_t extraRecords_;
  std::vector<Record> records_;
};

}  // namespace velko
