// The system calls behind the game's files, by UTF-8 path: on Windows they reach the
// wide-character calls, so a program folder named with accents works there too. Descriptors
// are read, written and closed through this header too. Each system has its own source
// (file_system_posix.cpp, file_system_win32.cpp), chosen by the build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velko::files {

// A UTF-8 path as the system's own path (UTF-16 on Windows).
std::filesystem::path PathFromUtf8(std::string_view utf8);

enum class Kind { Missing, File, Directory, Other };

struct Info {
  Kind kind = Kind::Missing;
  std::int64_t size = 0;
};

Info InfoOf(const std::string& path);
Info InfoOfOpen(int descriptor);
// In binary mode, not inherited by child processes; -1 when refused.
int OpenForReading(const std::string& path);
int OpenForWriting(const std::string& path);  // created or emptied
// Bytes read (fewer at the end of the file, 0 there), or -1 on an error; an interrupted read
// is taken up again.
std::int64_t ReadSome(int descriptor, void* into, std::size_t count);
// Bytes written (maybe fewer than asked), or -1 on an error; an interrupted write is taken up
// again.
std::int64_t WriteSome(int descriptor, const void* bytes, std::size_t count);
// Writes every byte, taking up partial writes; false on an error.
bool WriteAll(int descriptor, const void* bytes, std::size_t count);
bool Close(int descriptor);
bool FlushToDisk(int descriptor);
bool IsWritable(const std::string& path);
// Moves a file onto another name, replacing a file that has it.
bool Replace(const std::string& from, const std::string& to);
bool Remove(const std::string& path);

// True for a path that names its own place (on Windows also "C:/...").
bool IsAbsolutePath(std::string_view path);

// Reads one environment variable; nullopt when it is not set.
using Environment = std::function<std::optional<std::string>(const char* name)>;

// Where an installed game keeps its files, each folder with its trailing separator.
struct InstalledLayout {
  std::string data;
  std::string settings;
  std::string screenshots;
};
// The installed layout for a program in `programFolder` (with its trailing separator) whose
// data is not beside it but in ../share/games/velko; nullopt where the game keeps everything
// beside itself.
std::optional<InstalledLayout> FindInstalledLayout(const std::string& programFolder,
                                                   const Environment& environment);

}  // namespace velko::files
