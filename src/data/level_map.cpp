#include "data/level_map.h"

namespace velko {

// Placeholder until the level reader is built: an empty map.
bool LevelMapRead(Operations&, LevelData& level, std::string&) {
  level = LevelData{};
  level.grid.cells = DimArray<TileCell>::Create1D(0);
  level.tiles = DimArray<TileDef>::Create1D(0);
  return true;
}

void TilesCut(Operations& operations, LevelData&, int32_t&) {
  operations.ScreenSelectTarget(-1);
  operations.SpriteFree(0);
}

}  // namespace velko
