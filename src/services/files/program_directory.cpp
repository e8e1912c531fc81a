#include "services/files/program_directory.h"

namespace velko {

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
  if (!local.empty() && local.front() == '/') return local;
  return path_ + local;
}

}  // namespace velko
