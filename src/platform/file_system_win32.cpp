// The game's files on Windows: the wide-character calls, so that a folder named with accents
// works.
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>

#include "platform/file_system.h"

namespace velko::files {

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

// The C library's calls take at most INT_MAX bytes at once.
constexpr std::size_t kLargestTransfer = 1u << 30;

std::int64_t ReadSome(int descriptor, void* into, std::size_t count) {
  int got = 0;
  do {
    got = ::_read(descriptor, into, static_cast<unsigned>(std::min(count, kLargestTransfer)));
  } while (got < 0 && errno == EINTR);
  return got;
}

std::int64_t WriteSome(int descriptor, const void* bytes, std::size_t count) {
  int wrote = 0;
  do {
    wrote = ::_write(descriptor, bytes, static_cast<unsigned>(std::min(count, kLargestTransfer)));
  } while (wrote < 0 && errno == EINTR);
  return wrote;
}

bool Close(int descriptor) {
  return ::_close(descriptor) == 0;
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

bool IsAbsolutePath(std::string_view path) {
  // A drive ("C:/...") or a network share ("//server/...") names its own place.
  if (path.size() >= 2 && path[1] == ':' &&
      ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
    return true;
  }
  return !path.empty() && path.front() == '/';
}

std::optional<InstalledLayout> FindInstalledLayout(const std::string&, const Environment&) {
  // A Windows game is unpacked wherever its player likes and keeps everything beside itself.
  return std::nullopt;
}

}  // namespace velko::files
