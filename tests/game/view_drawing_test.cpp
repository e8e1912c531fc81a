#include "game/view_drawing.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "game/level_builder.h"
#include "game/motion.h"
#include "support/recording_operations.h"

namespace velko {
namespace {

using testing::MakeLevel;
using testing::RecordingOperations;
using testing::SetTile;

ViewState ViewFor(float scrollX, float scrollY) {
  CarState car;
  car.scrollX = scrollX;
  car.scrollY = scrollY;
  ViewState view;
  SplitScroll(car, view);
  return view;
}

bool Has(const RecordingOperations& ops, const std::string& entry) {
  return std::find(ops.log.begin(), ops.log.end(), entry) != ops.log.end();
}

TEST(DrawMapTest, NoScrollDrawsCellZeroAtTheCorner) {
  LevelData level = MakeLevel(40, 40, 0, {0, 0});
  SetTile(level, 0, 0, 1);
  RecordingOperations ops;
  DrawMap(ops, level, ViewFor(0, 0));
  EXPECT_TRUE(Has(ops, "SpriteShow 101 0 0"));
  // Positions i = 0 and j = 0 lie off the map: 17 x 13 tiles drawn.
  EXPECT_EQ(ops.CountPrefix("SpriteShow"), 17u * 13u);
  EXPECT_TRUE(Has(ops, "SpriteShow 100 800 600"));  // i = 17, j = 13
}

TEST(DrawMapTest, ScrollOf175DrawsColumnThreeAtMinus25) {
  LevelData level = MakeLevel(40, 40, 0, {0, 0, 0});
  SetTile(level, 3, 0, 1);
  SetTile(level, 4, 0, 2);
  RecordingOperations ops;
  DrawMap(ops, level, ViewFor(175, 0));  // cell 4, rest -25
  EXPECT_TRUE(Has(ops, "SpriteShow 101 -25 0"));
  EXPECT_TRUE(Has(ops, "SpriteShow 102 25 0"));
  EXPECT_EQ(ops.CountPrefix("SpriteShow"), 18u * 13u);
}

TEST(DrawMapTest, SmallMapStaysInTheTopLeft) {
  LevelData level = MakeLevel(10, 8, 0, {0});
  RecordingOperations ops;
  DrawMap(ops, level, ViewFor(0, 0));
  EXPECT_EQ(ops.CountPrefix("SpriteShow"), 80u);
  EXPECT_TRUE(Has(ops, "SpriteShow 100 450 350"));
  EXPECT_FALSE(Has(ops, "SpriteShow 100 500 0"));  // the spare column is not drawn
}

TEST(DrawMapTest, TilesWithoutARecordOrPictureStayBlack) {
  LevelData level = MakeLevel(2, 1, 0, {0, 0});
  SetTile(level, 0, 0, 7);              // no record 7
  level.tiles.At(1)->spriteNumber = 0;  // no picture was cut for tile 1
  SetTile(level, 1, 0, 1);
  RecordingOperations ops;
  DrawMap(ops, level, ViewFor(0, 0));
  EXPECT_EQ(ops.CountPrefix("SpriteShow"), 0u);
}

TEST(DrawCarTest, RoundsHeadingAndPositionHalvesToEven) {
  CarState car;
  car.heading = -2.5f;  // drawn before the wrap: -2
  car.screenX = 300.5f;
  car.screenY = 401.5f;
  CrashState crash;
  crash.carOpacity = 200;
  RecordingOperations ops;
  DrawCar(ops, car, crash);
  const std::vector<std::string> expected = {
      "TexturedSpriteRotate 1 -2 0", "TexturedSpriteShow 1 300 402 200", "TexturedSceneEnd"};
  EXPECT_EQ(ops.log, expected);
}

TEST(DrawCarTest, NothingWithoutAScene) {
  RecordingOperations ops;
  ops.sceneBegins = 0;
  DrawCar(ops, CarState{}, CrashState{});
  EXPECT_TRUE(ops.log.empty());
}

TEST(StatusLineTest, SignedFigures) {
  FrameClock clock;
  clock.framesPerSecond = 62;
  ProbeState probes;
  probes.DevantType2 = 1;
  EXPECT_EQ(StatusLine(clock, probes), "FPS: 62 DevantType1: 0 DevantType2: 1 DevantType3: 0");
  probes.DevantType1 = -1;
  probes.DevantType3 = -128;
  clock.framesPerSecond = 1000;
  EXPECT_EQ(StatusLine(clock, probes),
            "FPS: 1000 DevantType1: -1 DevantType2: 1 DevantType3: -128");
  RecordingOperations ops;
  DrawStatusLine(ops, clock, probes);
  ASSERT_EQ(ops.strings.size(), 1u);
  EXPECT_EQ(ops.strings[0], StatusLine(clock, probes));
}

}  // namespace
}  // namespace velko
