// The one error the level tool reports: a message naming the file and, where there is one, the
// line, layer or cell. The command line prints it and exits 2.
#pragma once

#include <stdexcept>
#include <string>

namespace velko::level {

class LevelError : public std::runtime_error {
 public:
  explicit LevelError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace velko::level
