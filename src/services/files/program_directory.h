// The program's own directory, against which every file name of the game is resolved.
#pragma once

#include <string>
#include <string_view>

namespace velko {

class ProgramDirectory {
 public:
  ProgramDirectory() = default;
  // From the program's full path: everything up to and including its last separator.
  static ProgramDirectory FromExecutablePath(std::string_view executablePath);

  // The directory, with its trailing separator; empty when the path had none.
  const std::string& Path() const { return path_; }
  // A game file name ("screenshots\screen000.bmp") as a path of this platform, relative names
  // taken from the program's directory.
  std::string Resolve(std::string_view name) const;

 private:
  std::string path_;
};

}  // namespace velko
