#include "services/files/file_access.h"

#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <system_error>

namespace velko::files {

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

#ifdef _WIN32

namespace {

Info InfoFrom(const struct _stat64& status) {
  Info info;
  info.kind = (status.st_mode & _S_IFMT) == _S_IFDIR   ? Kind::Directory
              : (status.st_mode & _S_IFMT) == _S_IFREG ? Kind::File
                                                       : Kind::Other;
  info.size = status.st_size;
  return info;
}

}  // namespace

Info InfoOf(const std::string& path) {
  struct _stat64 status {};
  if (::_wstat64(PathFromUtf8(path).c_str(), &status) != 0) return {};
  return InfoFrom(status);
}

Info InfoOfOpen(int descriptor) {
  struct _stat64 status {};
  if (::_fstat64(descriptor, &status) != 0) return {};
  return InfoFrom(status);
}

int OpenForReading(const std::string& path) {
  return ::_wopen(PathFromUtf8(path).c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
}

int OpenForWriting(const std::string& path) {
  return ::_wopen(PathFromUtf8(path).c_str(),
                  _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY | _O_NOINHERIT, _S_IREAD | _S_IWRITE);
}

bool FlushToDisk(int descriptor) {
  return ::_commit(descriptor) == 0;
}

bool IsWritable(const std::string& path) {
  constexpr int kWriteAccess = 2;
  return ::_waccess(PathFromUtf8(path).c_str(), kWriteAccess) == 0;
}

bool Remove(const std::string& path) {
  return ::_wremove(PathFromUtf8(path).c_str()) == 0;
}

#else

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

bool FlushToDisk(int descriptor) {
  return ::fsync(descriptor) == 0;
}

bool IsWritable(const std::string& path) {
  return ::access(path.c_str(), W_OK) == 0;
}

bool Remove(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

#endif

bool Replace(const std::string& from, const std::string& to) {
  // std::filesystem replaces an existing target on Windows too, where the C library's rename
  // refuses to.
  std::error_code error;
  std::filesystem::rename(PathFromUtf8(from), PathFromUtf8(to), error);
  return !error;
}

}  // namespace velko::files
