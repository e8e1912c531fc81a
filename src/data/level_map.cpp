#include "data/level_map.h"

#include <algorithm>
#include <array>

namespace velko {
namespace {

constexpr int32_t kMapFile = 1;
constexpr int32_t kTilePicture = 0;
constexpr int64_t kHeaderBytes = 6;
constexpr int64_t kCellBytes = 4;

}  // namespace

bool LevelMapRead(Operations& ops, LevelData& level, std::string& error,
                  const std::string& fileName) {
  // The file's size tells how many cells it really holds (-1 when it is missing).
  const int64_t fileSize = ops.DataFileSize(fileName);
  // The open is not tested: a missing map reads as a map of 0 x 0.
  ops.DataFileOpen(kMapFile, fileName);
  const int16_t width = static_cast<int16_t>(ops.DataFileReadInt16());
  const int16_t height = static_cast<int16_t>(ops.DataFileReadInt16());
  ops.DataFileReadInt8();  // reserved
  ops.DataFileReadInt8();  // reserved

  const int64_t storedColumns = std::max<int64_t>(width, 0) + 1;
  const int64_t storedRows = std::max<int64_t>(height, 0) + 1;
  // A short file still reads past its end (stored maps may rely on it), but the header alone
  // must not make us hold a gigabyte of cells.
  if (storedColumns * storedRows > kMaxGridCells) {
    ops.DataFileClose(kMapFile);
    error = "La carte de " + fileName + " est trop grande (" + std::to_string(width) + "*" +
            std::to_string(height) + ").";
    return false;
  }

  level.grid = TileGrid{};
  level.grid.columns = width;
  level.grid.rows = height;
  level.grid.storedColumns = static_cast<int32_t>(storedColumns);
  level.grid.storedRows = static_cast<int32_t>(storedRows);
  // Cells wholly inside the file. The next one takes the file's last bytes, if any, and from
  // then on every read gives the same value again: those cells are one stale cell, neither
  // read nor held, so that a short file costs what its bytes cost, whatever its header says.
  const int64_t announcedCells = width > 0 && height > 0 ? int64_t{width} * height : 0;
  int64_t readCells = announcedCells;
  if (fileSize >= 0) {
    const int64_t wholeCells =
        fileSize >= kHeaderBytes ? (fileSize - kHeaderBytes) / kCellBytes : 0;
    readCells = std::min(announcedCells, wholeCells + 1);
  }
  // Only the columns that hold read cells are kept (with their spare row).
  const int64_t heldColumns = readCells > 0 ? (readCells - 1) / height + 1 : 0;
  const std::array<int64_t, 2> sizes{storedColumns, storedRows};
  level.grid.cells = DimArray<TileCell>::CreateND(sizes, heldColumns * storedRows);

  // Column by column; a width or height of 0 or less (-32768 too) reads no cells.
  int16_t lastRead = 0;
  for (int64_t index = 0; index < readCells; ++index) {
    TileCell* cell = level.grid.cells.At(index / height, index % height);
    cell->tile = static_cast<int16_t>(ops.DataFileReadInt16());
    cell->extra = lastRead = static_cast<int16_t>(ops.DataFileReadInt16());
  }
  if (readCells < announcedCells) {
    level.grid.staleCell = {lastRead, lastRead};
    level.grid.cellsFromFile = readCells;
  }

  const int16_t tileCount = static_cast<int16_t>(ops.DataFileReadInt16());
  level.tiles = DimArray<TileDef>::Create1D(tileCount);
  for (int32_t t = 0; t < tileCount; ++t) {
    level.tiles.At(t)->collisionType = static_cast<int8_t>(ops.DataFileReadInt8());
  }
  ops.DataFileClose(kMapFile);
  return true;
}

void TilesCut(Operations& ops, LevelData& level, int32_t& nextTileSprite) {
  // No picture to cut from (it could not be made, yet its record keeps the size asked for):
  // the selection would leave the back buffer current, and thousands of tiles would be cut
  // from it. Nothing is cut.
  const SurfaceHandle backBuffer = ops.ScreenSelectTarget(-1);
  if (ops.ScreenSelectTarget(kTilePicture) == backBuffer) {
    ops.SpriteFree(kTilePicture);
    return;
  }
  // Both bounds and the tile counter are 16-bit, and wrap as such.
  const int16_t pictureRows = static_cast<int16_t>(ops.SpriteGetHeight(kTilePicture) / kTileSize);
  const int16_t pictureColumns = static_cast<int16_t>(ops.SpriteGetWidth(kTilePicture) / kTileSize);
  int16_t k = 0;
  for (int32_t row = 1; row <= pictureRows; ++row) {
    for (int32_t column = 1; column <= pictureColumns; ++column) {
      // Tiles beyond the table's last record could never be drawn: they are not cut.
      if (k < 0 || k > level.tiles.Count()) break;
      ops.SpriteGrab(nextTileSprite, (column - 1) * kTileSize, (row - 1) * kTileSize, kTileSize,
                     kTileSize);
      ops.SpriteSetKeyColour(nextTileSprite, 0, 255, 0);
      level.tiles.At(k)->spriteNumber = static_cast<int16_t>(nextTileSprite);
      ++nextTileSprite;
      k = static_cast<int16_t>(k + 1);
    }
  }
  ops.ScreenSelectTarget(-1);
  ops.SpriteFree(kTilePicture);
}

const TileCell* CellAt(const TileGrid& grid, int64_t column, int64_t row) {
  if (column < 0 || column >= grid.storedColumns || row < 0 || row >= grid.storedRows) {
    return nullptr;
  }
  if (column < grid.columns && row < grid.rows && column * grid.rows + row >= grid.cellsFromFile) {
    return &grid.staleCell;
  }
  // The spare column and row, where they are not held, are free ground.
  static constexpr TileCell kFreeGround{};
  const TileCell* cell = const_cast<DimArray<TileCell>&>(grid.cells).At(column, row);
  return cell != nullptr ? cell : &kFreeGround;
}

const TileDef* TileDefAt(const LevelData& level, int64_t tile) {
  if (tile < 0 || tile > level.tiles.Count()) return nullptr;
  return const_cast<DimArray<TileDef>&>(level.tiles).At(tile);
}

int8_t CollisionTypeAt(const LevelData& level, int64_t column, int64_t row) {
  const TileCell* cell = CellAt(level.grid, column, row);
  if (cell == nullptr) return 0;
  const TileDef* def = TileDefAt(level, cell->tile);
  return def == nullptr ? 0 : def->collisionType;
}

}  // namespace velko
