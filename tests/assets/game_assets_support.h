// The generated game files, made once for all the asset tests and read back.
#pragma once

#include "assetgen/game_assets.h"
#include "assets/asset_reader_support.h"

namespace velko::testing {

struct ReadGameAssets {
  assetgen::GameAssets bytes;
  ReadMap map;
  ReadPicture tiles;
  ReadPicture carBmp;
  ReadPicture carPackage;
  ReadPicture carPackageAlternative;
  ReadWave crash;
  bool complete = false;  // every file parsed
};

const ReadGameAssets& GeneratedAssets();

}  // namespace velko::testing
