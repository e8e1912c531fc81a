// The game's files on POSIX systems (Linux, and the browser's file system).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

#include "platform/file_system.h"

namespace velko::files {

namespace {

Info InfoFrom(const struct stat& status) {
  Info info;
  info.kind = S_ISDIR(status.st_mode)   ? Kind::Directory
              : S_ISREG(status.st_mode) ? Kind::File
                                        : Kind::Other;
  info.size = status.st_size;
  return info;
}

}  // namespace

Info InfoOf(const std::string& path) {
  struct stat status {};
  if (::stat(path.c_str(), &status) != 0) return {};
  return InfoFrom(status);
}

Info InfoOfOpen(int descriptor) {
  struct stat status {};
  if (::fstat(descriptor, &status) != 0) return {};
  return InfoFrom(status);
}

int OpenForReading(const std::string& path) {
  return ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
}

int OpenForWriting(const std::string& path) {
  return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
}

std::int64_t ReadSome(int descriptor, void* into, std::size_t count) {
  ssize_t got = 0;
  do {
    got = ::read(descriptor, into, count);
  } while (got < 0 && errno == EINTR);
  return got;
}

std::int64_t WriteSome(int descriptor, const void* bytes, std::size_t count) {
  ssize_t wrote = 0;
  do {
    wrote = ::write(descriptor, bytes, count);
  } while (wrote < 0 && errno == EINTR);
  return wrote;
}

bool Close(int descriptor) {
  return ::close(descriptor) == 0;
}

bool FlushToDisk(int descriptor) {
  return ::fsync(descriptor) == 0;
}

bool IsWritable(const std::string& path) {
  return ::access(path.c_str(), W_OK) == 0;
}

bool Remove(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

bool IsAbsolutePath(std::string_view path) {
  return !path.empty() && path.front() == '/';
}

namespace {

constexpr std::string_view kInstalledData = "../share/games/velko/";
constexpr std::string_view kProbeFile = "level.map";

std::string WithSeparator(std::string path) {
  if (!path.empty() && path.back() != '/') path += '/';
  return path;
}

bool IsFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(PathFromUtf8(path), error);
}

// $VARIABLE when set to an absolute path, else $HOME/fallback.
std::string UserFolder(const Environment& environment, const char* variable,
                       std::string_view fallback) {
  const std::optional<std::string> set = environment(variable);
  if (set && !set->empty() && set->front() == '/') return WithSeparator(*set);
  const std::optional<std::string> home = environment("HOME");
  return WithSeparator(home.value_or("")) + std::string(fallback);
}

}  // namespace

std::optional<InstalledLayout> FindInstalledLayout(const std::string& programFolder,
                                                   const Environment& environment) {
  if (programFolder.empty() || IsFile(programFolder + std::string(kProbeFile))) return std::nullopt;
  const std::string shared = programFolder + std::string(kInstalledData);
  if (!IsFile(shared + std::string(kProbeFile))) return std::nullopt;
  InstalledLayout layout;
  std::error_code error;
  const std::filesystem::path canonical =
      std::filesystem::weakly_canonical(PathFromUtf8(shared), error);
  const std::u8string text = canonical.u8string();
  layout.data = error ? shared : WithSeparator(std::string(text.begin(), text.end()));
  layout.settings = UserFolder(environment, "XDG_CONFIG_HOME", ".config/") + "velko/";
  layout.screenshots =
      UserFolder(environment, "XDG_DATA_HOME", ".local/share/") + "velko/screenshots/";
  return layout;
}

}  // namespace velko::files
