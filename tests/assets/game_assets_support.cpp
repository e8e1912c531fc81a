#include "assets/game_assets_support.h"

namespace velko::testing {

const ReadGameAssets& GeneratedAssets() {
  static const ReadGameAssets assets = [] {
    ReadGameAssets a;
    a.bytes = assetgen::MakeGameAssets();
    const auto map = ReadLevelMap(a.bytes.levelMap);
    const auto tiles = ReadPackage(a.bytes.levelPackage);
    const auto carBmp = ReadBmp24(a.bytes.carBmp);
    const auto carPackage = ReadPackage(a.bytes.carPackage);
    const auto carAlternative = ReadPackage(a.bytes.carPackage, true);
    const auto crash = ReadCanonicalWave(a.bytes.crashWave);
    a.complete = map && tiles && carBmp && carPackage && carAlternative && crash;
    if (a.complete) {
      a.map = *map;
      a.tiles = *tiles;
      a.carBmp = *carBmp;
      a.carPackage = *carPackage;
      a.carPackageAlternative = *carAlternative;
      a.crash = *crash;
    }
    return a;
  }();
  return assets;
}

}  // namespace velko::testing
