#include "assetgen/game_assets.h"

#include <utility>
#include <vector>

#include "assetgen/car_painter.h"
#include "assetgen/circuit_design.h"
#include "assetgen/crash_sound.h"
#include "assetgen/tile_painter.h"
#include "assetgen/tile_set.h"

namespace velko::assetgen {

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

bool WriteGameAssets(const std::filesystem::path& directory, std::string& failedFile) {
  const GameAssets assets = MakeGameAssets();
  const std::pair<const char*, const Bytes*> files[] = {{"level.map", &assets.levelMap},
                                                        {"level.bpb", &assets.levelPackage},
                                                        {"car.bmp", &assets.carBmp},
                                                        {"car.bpb", &assets.carPackage},
                                                        {"choc.wav", &assets.crashWave}};
  for (const auto& [name, bytes] : files) {
    if (!WriteBytes(directory / name, *bytes)) {
      failedFile = name;
      return false;
    }
  }
  return true;
}

}  // namespace velko::assetgen
