#include "assetgen/tileset_files.h"

#include <string>

#include "assetgen/game_assets.h"
#include "assetgen/png_file.h"
#include "assetgen/tile_painter.h"
#include "assetgen/tile_set.h"

namespace velko::assetgen {

TilesetFiles MakeTilesetFiles() {
  const TiledCircuit circuit = TileCircuit(DesignCircuit(), kTilesPerPictureRow);
  const RgbImage picture = PaintTilePicture(circuit.tiles, kTilesPerPictureRow);
  RgbaImage rgba(picture.Width(), picture.Height());
  for (int y = 0; y < picture.Height(); ++y) {
    for (int x = 0; x < picture.Width(); ++x) {
      const Rgb c = picture.At(x, y);
      std::uint8_t* p = rgba.At(x, y);
      p[0] = c.r;
      p[1] = c.g;
      p[2] = c.b;
      p[3] = 255;  // the key green is the tileset's transparent colour, as in the game
    }
  }
  const int tiles = picture.Width() / 50 * (picture.Height() / 50);
  std::string tsx = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  tsx +=
      "<tileset version=\"1.8\" name=\"velko-tiles\" tilewidth=\"50\" tileheight=\"50\" "
      "tilecount=\"" +
      std::to_string(tiles) + "\" columns=\"" + std::to_string(kTilesPerPictureRow) + "\">\n";
  tsx += " <image source=\"" + std::string(kTilesetPicture) + "\" trans=\"00ff00\" width=\"" +
         std::to_string(picture.Width()) + "\" height=\"" + std::to_string(picture.Height()) +
         "\"/>\n";
  for (int k = 0; k < tiles && k < static_cast<int>(circuit.collisionTypes.size()); ++k) {
    tsx += " <tile id=\"" + std::to_string(k) +
           "\">\n  <properties>\n"
           "   <property name=\"collision\" type=\"int\" value=\"" +
           std::to_string(circuit.collisionTypes[static_cast<size_t>(k)]) +
           "\"/>\n  </properties>\n </tile>\n";
  }
  tsx += "</tileset>\n";
  return {Bytes(tsx.begin(), tsx.end()), EncodePngRgba(rgba)};
}

bool WriteTilesetFiles(const std::filesystem::path& directory, std::string& failedFile) {
  const TilesetFiles files = MakeTilesetFiles();
  if (!WriteBytes(directory / kTilesetPicture, files.png)) {
    failedFile = kTilesetPicture;
    return false;
  }
  if (!WriteBytes(directory / kTilesetName, files.tsx)) {
    failedFile = kTilesetName;
    return false;
  }
  return true;
}

}  // namespace velko::assetgen
