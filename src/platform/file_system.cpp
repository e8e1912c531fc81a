#include "platform/file_system.h"

#include <system_error>

namespace velko::files {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

bool WriteAll(int descriptor, const void* bytes, std::size_t count) {
  const auto* at = static_cast<const char*>(bytes);
  while (count > 0) {
    const std::int64_t wrote = WriteSome(descriptor, at, count);
    if (wrote <= 0) return false;
    at += wrote;
    count -= static_cast<std::size_t>(wrote);
  }
  return true;
}

bool Replace(const std::string& from, const std::string& to) {
  // std::filesystem replaces an existing target on Windows too, where the C library's rename
  // refuses to.
  std::error_code error;
  std::filesystem::rename(PathFromUtf8(from), PathFromUtf8(to), error);
  return !error;
}

}  // namespace velko::files
