// A table of numbered objects of one kind, indexed directly by the caller's number. It grows
// on demand by the kind's step and never shrinks; records never created read as zero.
#pragma once

#include <cstddef>
#include <cstdint>
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

  // Run before storing object `number`: covers it plus the growth step.
  void Grow(int32_t number) {
    if (number < capacity_) return;
    capacity_ = number + growthStep_;
    records_.resize(static_cast<size_t>(capacity_) + static_cast<size_t>(extraRecords_));
  }

  // The record of `number`, or null outside the table (never read past it).
  Record* Find(int32_t number) {
    if (number < 0 || static_cast<size_t>(number) >= records_.size()) return nullptr;
    return &records_[static_cast<size_t>(number)];
  }
  const Record* Find(int32_t number) const { return const_cast<ObjectTable*>(this)->Find(number); }

  // Grows the table if needed and gives the record to store into.
  Record& Make(int32_t number) {
    Grow(number);
    return records_[static_cast<size_t>(number)];
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
