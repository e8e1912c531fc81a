#include "services/files/program_directory.h"

#include <filesystem>
#include <system_error>

#include "platform/file_system.h"

namespace velko {
namespace {

constexpr std::string_view kScreenshotsFolder = "screenshots";

std::string WithSeparator(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
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
  if (std::optional<files::InstalledLayout> layout =
          files::FindInstalledLayout(directory.path_, environment)) {
    directory.data_ = layout->data;
    directory.settings_ = layout->settings;
    directory.screenshots_ = layout->screenshots;
    directory.installed_ = true;
  }
  return directory;
}

std::string ProgramDirectory::Resolve(std::string_view name) const {
  std::string local(name);
  for (char& c : local) {
    if (c == '\\') c = '/';
  }
  if (files::IsAbsolutePath(local)) return local;
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
  if (files::IsAbsolutePath(local)) return local;
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
