#include "game/motion.h"

#include <gtest/gtest.h>

#include <cmath>

#include "game/controls.h"

namespace velko {
namespace {

struct SplitCase {
  float scroll;
  int16_t cell;
  int32_t rest;
};

class SplitTest : public ::testing::TestWithParam<SplitCase> {};

TEST_P(SplitTest, RoundsToTheNearestTile) {
  CarState car;
  car.scrollX = GetParam().scroll;
  car.scrollY = GetParam().scroll;
  ViewState view;
  SplitScroll(car, view);
  EXPECT_EQ(view.scrollCellX, GetParam().cell);
  EXPECT_EQ(view.scrollRestX, GetParam().rest);
  EXPECT_EQ(view.scrollCellY, GetParam().cell);
  EXPECT_EQ(view.scrollRestY, GetParam().rest);
}

INSTANTIATE_TEST_SUITE_P(Examples, SplitTest,
                         ::testing::Values(SplitCase{125.0f, 2, 25},    // 2.5 -> 2
                                           SplitCase{175.0f, 4, -25},   // 3.5 -> 4
                                           SplitCase{130.0f, 3, -20},   // 2.6 -> 3
                                           SplitCase{0.0f, 0, 0},       //
                                           SplitCase{12.5f, 0, 12},     // rest 12.5 -> 12
                                           SplitCase{37.5f, 1, -12}));  // 0.75 -> 1, -12.5 -> -12

TileGrid Grid(int32_t columns, int32_t rows) {
  TileGrid grid;
  grid.columns = columns;
  grid.rows = rows;
  return grid;
}

CarState Moving(float heading, float screenX, float screenY) {
  CarState car;
  car.heading = heading;
  ConvertHeading(car);
  car.screenX = screenX;
  car.screenY = screenY;
  car.canMove = 1;
  return car;
}

FrameClock Distance(float distance) {
  FrameClock clock;
  clock.moveDistance = distance;
  return clock;
}

TEST(MotionTest, StandsStillWhileItCannotMove) {
  CarState car = Moving(0.0f, 300.0f, 400.0f);
  car.canMove = 0;
  MoveCar(car, Distance(10.0f), Grid(60, 50));
  EXPECT_EQ(car.screenX, 300.0f);
  EXPECT_EQ(car.scrollX, 0.0f);
}

TEST(MotionTest, UpFromTheStartDrivesUpTheScreen) {
  // Vertical B needs screenY < 300 and scrollY > 0: with scrollY 0 the car moves.
  CarState car = Moving(270.0f, 300.0f, 400.0f);
  MoveCar(car, Distance(8.0f), Grid(60, 50));
  EXPECT_FLOAT_EQ(car.screenY, 392.0f);
  EXPECT_EQ(car.scrollY, 0.0f);
  car.screenY = 5.0f;
  MoveCar(car, Distance(8.0f), Grid(60, 50));
  EXPECT_EQ(car.screenY, 0.0f);  // clamped at the top
}

TEST(MotionTest, RightMovesOnTheScreenUpToTheThresholdThenScrolls) {
  CarState car = Moving(0.0f, 395.0f, 300.0f);
  MoveCar(car, Distance(8.0f), Grid(60, 50));  // 395 is not above 400
  EXPECT_EQ(car.screenX, 403.0f);
  EXPECT_EQ(car.scrollX, 0.0f);
  MoveCar(car, Distance(8.0f), Grid(60, 50));  // 403 > 400, 3000 > 0 + 800
  EXPECT_EQ(car.screenX, 403.0f);
  EXPECT_EQ(car.scrollX, 8.0f);
}

TEST(MotionTest, ExactlyOnTheThresholdMovesOnTheScreen) {
  CarState car = Moving(0.0f, 400.0f, 300.0f);
  MoveCar(car, Distance(8.0f), Grid(60, 50));
  EXPECT_EQ(car.screenX, 408.0f);
  EXPECT_EQ(car.scrollX, 0.0f);
}

TEST(MotionTest, MapEndIsTestedBeforeTheMove) {
  // 60 columns: 3000 pixels; scrolling stops once 3000 > scrollX + 800 fails.
  CarState car = Moving(0.0f, 420.0f, 300.0f);
  car.scrollX = 2195.0f;
  MoveCar(car, Distance(8.0f), Grid(60, 50));  // 3000 > 2995: scrolls past 2200
  EXPECT_EQ(car.scrollX, 2203.0f);
  MoveCar(car, Distance(8.0f), Grid(60, 50));  // 3000 > 3003 fails: the car moves
  EXPECT_EQ(car.scrollX, 2203.0f);
  EXPECT_EQ(car.screenX, 428.0f);
}

TEST(MotionTest, NarrowMapNeverScrollsAndTheCarStopsAt736) {
  CarState car = Moving(0.0f, 730.0f, 300.0f);
  MoveCar(car, Distance(8.0f), Grid(10, 8));  // 738 + 64 > 800
  EXPECT_EQ(car.screenX, 736.0f);
  EXPECT_EQ(car.scrollX, 0.0f);
}

TEST(MotionTest, LongFrameReachingTheEdgeKeepsThePosition) {
  CarState car = Moving(0.0f, 700.0f, 300.0f);
  MoveCar(car, Distance(100.0f), Grid(10, 8));  // 800 is not below 800
  EXPECT_EQ(car.screenX, 700.0f);
  CarState down = Moving(90.0f, 300.0f, 500.0f);
  MoveCar(down, Distance(100.0f), Grid(10, 8));
  EXPECT_EQ(down.screenY, 536.0f);  // 500 kept, then 564 > 600 pulls it to 536
}

TEST(MotionTest, RollingBackFollowsTheHeadingNotTheMovement) {
  // Heading 0, moving left (negative distance): horizontal A still holds, so the map scrolls.
  CarState car = Moving(0.0f, 450.0f, 300.0f);
  car.scrollX = 5.0f;
  MoveCar(car, Distance(-8.0f), Grid(60, 50));
  EXPECT_EQ(car.screenX, 450.0f);
  EXPECT_EQ(car.scrollX, 0.0f);  // 5 - 8 stops at 0
}

TEST(MotionTest, HeadingNinetyMovesHorizontallyOnTheScreenOnly) {
  CarState car = Moving(90.0f, 450.0f, 200.0f);
  car.scrollX = 100.0f;
  MoveCar(car, Distance(10.0f), Grid(60, 50));
  EXPECT_EQ(car.scrollX, 100.0f);
  EXPECT_NEAR(car.screenX, 450.0f, 1e-4);
  EXPECT_EQ(car.screenY, 210.0f);
}

TEST(MotionTest, DownScrollsWhileTheMapContinues) {
  CarState car = Moving(90.0f, 300.0f, 310.0f);
  MoveCar(car, Distance(10.0f), Grid(60, 50));  // 2500 > 600
  EXPECT_EQ(car.screenY, 310.0f);
  EXPECT_EQ(car.scrollY, 10.0f);
}

}  // namespace
}  // namespace velko
