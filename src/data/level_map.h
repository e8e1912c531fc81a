// The level: a grid of 50 x 50 cells naming tiles, and the tile table giving each tile's
// sprite and collision type.
#pragma once

#include <cstdint>
#include <string>

#include "services/memory/dim_array.h"
#include "services/operations.h"

namespace velko {

struct TileCell {
  int16_t tile = 0;
  int16_t extra = 0;
};

struct TileDef {
  int16_t spriteNumber = 0;
  int8_t collisionType = 0;
};

struct TileGrid {
  int32_t columns = 0;
  int32_t rows = 0;
  DimArray<TileCell> cells;  // (columns + 1) x (rows + 1), column-major
};

struct LevelData {
  TileGrid grid;
  DimArray<TileDef> tiles;  // N + 1 records
};

// Reads "level.map" through data file 1. False only when the file announces a grid too large
// to hold; `error` then names the file for the player.
bool LevelMapRead(Operations& operations, LevelData& level, std::string& error);

// Cuts sprite 0 into 50 x 50 tile sprites from `nextTileSprite` on, stores their numbers in the
// tile table and frees sprite 0.
void TilesCut(Operations& operations, LevelData& level, int32_t& nextTileSprite);

}  // namespace velko
