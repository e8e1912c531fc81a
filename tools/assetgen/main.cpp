// velko-assetgen DIR: writes the game's data files (level map, tile picture, car picture and
// package, crash sound) into DIR, where the game looks for them beside itself.
// velko-assetgen --icons DIR: writes the car as the desktop's icon, DIR/NxN/apps/velko.png
// at each size of a hicolor theme.
// velko-assetgen --tileset DIR: writes the tiles as a Tiled tileset, DIR/velko-tiles.tsx over
// DIR/velko-tiles.png, for drawing circuits.
// velko-assetgen --list: prints the names of the data files, one a line, for scripts.
#include <cstdio>
#include <string>
#include <string_view>

#include "assetgen/car_icon.h"
#include "assetgen/game_assets.h"
#include "assetgen/tileset_files.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::string_view(argv[1]) == "--list") {
    for (const std::string& name : velko::assetgen::GameAssetNames())
      std::printf("%s\n", name.c_str());
    return 0;
  }
  const std::string_view option = argc == 3 ? argv[1] : "";
  const bool icons = option == "--icons";
  const bool tileset = option == "--tileset";
  if (argc != 2 && !icons && !tileset) {
    std::fprintf(stderr,
                 "usage: velko-assetgen DIR\n       velko-assetgen --icons DIR\n"
                 "       velko-assetgen --tileset DIR\n       velko-assetgen --list\n");
    return 2;
  }
  const char* directory = argv[argc - 1];
  std::string failedFile;
  const bool written = icons     ? velko::assetgen::WriteCarIcons(directory, failedFile)
                       : tileset ? velko::assetgen::WriteTilesetFiles(directory, failedFile)
                                 : velko::assetgen::WriteGameAssets(directory, failedFile);
  if (!written) {
    std::fprintf(stderr, "velko-assetgen: cannot write %s in %s\n", failedFile.c_str(), directory);
    return 1;
  }
  return 0;
}
