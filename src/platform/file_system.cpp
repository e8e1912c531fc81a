#include "platform/file_system.h"

#include <system_error>

namespace velko::files {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool Replace(const std::string& from, const std::string& to) {
  // std::filesystem replaces an existing target on Windows too, where the C library's rename
  // refuses to.
  std::error_code error;
  std::filesystem::rename(PathFromUtf8(from), PathFromUtf8(to), error);
  return !error;
}

}  // namespace velko::files
