#include "trace_reader.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace velko::sim {
namespace {

std::vector<std::string> Split(std::string_view line) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (start <= line.size()) {
    const size_t comma = std::min(line.find(',', start), line.size());
    fields.emplace_back(line.substr(start, comma - start));
    start = comma + 1;
  }
  return fields;
}

}  // namespace

Trace::Trace(std::string_view text) {
  bool first = true;
  while (!text.empty()) {
    const size_t end = std::min(text.find('\n'), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    if (first) {
      header_ = line;
      names_ = Split(line);
      first = false;
    } else {
      rows_.push_back(Split(line));
    }
  }
}

bool Trace::Has(std::string_view name) const {
  return std::find(names_.begin(), names_.end(), name) != names_.end();
}

std::string Trace::Field(std::size_t frame, std::string_view name) const {
  const auto column = std::find(names_.begin(), names_.end(), name);
  if (frame == 0 || frame > rows_.size() || column == names_.end()) return "?";
  const auto index = static_cast<std::size_t>(column - names_.begin());
  const std::vector<std::string>& row = rows_[frame - 1];
  return index < row.size() ? row[index] : "?";
}

double Trace::Number(std::size_t frame, std::string_view name) const {
  const std::string text = Field(frame, name);
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  return text.empty() || *end != '\0' ? std::nan("") : value;
}

}  // namespace velko::sim
