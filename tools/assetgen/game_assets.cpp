#include "assetgen/game_assets.h"

#include <utility>
#include <vector>

#include "assetgen/car_painter.h"
#include "assetgen/circuit_design.h"
#include "assetgen/crash_sound.h"
#include "assetgen/tile_painter.h"
#include "assetgen/tile_set.h"

namespace velko::assetgen {
namespace {

// Each file by the name the game loads it under.
constexpr std::pair<const char*, Bytes GameAssets::*> kFiles[] = {
    {"level.map", &GameAssets::levelMap}, {"level.bpb", &GameAssets::levelPackage},
    {"car.bmp", &GameAssets::carBmp},     {"car.bpb", &GameAssets::carPackage},
    {"choc.wav", &GameAssets::crashWave},
};

}  // namespace

GameAssets MakeGameAssets() {
  GameAssets assets;
  const TiledCircuit circuit = TileCircuit(DesignCircuit(), kTilesPerPictureRow);
  std::vector<MapCell> cells;
  cells.reserve(circuit.cellTiles.size());
  for (std::int16_t tile : circuit.cellTiles) cells.push_back({tile, 0});
  assets.levelMap = EncodeLevelMap(circuit.columns, circuit.rows, cells, circuit.collisionTypes);
  assets.levelPackage = EncodePackage(PaintTilePicture(circuit.tiles, kTilesPerPictureRow));

  const RgbImage car = PaintCar();
  assets.carBmp = EncodeBmp24(car);
  // The package keeps pure green on the background: read in the alternative colours it turns
  // into (0, 127, 0), the car's key colour in that mode.
  assets.carPackage = EncodePackage(car);

  assets.crashWave = EncodeWav16Mono(SynthesiseCrash(), kCrashSampleRate);
  return assets;
}

std::vector<std::string> GameAssetNames() {
  std::vector<std::string> names;
  for (const auto& [name, member] : kFiles) names.emplace_back(name);
  return names;
}

bool WriteGameAssets(const std::filesystem::path& directory, std::string& failedFile) {
  const GameAssets assets = MakeGameAssets();
  for (const auto& [name, member] : kFiles) {
    if (!WriteBytes(directory / name, assets.*member)) {
      failedFile = name;
      return false;
    }
  }
  return true;
}

}  // namespace velko::assetgen
