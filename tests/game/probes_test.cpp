#include "game/probes.h"

#include <gtest/gtest.h>

#include "game/controls.h"
#include "game/level_builder.h"

namespace velko {
namespace {

using testing::MakeLevel;
using testing::SetTile;

CarState CarAt(float heading, float x, float y, float speed) {
  CarState car;
  car.heading = heading;
  ConvertHeading(car);
  car.screenX = x;
  car.screenY = y;
  car.speed = speed;
  return car;
}

struct HalfTileCase {
  const char* name;
  float heading;
  float screen;
  bool leftEdgeForm;
  int16_t probeX, probeY, edgeX, edgeY;
  int8_t insideX, insideY;
  bool inside;
};

class HalfTileTest : public ::testing::TestWithParam<HalfTileCase> {};

TEST_P(HalfTileTest, WorkedExamples) {
  const HalfTileCase& c = GetParam();
  const CarState car = CarAt(c.heading, c.screen, c.screen, 0.2f);
  ProbeState probes;
  EXPECT_EQ(HalfTileInside(car, ViewState{}, Probe::Front, c.leftEdgeForm, probes), c.inside);
  EXPECT_EQ(probes.probeX, c.probeX) << c.name;
  EXPECT_EQ(probes.probeY, c.probeY) << c.name;
  EXPECT_EQ(probes.edgeX, c.edgeX) << c.name;
  EXPECT_EQ(probes.edgeY, c.edgeY) << c.name;
  EXPECT_EQ(probes.insideX, c.insideX) << c.name;
  EXPECT_EQ(probes.insideY, c.insideY) << c.name;
}

// Heading 90 at (80, 80): snap 100/100, probe (0 + 80 + 30, 26 + 80 + 30) = (110, 136).
// Heading 0 at (100, 100): snap 100/100, probe (26 + 100 + 30, 0 + 100 + 30) = (156, 130).
INSTANTIATE_TEST_SUITE_P(
    Examples, HalfTileTest,
    ::testing::Values(
        HalfTileCase{"90 left-edge", 90, 80, true, 110, 136, 100, 150, 10, 14, true},
        HalfTileCase{"90 right-edge", 90, 80, false, 110, 136, 150, 150, 40, 14, false},
        // 146 < 100 fails: edge 100, inside 56 > 20.
        HalfTileCase{"0 left-edge", 0, 100, true, 156, 130, 100, 150, 56, 20, false},
        // 166 > 150: edge moves to 200, inside 44 > 20.
        HalfTileCase{"0 right-edge", 0, 100, false, 156, 130, 200, 150, 44, 20, false}));

TEST(HalfTileTest, ScrollRestShiftsTheEdges) {
  // Same as the first example with the map shifted 10 to the left on screen.
  const CarState car = CarAt(90, 80, 80, 0.2f);
  ViewState view;
  view.scrollRestX = 10;
  view.scrollRestY = -10;
  ProbeState probes;
  HalfTileInside(car, view, Probe::Front, true, probes);
  // edgeX 100 - 10 = 90 (110 - 10 < 90 fails), insideX 20; edgeY 100 + 10 + 50 = 160
  // (176 <= 160 fails), insideY 24.
  EXPECT_EQ(probes.edgeX, 90);
  EXPECT_EQ(probes.insideX, 20);
  EXPECT_EQ(probes.edgeY, 160);
  EXPECT_EQ(probes.insideY, 24);
}

struct BlockCase {
  const char* name;
  int8_t type;
  float speed;
  int8_t blocked;
};

class FrontProbeBlockTest : public ::testing::TestWithParam<BlockCase> {};

TEST_P(FrontProbeBlockTest, FirstWorkedExampleCell) {
  const BlockCase& c = GetParam();
  // Every cell is free ground (tile 0) but the front probe's cell (2, 2).
  LevelData level = MakeLevel(20, 20, 0, {0, c.type});
  SetTile(level, 2, 2, 1);
  const CarState car = CarAt(90, 80, 80, c.speed);
  ProbeState probes;
  ReadProbes(car, level, probes);
  EXPECT_EQ(probes.probeCellX[0], 2);
  EXPECT_EQ(probes.probeCellY[0], 2);
  EXPECT_EQ(probes.DevantType1, c.type);
  TestSolidTiles(car, probes);
  TestHalfTiles(car, ViewState{}, probes);
  EXPECT_EQ(probes.blocked, c.blocked) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    Types, FrontProbeBlockTest,
    ::testing::Values(BlockCase{"solid", 1, 0.2f, 1}, BlockCase{"solid standing", 1, 0.0f, 0},
                      BlockCase{"solid rolling back", 1, -0.1f, 0},
                      BlockCase{"left-edge half", 2, 0.2f, 1},
                      BlockCase{"left-edge half again", 4, 0.2f, 1},
                      BlockCase{"right-edge half", 3, 0.2f, 0},
                      BlockCase{"right-edge half again", 5, 0.2f, 0},
                      BlockCase{"half standing", 2, 0.0f, 0}, BlockCase{"free 0", 0, 0.2f, 0},
                      BlockCase{"free 6", 6, 0.2f, 0}, BlockCase{"free -1", -1, 0.2f, 0}));

TEST(ProbesTest, SideProbesUseTheirOwnOffsets) {
  // Heading 0 at (100, 102), no scroll: the left probe looks at -34 degrees, 30 across and 26
  // along its sine; the right one at +34 degrees, 30 both ways (cos 34 = 0.829, sin 0.559).
  // front: (100 + 26 + 32, 102 + 32) = (158, 134) -> (3, 2)
  // left: x 100 + 24.87 + 32 = 156.87 -> 157 -> 3; y 102 - 14.54 + 32 = 119.46 -> 2
  // right: y 102 + 16.78 + 32 = 150.78 -> 151 -> 3 (26 would give 148.54 -> row 2)
  LevelData level = MakeLevel(20, 20, 0, {0, 7, 8, 9});
  SetTile(level, 3, 2, 1);  // front and left
  SetTile(level, 3, 3, 2);  // right, one row lower
  const CarState car = CarAt(0, 100, 102, 0.0f);
  ProbeState probes;
  ReadProbes(car, level, probes);
  EXPECT_EQ(probes.probeCellX[1], 3);
  EXPECT_EQ(probes.probeCellY[1], 2);
  EXPECT_EQ(probes.probeCellX[2], 3);
  EXPECT_EQ(probes.probeCellY[2], 3);
  EXPECT_EQ(probes.DevantType1, 7);
  EXPECT_EQ(probes.DevantType2, 7);
  EXPECT_EQ(probes.DevantType3, 8);

  // At screenY 133 the left probe's 26 matters: 133 - 14.54 + 32 = 150.46 -> row 3, where 30
  // would give 148.22 -> row 2.
  ReadProbes(CarAt(0, 100, 133, 0.0f), level, probes);
  EXPECT_EQ(probes.probeCellY[1], 3);
}

TEST(ProbesTest, ScrollMovesTheProbeOverTheMap) {
  LevelData level = MakeLevel(40, 40, 0, {0, 5});
  SetTile(level, 13, 2, 1);
  CarState car = CarAt(0, 100, 100, 0.0f);
  car.scrollX = 500.0f;  // 158 + 500 = 658 -> column 13
  ProbeState probes;
  ReadProbes(car, level, probes);
  EXPECT_EQ(probes.probeCellX[0], 13);
  EXPECT_EQ(probes.DevantType1, 5);
}

TEST(ProbesTest, OutsideTheStoredGridAndTheTableIsFreeGround) {
  LevelData level = MakeLevel(2, 2, 1, {3, 4});  // tile 0 has type 3, tile 1 type 4
  EXPECT_EQ(CollisionTypeAt(level, 0, 0), 4);
  EXPECT_EQ(CollisionTypeAt(level, 2, 0), 3);  // spare column: tile 0
  EXPECT_EQ(CollisionTypeAt(level, 1, 2), 3);  // spare row: tile 0
  EXPECT_EQ(CollisionTypeAt(level, 3, 0), 0);  // beyond the spare column
  EXPECT_EQ(CollisionTypeAt(level, 0, 3), 0);
  EXPECT_EQ(CollisionTypeAt(level, -1, 0), 0);
  SetTile(level, 0, 0, 2);  // the table has records 0 and 1 only
  EXPECT_EQ(CollisionTypeAt(level, 0, 0), 0);
  SetTile(level, 0, 0, -1);
  EXPECT_EQ(CollisionTypeAt(level, 0, 0), 0);

  // A car at the bottom-right of a map too small to scroll probes beyond the stored grid.
  const CarState car = CarAt(0, 736, 536, 0.3f);
  ProbeState probes;
  ReadProbes(car, level, probes);
  EXPECT_GT(probes.probeCellX[0], 2);
  EXPECT_EQ(probes.DevantType1, 0);
  EXPECT_EQ(probes.DevantType2, 0);
  EXPECT_EQ(probes.DevantType3, 0);
}

}  // namespace
}  // namespace velko
