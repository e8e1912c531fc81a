#include "level/checker.h"

#include <map>

namespace velko::level {
namespace {

std::string CellName(int c, int r) {
  // Appended piece by piece: GCC 12 at -O3 sees an overlap in "(" + std::to_string(...).
  std::string name = std::to_string(c);
  name.insert(0, 1, '(');
  name.append(", ").append(std::to_string(r)).append(")");
  return name;
}

}  // namespace

std::vector<std::string> CheckLevel(const LevelFiles& level) {
  std::vector<std::string> problems;
  const int records = static_cast<int>(level.collisionTypes.size());
  const int pictureTiles = level.PictureTiles();
  // Per tile number: how many cells name it, and the first of them.
  struct Use {
    int cells = 0;
    int column = 0;
    int row = 0;
  };
  std::map<int, Use> uses;
  for (int c = 0; c < level.columns; ++c) {
    for (int r = 0; r < level.rows; ++r) {
      Use& use = uses[level.At(c, r).tile];
      if (use.cells++ == 0) use.column = c, use.row = r;
    }
  }
  for (const auto& [tile, use] : uses) {
    const std::string where =
        std::to_string(use.cells) + " cell(s) from " + CellName(use.column, use.row);
    // The game's table holds records 0 to N; record N, which the file does not fill, is free.
    if (tile < 0 || tile > records) {
      problems.push_back("tile " + std::to_string(tile) + " is not in the table of " +
                         std::to_string(records) + " tile records: " + where);
    }
    if (tile >= 0 && tile >= pictureTiles) {
      problems.push_back("tile " + std::to_string(tile) + " has no picture (the picture holds " +
                         std::to_string(pictureTiles) + " tiles): " + where);
    }
  }
  const int startColumn = kStartX / kTileSide;
  const int startRow = kStartY / kTileSide;
  if (startColumn < level.columns && startRow < level.rows) {
    const int tile = level.At(startColumn, startRow).tile;
    const int type =
        tile >= 0 && tile < records ? level.collisionTypes[static_cast<size_t>(tile)] : 0;
    if (Blocks(type)) {
      problems.push_back("the car starts on a blocking tile: cell " +
                         CellName(startColumn, startRow) + ", tile " + std::to_string(tile) +
                         ", collision " + std::to_string(type));
    }
  }
  if (std::int64_t{level.columns} * kTileSide < kScreenWidth) {
    problems.push_back("the map is " + std::to_string(level.columns) +
                       " columns wide, narrower than the screen (16 columns, 800 pixels)");
  }
  if (std::int64_t{level.rows} * kTileSide < kScreenHeight) {
    problems.push_back("the map is " + std::to_string(level.rows) +
                       " rows high, lower than the screen (12 rows, 600 pixels)");
  }
  if (level.picture.width % kTileSide != 0 || level.picture.height % kTileSide != 0) {
    problems.push_back(
        "the picture is " + std::to_string(level.picture.width) + " x " +
        std::to_string(level.picture.height) +
        " pixels: its pixels past the last whole 50-pixel column or row belong to no tile");
  }
  if (level.picture.width == 0)
    problems.push_back("the picture has no pixels: no tile has a picture");
  return problems;
}

}  // namespace velko::level
