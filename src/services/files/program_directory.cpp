#include "services/files/program_directory.h"

#include <filesystem>
#include <system_error>

#include "services/files/file_access.h"

namespace velko {
namespace {

constexpr std::string_view kScreenshotsFolder = "screenshots";
constexpr std::string_view kInstalledData = "../share/games/velko/";
constexpr std::string_view kProbeFile = "level.map";

std::string WithSeparator(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

#ifndef _WIN32
bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(files::PathFromUtf8(path), error);
}

// $VARIABLE when set to an absolute path, else $HOME/fallback.
std::string UserFolder(const ProgramDirectory::Environment& environment, const char* variable,
                       std::string_view fallback) {
  const std::optional<std::string> set = environment(variable);
  if (set && !set->empty() && set->front() == '/') return WithSeparator(*set);
  const std::optional<std::string> home = environment("HOME");
  return WithSeparator(home.value_or("")) + std::string(fallback);
}
#endif

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
  directory.data_ = directory.settings_ = directory.path_;
  directory.screenshots_ = directory.path_ + std::string(kScreenshotsFolder) + "/";
  return directory;
}

ProgramDirectory ProgramDirectory::Locate(std::string_view executablePath,
                                          const Environment& environment) {
  ProgramDirectory directory = FromExecutablePath(executablePath);
#ifdef _WIN32
  // A Windows game is unpacked wherever its player likes and keeps everything beside itself.
  (void)environment;
#else
  if (directory.path_.empty() || IsFile(directory.path_ + std::string(kProbeFile))) {
    return directory;
  }
  const std::string shared = directory.path_ + std::string(kInstalledData);
  if (!IsFile(shared + std::string(kProbeFile))) return directory;
  std::error_code error;
  const std::filesystem::path canonical =
      std::filesystem::weakly_canonical(files::PathFromUtf8(shared), error);
  const std::u8string text = canonical.u8string();
  directory.data_ = error ? shared : WithSeparator(std::string(text.begin(), text.end()));
  directory.settings_ = UserFolder(environment, "XDG_CONFIG_HOME", ".config/") + "velko/";
  directory.screenshots_ =
      UserFolder(environment, "XDG_DATA_HOME", ".local/share/") + "velko/screenshots/";
  directory.installed_ = true;
#endif
  return directory;
}

std::string ProgramDirectory::Resolve(std::string_view name) const {
  std::string local(name);
  for (char& c : local) {
    if (c == '\\') c = '/';
  }
  if (IsAbsolute(local)) return local;
  const std::string prefix = std::string(kScreenshotsFolder) + "/";
  if (local.compare(0, prefix.size(), prefix) == 0) {
    return screenshots_ + local.substr(prefix.size());
  }
  return data_ + local;
}

std::string ProgramDirectory::ResolveSettings(std::string_view name) const {
  std::string local(name);
  for (char& c : local) {
    if (c == '\\') c = '/';
  }
  if (IsAbsolute(local)) return local;
  return settings_ + local;
}

void ProgramDirectory::PrepareFolderFor(const std::string& path) const {
  if (!installed_) return;
  const std::filesystem::path folder = files::PathFromUtf8(path).parent_path();
  // Only the user's own folders are ever made, never anything beside the data.
  const std::u8string u8 = folder.u8string();
  const std::string text = WithSeparator(std::string(u8.begin(), u8.end()));
  if (text.compare(0, settings_.size(), settings_) != 0 &&
      text.compare(0, screenshots_.size(), screenshots_) != 0) {
    return;
  }
  std::error_code ignored;  // a folder that cannot be made fails the write that follows
  std::filesystem::create_directories(folder, ignored);
}

}  // namespace velko
