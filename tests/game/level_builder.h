// Levels built in memory for the frame-step tests.
#pragma once

#include <array>
#include <vector>

#include "data/level_map.h"

namespace velko::testing {

// A columns x rows level whose cells all name `fill`, with one record per collision type.
inline LevelData MakeLevel(int32_t columns, int32_t rows, int16_t fill,
                           const std::vector<int8_t>& types) {
  LevelData level;
  level.grid.columns = columns;
  level.grid.rows = rows;
  level.grid.storedColumns = columns + 1;
  level.grid.storedRows = rows + 1;
  const std::array<int64_t, 2> sizes{columns + 1, rows + 1};
  level.grid.cells = DimArray<TileCell>::CreateND(sizes);
  for (int32_t c = 0; c < columns; ++c) {
    for (int32_t r = 0; r < rows; ++r) level.grid.cells.At(c, r)->tile = fill;
  }
  level.tiles = DimArray<TileDef>::Create1D(static_cast<int64_t>(types.size()) - 1);
  for (size_t t = 0; t < types.size(); ++t) {
    level.tiles.At(static_cast<int64_t>(t))->collisionType = types[t];
    level.tiles.At(static_cast<int64_t>(t))->spriteNumber = static_cast<int16_t>(100 + t);
  }
  return level;
}

inline void SetTile(LevelData& level, int32_t column, int32_t row, int16_t tile) {
  level.grid.cells.At(column, row)->tile = tile;
}

}  // namespace velko::testing
