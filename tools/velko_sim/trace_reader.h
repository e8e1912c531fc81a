// A trace read back: its fields found by the names in its header, so that a column added later
// moves nothing for a reader.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace velko::sim {

class Trace {
 public:
  // The text TraceWriter writes: the header, then one line per frame.
  explicit Trace(std::string_view text);

  const std::string& Header() const { return header_; }
  // Lines after the header; frame k (from 1) is the k-th of them.
  std::size_t Frames() const { return rows_.size(); }
  bool Has(std::string_view name) const;
  // Field `name` of frame `frame` as written; "?" when there is none.
  std::string Field(std::size_t frame, std::string_view name) const;
  // The same field as a number; NaN when there is none or it is not a number.
  double Number(std::size_t frame, std::string_view name) const;

 private:
  std::string header_;
  std::vector<std::string> names_;
  std::vector<std::vector<std::string>> rows_;
};

}  // namespace velko::sim
