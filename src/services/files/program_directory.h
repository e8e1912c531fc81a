// Where the game's files are: its data, its settings and its screenshots. Beside the program
// (the build folder, a zip unpacked anywhere) all three are the program's own directory. An
// installed game (program in .../games, data in ../share/games/velko) keeps its settings in
// $XDG_CONFIG_HOME/velko and its screenshots in $XDG_DATA_HOME/velko/screenshots, creating
// them as needed, and writes nothing beside its data.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace velko {

class ProgramDirectory {
 public:
  // Reads one environment variable; nullopt when it is not set.
  using Environment = std::function<std::optional<std::string>(const char* name)>;

  ProgramDirectory() = default;
  // Everything beside the program: the directory of its full path, up to and including the
  // last separator.
  static ProgramDirectory FromExecutablePath(std::string_view executablePath);
  // Beside the program when its data is there, else the installed layout when the data is in
  // ../share/games/velko.
  static ProgramDirectory Locate(std::string_view executablePath, const Environment& environment);

  // The program's directory, with its trailing separator; empty when the path had none.
  const std::string& Path() const { return path_; }
  bool Installed() const { return installed_; }

  // A game file name ("level.map", "screenshots\screen000.bmp") as a path of this platform:
  // screenshots in the screenshots folder, everything else in the data folder.
  std::string Resolve(std::string_view name) const;
  // A settings file name ("screen.ini") as a path of this platform.
  std::string ResolveSettings(std::string_view name) const;
  // The installed layout makes the folder a file is about to be written in; beside the
  // program nothing is made (a missing screenshots folder means no screenshots).
  void PrepareFolderFor(const std::string& path) const;

 private:
  std::string path_;
  std::string data_;
  std::string settings_;
  std::string screenshots_;
  bool installed_ = false;
};

}  // namespace velko
