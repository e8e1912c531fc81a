#include "platform/platform.h"

#include <cstdio>

namespace velko::platform {

void Platform::ReportProblem(std::string_view line) {
  std::fprintf(stderr, "velko: %.*s\n", static_cast<int>(line.size()), line.data());
}

}  // namespace velko::platform
