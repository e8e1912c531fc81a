// A Tiled map as the importer needs it, read from TMX (XML) or Tiled's JSON: its grid, its
// visible tile layers flattened out of their groups, its tilesets and its point objects.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "level/file_source.h"
#include "level/picture.h"

namespace velko::level {

// How much one import may take: the game's own limits by default, smaller for the fuzzer.
struct ImportLimits {
  std::int64_t maxSide = 32767;               // columns and rows (16-bit in level.map)
  std::int64_t maxGridCells = 4'194'304;      // (columns + 1) x (rows + 1), as the game holds them
  std::int64_t maxDecodedCells = 33'554'432;  // layer cells of all layers and chunks together
  std::int64_t maxPicturePixels = std::int64_t{1} << 24;  // one picture (the game's buffers)
  std::int64_t maxPictureSide = 32767;
  std::int64_t maxDecodedPixels = std::int64_t{1} << 26;  // all pictures read together
  std::int64_t maxFileBytes = std::int64_t{256} << 20;
  std::int64_t maxTiles = 32767;  // tile numbers are 16-bit
};

// Counts what an import has decoded so far against its limits.
struct Budget {
  ImportLimits limits;
  std::int64_t cells = 0;
  std::int64_t pixels = 0;
  void TakeCells(std::int64_t count, const std::string& where);
  void TakePixels(std::int64_t count, const std::string& where);
};

struct Property {
  std::string type;  // string, int, bool, float, ...; Tiled's default is string
  std::string value;
};
using Properties = std::map<std::string, Property>;

struct TiledTile {
  Properties properties;
  std::string image;  // image-collection tilesets: the tile's own picture (path resolved)
  int imageWidth = 0;
  int imageHeight = 0;
};

struct TiledTileset {
  std::string where;  // the file that holds it (the map for embedded ones), for messages
  std::string name;
  std::uint32_t firstGid = 1;
  int tileWidth = 0;
  int tileHeight = 0;
  int margin = 0;
  int spacing = 0;
  int columns = 0;
  int tileCount = 0;
  std::string image;  // resolved path; empty for an image collection
  int imageWidth = 0;
  int imageHeight = 0;
  std::optional<Rgb> trans;
  std::map<std::int64_t, TiledTile> tiles;
  Properties properties;
};

// A block of gids, row by row; a finite layer is one chunk at (0, 0).
struct Chunk {
  std::int64_t x = 0;
  std::int64_t y = 0;
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> gids;
};

struct TiledLayer {
  std::string name;
  double opacity = 1.0;  // with its groups' opacities
  std::vector<Chunk> chunks;
};

struct TiledObject {
  std::string name;
  double x = 0;
  double y = 0;
  bool point = false;
};

struct TiledMap {
  std::string file;
  std::string orientation;
  int tileWidth = 0;
  int tileHeight = 0;
  std::int64_t width = 0;
  std::int64_t height = 0;
  bool infinite = false;
  std::vector<TiledLayer> layers;  // visible tile layers, bottom first
  int hiddenLayers = 0;
  std::vector<TiledTileset> tilesets;  // in firstgid order
  std::vector<TiledObject> objects;
  Properties properties;
};

inline constexpr std::uint32_t kFlipH = 0x80000000u;
inline constexpr std::uint32_t kFlipV = 0x40000000u;
inline constexpr std::uint32_t kFlipD = 0x20000000u;
inline constexpr std::uint32_t kRotateHex = 0x10000000u;
inline constexpr std::uint32_t kGidFlags = kFlipH | kFlipV | kFlipD | kRotateHex;

// Reads a .tmx, or a .tmj / .json map, with its external tilesets; LevelError names the file
// and the line, layer or cell at fault.
TiledMap ReadTiledMap(const FileSource& files, const std::string& path, Budget& budget);

}  // namespace velko::level
