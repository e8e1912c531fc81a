// The level as the game will read it: size, start place, the closed road loop, and a tile
// table that covers every cell.
#include <gtest/gtest.h>

#include <queue>
#include <set>
#include <vector>

#include "assetgen/circuit_design.h"
#include "assetgen/game_assets.h"
#include "assetgen/tile_set.h"
#include "assets/game_assets_support.h"

namespace velko::assetgen {
namespace {

using velko::testing::GeneratedAssets;

// The car's centre at start: screen (300, 400) + 32 with no scroll.
constexpr int kStartCentreX = 332;
constexpr int kStartCentreY = 432;

class Circuit : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(GeneratedAssets().complete); }
  const velko::testing::ReadMap& Map() const { return GeneratedAssets().map; }
  static const TiledCircuit& Tiled() {
    static const TiledCircuit tiled = TileCircuit(DesignCircuit(), kTilesPerPictureRow);
    return tiled;
  }
  bool IsRoadCell(int c, int r) const {
    if (c < 0 || r < 0 || c >= Map().columns || r >= Map().rows) return false;
    return IsRoad(Tiled().tiles.at(static_cast<size_t>(Map().TileAt(c, r))).ground);
  }
  // Road cells reachable from `from` through road cells, not entering `blocked`.
  std::set<std::pair<int, int>> RoadReach(Cell from,
                                          const std::set<std::pair<int, int>>& blocked) const {
    std::set<std::pair<int, int>> seen;
    std::queue<Cell> todo;
    todo.push(from);
    seen.insert({from.column, from.row});
    while (!todo.empty()) {
      const Cell c = todo.front();
      todo.pop();
      const Cell next[] = {{c.column + 1, c.row},
                           {c.column - 1, c.row},
                           {c.column, c.row + 1},
                           {c.column, c.row - 1}};
      for (const Cell n : next) {
        if (!IsRoadCell(n.column, n.row) || blocked.count({n.column, n.row}) ||
            seen.count({n.column, n.row}))
          continue;
        seen.insert({n.column, n.row});
        todo.push(n);
      }
    }
    return seen;
  }
};

TEST_F(Circuit, ScrollsBothWays) {
  // The screen shows 16 x 12 tiles.
  EXPECT_GE(Map().columns, 48);
  EXPECT_GE(Map().rows, 36);
}

TEST_F(Circuit, EveryCellNamesATileOfTheTable) {
  const int n = static_cast<int>(Map().collisionTypes.size());
  for (int tile : Map().tiles) {
    EXPECT_GE(tile, 0);
    EXPECT_LT(tile, n);
  }
}

TEST_F(Circuit, CollisionTypesAreTheGamesOwn) {
  std::set<int> used;
  for (int c = 0; c < Map().columns; ++c)
    for (int r = 0; r < Map().rows; ++r) used.insert(Map().TypeAt(c, r));
  // Free ground, solid walls, and every form of half tile.
  EXPECT_EQ(used, (std::set<int>{0, 1, 2, 3, 4, 5}));
}

TEST_F(Circuit, TheCarStartsOnFreeRoad) {
  const int startC = kStartCentreX / 50;
  const int startR = kStartCentreY / 50;
  EXPECT_EQ(startC, kStartCell.column);
  EXPECT_EQ(startR, kStartCell.row);
  // The 64 x 64 car covers map pixels 300..363 and 400..463.
  for (int x : {300, 363})
    for (int y : {400, 463}) {
      EXPECT_EQ(Map().TypeAt(x / 50, y / 50), 0) << x << "," << y;
      EXPECT_TRUE(IsRoadCell(x / 50, y / 50)) << x << "," << y;
    }
}

TEST_F(Circuit, TheRoadAheadOfTheStartIsOpenUpToTheTopBend) {
  // The car drives up the screen from row 8; the map cannot scroll up, so the run ends where
  // the top straight turns off to the right.
  for (int r = kStartCell.row; r >= 1; --r)
    for (int c = kStartCell.column - 1; c <= kStartCell.column + 1; ++c)
      if (!(c == 5 && r == 1)) {
        EXPECT_TRUE(IsRoadCell(c, r)) << c << "," << r;
      }
  for (int c = kStartCell.column; c <= 28; ++c) EXPECT_TRUE(IsRoadCell(c, 2)) << c;
}

TEST_F(Circuit, TheRoadIsOneClosedLoop) {
  const auto all = RoadReach(kStartCell, {});
  size_t roadCells = 0;
  for (int c = 0; c < Map().columns; ++c)
    for (int r = 0; r < Map().rows; ++r) roadCells += IsRoadCell(c, r);
  EXPECT_EQ(all.size(), roadCells) << "every road cell is part of the circuit";

  // Cut the start straight across the start row: the cells just ahead and just behind the start
  // still reach each other, the long way round.
  std::set<std::pair<int, int>> cut;
  for (int c = 0; c < Map().columns; ++c)
    if (IsRoadCell(c, kStartCell.row) && c < 16) cut.insert({c, kStartCell.row});
  ASSERT_EQ(cut.size(), 3u);
  const auto ahead = RoadReach({kStartCell.column, kStartCell.row - 1}, cut);
  EXPECT_TRUE(ahead.count({kStartCell.column, kStartCell.row + 1}));
  // And it is a real loop, not a dead end: a second cut on the far side separates them.
  auto secondCut = cut;
  for (int c = 0; c < Map().columns; ++c)
    if (IsRoadCell(c, 20) && c > 40) secondCut.insert({c, 20});
  ASSERT_EQ(secondCut.size(), 6u);
  const auto separated = RoadReach({kStartCell.column, kStartCell.row - 1}, secondCut);
  EXPECT_FALSE(separated.count({kStartCell.column, kStartCell.row + 1}));
}

TEST_F(Circuit, RoadIsFreeAndWallsBlock) {
  for (int c = 0; c < Map().columns; ++c) {
    for (int r = 0; r < Map().rows; ++r) {
      const Ground g = Tiled().tiles.at(static_cast<size_t>(Map().TileAt(c, r))).ground;
      const int type = Map().TypeAt(c, r);
      if (IsRoad(g)) {
        EXPECT_EQ(type, 0) << c << "," << r;
      }
      if (IsSolid(g)) {
        EXPECT_EQ(type, 1) << c << "," << r;
      }
    }
  }
  // The map's edge is walled all round.
  for (int c = 0; c < Map().columns; ++c) {
    EXPECT_EQ(Map().TypeAt(c, 0), 1);
    EXPECT_EQ(Map().TypeAt(c, Map().rows - 1), 1);
  }
  for (int r = 0; r < Map().rows; ++r) {
    EXPECT_EQ(Map().TypeAt(0, r), 1);
    EXPECT_EQ(Map().TypeAt(Map().columns - 1, r), 1);
  }
}

TEST_F(Circuit, HalfTilesCutCornersBetweenWallAndRoad) {
  int halfTiles = 0;
  for (int c = 0; c < Map().columns; ++c) {
    for (int r = 0; r < Map().rows; ++r) {
      const int type = Map().TypeAt(c, r);
      if (type < 2 || type > 5) continue;
      ++halfTiles;
      const bool upperLeft = type == 2 || type == 4;
      // The wall half touches the top edge and its side; walls stand there, road opposite.
      EXPECT_EQ(Map().TypeAt(c, r - 1), 1) << c << "," << r;
      EXPECT_EQ(Map().TypeAt(upperLeft ? c - 1 : c + 1, r), 1) << c << "," << r;
      EXPECT_TRUE(IsRoadCell(c, r + 1)) << c << "," << r;
      EXPECT_TRUE(IsRoadCell(upperLeft ? c + 1 : c - 1, r)) << c << "," << r;
    }
  }
  EXPECT_GE(halfTiles, 4);
}

TEST(CircuitFiles, AreTheSameOnEveryBuild) {
  const GameAssets a = MakeGameAssets();
  const GameAssets b = MakeGameAssets();
  EXPECT_EQ(a.levelMap, b.levelMap);
  EXPECT_EQ(a.levelPackage, b.levelPackage);
  EXPECT_EQ(a.carBmp, b.carBmp);
  EXPECT_EQ(a.carPackage, b.carPackage);
  EXPECT_EQ(a.crashWave, b.crashWave);
}

}  // namespace
}  // namespace velko::assetgen
