// The level: a grid of 50 x 50 cells naming tiles, and the tile table giving each tile's
// sprite and collision type.
#pragma once

#include <cstdint>
#include <string>

#include "services/memory/dim_array.h"
#include "services/operations.h"

namespace velko {

inline constexpr int32_t kTileSize = 50;  // pixels, both ways

// The largest grid a map may announce, spare column and row included (16 MiB of cells).
inline constexpr int64_t kMaxGridCells = 4'194'304;

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
  // Stored cells: columns + 1 by rows + 1 (one spare column and row of tile 0), column-major;
  // a width or height of 0 or less stores one column or row.
  int32_t storedColumns = 0;
  int32_t storedRows = 0;
  // Only the columns the file reaches are held; look cells up with CellAt.
  DimArray<TileCell> cells;
  // Of the cells the file fills (column by column), those from this one on were read past
  // the file's end, where every read repeats the last value: each holds `staleCell`, which
  // is kept once instead of in every cell.
  int64_t cellsFromFile = INT64_MAX;
  TileCell staleCell;
};

struct LevelData {
  TileGrid grid;
  DimArray<TileDef> tiles;  // records 0 ... N, N = tiles.Count()
};

// Reads the level map ("level.map", or the circuit's own) through data file 1. False only when
// the file announces a grid too large to hold; `error` then names the file for the player.
bool LevelMapRead(Operations& operations, LevelData& level, std::string& error,
                  const std::string& fileName = "level.map");

// Cuts sprite 0 into 50 x 50 tile sprites from `nextTileSprite` on, stores their numbers in the
// tile table and frees sprite 0.
void TilesCut(Operations& operations, LevelData& level, int32_t& nextTileSprite);

// The cell at (column, row), or null outside the stored grid.
const TileCell* CellAt(const TileGrid& grid, int64_t column, int64_t row);

// The record of tile `tile`, or null when the table has none of that number.
const TileDef* TileDefAt(const LevelData& level, int64_t tile);

// The collision type under (column, row): free ground (0) outside the stored grid and for a
// tile the table does not hold.
int8_t CollisionTypeAt(const LevelData& level, int64_t column, int64_t row);

}  // namespace velko
