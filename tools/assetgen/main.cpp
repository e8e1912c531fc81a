// velko-assetgen DIR: writes the game's data files (level map, tile picture, car picture and
// package, crash sound) into DIR, where the game looks for them beside itself.
#include <cstdio>
#include <string>

#include "assetgen/game_assets.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: velko-assetgen DIR\n");
    return 2;
  }
  std::string failedFile;
  if (!velko::assetgen::WriteGameAssets(argv[1], failedFile)) {
    std::fprintf(stderr, "velko-assetgen: cannot write %s in %s\n", failedFile.c_str(), argv[1]);
    return 1;
  }
  return 0;
}
