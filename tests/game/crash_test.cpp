#include "game/crash.h"

#include <gtest/gtest.h>

namespace velko {
namespace {

ProbeState Blocked(int8_t blocked) {
  ProbeState probes;
  probes.blocked = blocked;
  return probes;
}

int32_t NoDraw() {
  ADD_FAILURE() << "the generator must not be drawn from";
  return 4;
}

TEST(CrashTest, FastImpactBouncesBackAtHalfSpeed) {
  CarState car;
  car.speed = 0.3f;
  CrashState crash;
  EXPECT_TRUE(Crash(car, Blocked(1), crash, 5000));
  EXPECT_EQ(car.speed, static_cast<float>(0.3f * -0.5));  // -0.15
  EXPECT_FLOAT_EQ(car.speed, -0.15f);
  EXPECT_EQ(crash.crashCount, 1);
  EXPECT_EQ(crash.bounceTick, 5000);
  EXPECT_EQ(crash.stopTick, 0);
  EXPECT_EQ(car.canMove, 1);
}

TEST(CrashTest, ImpactAtExactlyPointOneStops) {
  CarState car;
  car.speed = 0.1f;
  CrashState crash;
  EXPECT_FALSE(Crash(car, Blocked(1), crash, 5000));
  EXPECT_EQ(car.speed, 0.1f);  // the stop phase zeroes it
  EXPECT_EQ(car.canMove, 0);
  EXPECT_EQ(crash.stopTick, 5000);
  EXPECT_EQ(crash.crashCount, 0);
}

TEST(CrashTest, NotBlockedLetsTheCarMove) {
  CarState car;
  car.speed = 0.3f;
  CrashState crash;
  EXPECT_FALSE(Crash(car, Blocked(0), crash, 5000));
  EXPECT_EQ(car.canMove, 1);
  EXPECT_EQ(car.speed, 0.3f);
  car.speed = 0.0f;
  EXPECT_FALSE(Crash(car, Blocked(1), crash, 5000));  // standing: never a crash
  EXPECT_EQ(crash.stopTick, 0);
}

TEST(CrashTest, ThirdBounceStartsTheSkidEvenLongAfterTheOthers) {
  CarState car;
  CrashState crash;
  const int32_t ticks[] = {1000, 60000, 200000};
  for (int32_t tick : ticks) {
    car.speed = 0.4f;
    ASSERT_TRUE(Crash(car, Blocked(1), crash, tick));
    Skid(car, crash, tick, NoDraw);  // speed is negative now: no jitter
    if (tick != 200000) {
      EXPECT_EQ(crash.carOpacity, 255);
    }
  }
  EXPECT_EQ(crash.crashCount, 3);
  EXPECT_EQ(crash.carOpacity, 200);
}

TEST(CrashTest, SkidJittersWhileMovingForwardAndEndsAfter2000) {
  CarState car;
  car.heading = 90.0f;
  car.speed = 0.2f;
  CrashState crash;
  crash.crashCount = 3;
  crash.bounceTick = 10000;
  Skid(car, crash, 11000, [] { return 8; });
  EXPECT_EQ(car.heading, 94.0f);
  EXPECT_EQ(crash.carOpacity, 200);
  Skid(car, crash, 12000, [] { return 0; });  // 2000 is not more than 2000
  EXPECT_EQ(car.heading, 90.0f);
  EXPECT_EQ(crash.crashCount, 3);
  Skid(car, crash, 12001, [] { return 4; });
  EXPECT_EQ(crash.carOpacity, 200);  // still this frame
  EXPECT_EQ(crash.crashCount, 0);
  EXPECT_EQ(crash.bounceTick, 0);
  Skid(car, crash, 12017, NoDraw);
  EXPECT_EQ(crash.carOpacity, 255);
}

TEST(CrashTest, BounceDuringSkidRaisesTheCountAndRestartsTheWindow) {
  CarState car;
  car.speed = 0.3f;
  CrashState crash;
  crash.crashCount = 3;
  crash.bounceTick = 10000;
  ASSERT_TRUE(Crash(car, Blocked(1), crash, 11500));
  EXPECT_EQ(crash.crashCount, 4);
  Skid(car, crash, 13000, NoDraw);  // 1500 after the latest bounce
  EXPECT_EQ(crash.crashCount, 4);
  EXPECT_EQ(crash.carOpacity, 200);
}

TEST(CrashTest, StopPhaseHoldsTheCarAndSuspendsTheSkid) {
  CarState car;
  car.speed = 0.05f;
  car.canMove = 1;
  CrashState crash;
  crash.crashCount = 3;
  crash.bounceTick = 10000;
  crash.stopTick = 10100;
  Skid(car, crash, 20000, NoDraw);  // suspended: no opacity, no 2000 ms test
  EXPECT_EQ(crash.carOpacity, 255);
  EXPECT_EQ(crash.bounceTick, 10000);
  StopPhase(car, crash, 10600);  // 500 is not more than 500
  EXPECT_EQ(car.speed, 0.0f);
  EXPECT_EQ(car.canMove, 0);
  EXPECT_EQ(crash.stopTick, 10100);
  StopPhase(car, crash, 10601);
  EXPECT_EQ(crash.stopTick, 0);
  EXPECT_EQ(car.canMove, 0);  // this frame still held
  car.speed = 0.0f;
  Skid(car, crash, 10617, NoDraw);  // the skid resumes
  EXPECT_EQ(crash.carOpacity, 200);
  EXPECT_EQ(crash.crashCount, 3);  // 617 ms since the bounce: the window goes on
}

}  // namespace
}  // namespace velko
