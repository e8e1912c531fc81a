// The game's two circuit files in memory, exactly as stored: "level.map" (grid, cells, tile
// records) and "level.bpb" (the tile picture). Parsing keeps every byte the game would skip, so
// that encoding gives the same files back.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "level/picture.h"

namespace velko::level {

using Bytes = std::vector<std::uint8_t>;

inline constexpr int kTileSide = 50;      // pixels, both ways
inline constexpr int kScreenWidth = 800;  // the view the map must at least fill
inline constexpr int kScreenHeight = 600;
// The car's centre at start: screen (300, 400), its 64 x 64 picture, no scroll.
inline constexpr int kStartX = 332;
inline constexpr int kStartY = 432;

struct Cell {
  std::int16_t tile = 0;
  std::int16_t extra = 0;
  friend bool operator==(const Cell&, const Cell&) = default;
};

struct LevelFiles {
  std::int16_t columns = 0;
  std::int16_t rows = 0;
  std::uint8_t reserved[2] = {0, 0};
  std::vector<Cell> cells;  // column c, row r at c * rows + r (none when a side is 0 or less)
  std::vector<std::int8_t> collisionTypes;  // one per tile record
  Bytes mapTrailer;                         // bytes after the last record, which the game skips

  std::int16_t pictureWidth = 0;  // as stored; the pixels are there when both are positive
  std::int16_t pictureHeight = 0;
  RgbPicture picture;
  Bytes packageTrailer;

  int CellCount() const { return columns > 0 && rows > 0 ? int{columns} * rows : 0; }
  const Cell& At(int c, int r) const { return cells[static_cast<size_t>(c) * rows + r]; }
  // Whole tiles in the picture, left to right then top to bottom.
  int PictureColumns() const { return picture.width / kTileSide; }
  int PictureTiles() const { return PictureColumns() * (picture.height / kTileSide); }
};

// Reads both files; a file shorter than what its header announces is refused (LevelError),
// naming the file.
LevelFiles ParseLevel(const Bytes& map, const Bytes& package);
Bytes EncodeLevelMap(const LevelFiles& level);
Bytes EncodeLevelPackage(const LevelFiles& level);

// The collision type's name as Tiled properties may give it, or empty for other values.
std::string CollisionName(int type);
// True for the types that block the car: solid and the four half tiles.
inline bool Blocks(int type) {
  return type >= 1 && type <= 5;
}

}  // namespace velko::level
