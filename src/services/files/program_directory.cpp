#include "services/files/program_directory.h"

namespace velko {
namespace {

bool IsAbsolute(std::string_view path) {
#ifdef _WIN32
  // A drive ("C:/...") or a network share ("//server/...") names its own place.
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    return true;
  }
#endif
  return !path.empty() && path.front() == '/';
}

}  // namespace

ProgramDirectory ProgramDirectory::FromExecutablePath(std::string_view executablePath) {
  ProgramDirectory directory;
  const size_t last = executablePath.find_last_of("/\\");
  if (last != std::string_view::npos) directory.path_ = executablePath.substr(0, last + 1);
  return directory;
}

std::string ProgramDirectory::Resolve(std::string_view name) const {
  std::string local(name);
  for (char& c : local) {
    if (c == '\\') c = '/';
  }
  if (IsAbsolute(local)) return local;
  return path_ + local;
}

}  // namespace velko
