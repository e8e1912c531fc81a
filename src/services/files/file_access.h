// The system calls behind the game's files, by UTF-8 path: on Windows they reach the
// wide-character calls, so a program folder named with accents works there too. Descriptors
// are read, written and closed with the usual read, write and close.
#pragma once

#include <cstdint>
#include <filesystem>
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
bool FlushToDisk(int descriptor);
bool IsWritable(const std::string& path);
// Moves a file onto another name, replacing a file that has it.
bool Replace(const std::string& from, const std::string& to);
bool Remove(const std::string& path);

}  // namespace velko::files
