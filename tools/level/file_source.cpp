#include "level/file_source.h"

#include <fstream>

#include "level/level_error.h"

namespace velko::level {

Bytes DiskFiles::Read(const std::string& path, std::int64_t maxBytes) const {
  std::error_code error;
  const auto size = std::filesystem::file_size(path, error);
  if (error) throw LevelError(path + ": cannot read (" + error.message() + ")");
  if (size > static_cast<std::uintmax_t>(maxBytes)) {
    throw LevelError(path + ": " + std::to_string(size) + " bytes, over the " +
                     std::to_string(maxBytes) + " bytes read for such a file");
  }
  std::ifstream in(path, std::ios::binary);
  Bytes bytes(static_cast<size_t>(size));
  if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
    throw LevelError(path + ": cannot read");
  }
  return bytes;
}

Bytes MemoryFiles::Read(const std::string& path, std::int64_t maxBytes) const {
  const auto found = files_.find(path);
  if (found == files_.end()) throw LevelError(path + ": no such file");
  if (static_cast<std::int64_t>(found->second.size()) > maxBytes) {
    throw LevelError(path + ": over the " + std::to_string(maxBytes) +
                     " bytes read for such a file");
  }
  return found->second;
}

std::string Beside(const std::string& from, const std::string& relative) {
  const std::filesystem::path target(relative);
  if (target.is_absolute()) return target.lexically_normal().string();
  return (std::filesystem::path(from).parent_path() / target).lexically_normal().string();
}

}  // namespace velko::level
