#include "game/controls.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>

#include "game/frame_numbers.h"
#include "game/frame_timing.h"

namespace velko {
namespace {

struct HeadingCase {
  float before;
  float after;
};

class SnapTest : public ::testing::TestWithParam<HeadingCase> {};

TEST_P(SnapTest, SettlesOnTheNearestTenHalvesToEven) {
  CarState car;
  car.heading = GetParam().before;
  SnapHeading(car, DriverInput{});
  EXPECT_EQ(car.heading, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Examples, SnapTest,
                         ::testing::Values(HeadingCase{274.6f, 280.0f},  // 275, 27.5 -> 28
                                           HeadingCase{265.0f, 260.0f},  // 26.5 -> 26
                                           HeadingCase{44.4f, 40.0f},    // 44, 4.4 -> 4
                                           HeadingCase{357.0f, 360.0f},  // 35.7 -> 36
                                           HeadingCase{275.0f, 280.0f},  // 27.5 -> 28
                                           HeadingCase{25.0f, 20.0f},    // 2.5 -> 2
                                           HeadingCase{35.0f, 40.0f},    // 3.5 -> 4
                                           HeadingCase{264.5f, 260.0f},  // 264, 26.4 -> 26
                                           HeadingCase{4.9f, 0.0f}));    // 5, 0.5 -> 0

TEST(SnapTest, SteeringKeepsTheHeading) {
  CarState car;
  car.heading = 274.6f;
  DriverInput input;
  input.steering = 1;
  SnapHeading(car, input);
  EXPECT_EQ(car.heading, 274.6f);
}

class WrapTest : public ::testing::TestWithParam<HeadingCase> {};

TEST_P(WrapTest, BringsTheHeadingIntoRangeOnce) {
  CarState car;
  car.heading = GetParam().before;
  WrapHeading(car);
  EXPECT_EQ(car.heading, GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Examples, WrapTest,
                         ::testing::Values(HeadingCase{-3.0f, 357.0f}, HeadingCase{365.0f, 5.0f},
                                           HeadingCase{360.0f, 360.0f}, HeadingCase{0.0f, 0.0f},
                                           // Applied once each: -400 only gains 360.
                                           HeadingCase{-400.0f, -40.0f},
                                           HeadingCase{800.0f, 440.0f}));

// Bit patterns of heading * 6.2831855 / 360 carried in double and stored once, for the
// snapped headings where float32 alone would round differently.
struct RadiansCase {
  float heading;
  uint32_t bits;
  uint32_t floatOnlyBits;
};

class RadiansTest : public ::testing::TestWithParam<RadiansCase> {};

TEST_P(RadiansTest, ConvertsInDoubleBeforeStoring) {
  CarState car;
  car.heading = GetParam().heading;
  ConvertHeading(car);
  EXPECT_EQ(std::bit_cast<uint32_t>(car.headingRadians), GetParam().bits);
  EXPECT_NE(std::bit_cast<uint32_t>(car.headingRadians), GetParam().floatOnlyBits);
}

INSTANTIATE_TEST_SUITE_P(ElevenHeadings, RadiansTest,
                         ::testing::Values(RadiansCase{70, 0x3f9c61aa, 0x3f9c61ab},
                                           RadiansCase{110, 0x3ff5be0c, 0x3ff5be0b},
                                           RadiansCase{140, 0x401c61aa, 0x401c61ab},
                                           RadiansCase{150, 0x40278d36, 0x40278d37},
                                           RadiansCase{170, 0x403de44f, 0x403de44e},
                                           RadiansCase{190, 0x40543b67, 0x40543b68},
                                           RadiansCase{220, 0x4075be0c, 0x4075be0b},
                                           RadiansCase{280, 0x409c61aa, 0x409c61ab},
                                           RadiansCase{300, 0x40a78d36, 0x40a78d37},
                                           RadiansCase{310, 0x40ad22fd, 0x40ad22fc},
                                           RadiansCase{340, 0x40bde44f, 0x40bde44e}));

TEST(RadiansTest, ConstantsHaveTheirExactBitPatterns) {
  EXPECT_EQ(std::bit_cast<uint32_t>(kTwoPi), 0x40C90FDBu);
  EXPECT_EQ(std::bit_cast<uint32_t>(kRate001), 0x3A83126Eu);
  EXPECT_EQ(std::bit_cast<uint32_t>(kRate0005), 0x3A03126Eu);
}

struct AngleCase {
  float degrees;
  float sameAs;
};

class AngleToRadiansTest : public ::testing::TestWithParam<AngleCase> {};

TEST_P(AngleToRadiansTest, WrapsIntoZeroTo360First) {
  CarState reference;
  reference.heading = GetParam().sameAs;
  ConvertHeading(reference);
  // Bit for bit: the loops give +0, never -0.
  EXPECT_EQ(std::bit_cast<uint32_t>(AngleToRadians(GetParam().degrees)),
            std::bit_cast<uint32_t>(reference.headingRadians))
      << GetParam().degrees;
}

INSTANTIATE_TEST_SUITE_P(Examples, AngleToRadiansTest,
                         ::testing::Values(AngleCase{-34.0f, 326.0f}, AngleCase{394.0f, 34.0f},
                                           AngleCase{720.0f, 360.0f}, AngleCase{-720.0f, 0.0f},
                                           AngleCase{360.0f, 360.0f},
                                           // Past 10^6 the wrap takes a shortcut, same results.
                                           AngleCase{3.6e6f, 360.0f}, AngleCase{-3.6e6f, 0.0f},
                                           AngleCase{1000800.5f, 0.5f},
                                           AngleCase{-1000800.5f, 359.5f}));

DriverKeys Keys(bool up, bool down) {
  DriverKeys keys;
  keys.up = up;
  keys.down = down;
  return keys;
}

struct SpeedCase {
  const char* name;
  float speed;
  int32_t frameMs;
  bool up;
  bool down;
  double expected;  // exact double value of the stored float32
  int8_t accelerating;
};

class SpeedTest : public ::testing::TestWithParam<SpeedCase> {};

TEST_P(SpeedTest, FollowsUpAndDown) {
  const SpeedCase& c = GetParam();
  CarState car;
  car.speed = c.speed;
  FrameClock clock;
  clock.frameMs = c.frameMs;
  DriverInput input;
  UpdateSpeed(car, clock, input, Keys(c.up, c.down));
  EXPECT_EQ(car.speed, static_cast<float>(c.expected)) << c.name;
  EXPECT_EQ(input.accelerating, c.accelerating) << c.name;
  // The distance uses the speed before the change.
  EXPECT_EQ(clock.moveDistance, static_cast<float>(static_cast<double>(c.frameMs) * c.speed))
      << c.name;
}

// 0.00099999993 and 0.00049999997 are the rates as stored (one step under 0.001, 0.0005).
INSTANTIATE_TEST_SUITE_P(
    Rules, SpeedTest,
    ::testing::Values(
        SpeedCase{"accelerate", 0.0f, 16, true, false, 16 * 0.0009999999310821295, 1},
        SpeedCase{"reach top exactly", 0.49f, 16, true, false, 0.5, 1},
        SpeedCase{"roll", 0.1f, 16, false, false, 0.1f - 16 * 0.0004999999655410647, 0},
        SpeedCase{"roll to rest", 0.001f, 16, false, false, 0.0, 0},
        // Down wins: brake then roll, 0.0015 per ms in all.
        SpeedCase{"up and down", 0.3f, 10, true, true,
                  static_cast<float>(static_cast<float>(0.3f - 10 * 0.0009999999310821295) -
                                     10 * 0.0004999999655410647),
                  0},
        SpeedCase{"down while rolling back", -0.1f, 16, false, true, 0.0, 0},
        SpeedCase{"up while rolling back", -0.1f, 16, true, false,
                  -0.1f + 16 * 0.0004999999655410647, 1},
        SpeedCase{"rolling back overshoots zero", -0.001f, 16, false, false,
                  -0.001f + 16 * 0.0004999999655410647, 0},
        SpeedCase{"no time, no change", 0.2f, 0, true, false, 0.2f, 1}));

TEST(ControlsTest, LeftAndRightTogetherKeepTheHeadingAndStopTheSnap) {
  CarState car;
  car.heading = 123.0f;
  FrameClock clock;
  clock.frameMs = 16;
  ComputeTurnStep(clock);
  EXPECT_EQ(clock.turnStep, static_cast<float>(16 * static_cast<double>(0.15f)));
  DriverInput input;
  DriverKeys keys;
  keys.left = true;
  keys.right = true;
  ApplyControls(car, clock, input, keys);
  EXPECT_EQ(car.heading, 123.0f);
  EXPECT_EQ(input.steering, 1);
  EXPECT_EQ(input.quitRequested, 0);
}

TEST(ControlsTest, EscapeWithLeftStillTurns) {
  CarState car;
  car.heading = 90.0f;
  FrameClock clock;
  clock.turnStep = 2.5f;
  DriverInput input;
  input.steering = 1;
  DriverKeys keys;
  keys.escape = true;
  keys.left = true;
  ApplyControls(car, clock, input, keys);
  EXPECT_EQ(car.heading, 87.5f);
  EXPECT_EQ(input.quitRequested, 1);
  ApplyControls(car, clock, input, DriverKeys{});
  EXPECT_EQ(input.steering, 0);
}

struct RateCase {
  int32_t interval;
  int32_t previous;
  int32_t expected;
};

class FrameRateTest : public ::testing::TestWithParam<RateCase> {};

TEST_P(FrameRateTest, TruncatesAndKeepsOnZero) {
  FrameClock clock;
  clock.framesPerSecond = GetParam().previous;
  clock.fpsStartTick = 5000;
  MeasureFrameRate(clock, 5000 + GetParam().interval, 7777);
  EXPECT_EQ(clock.fpsInterval, GetParam().interval);
  EXPECT_EQ(clock.framesPerSecond, GetParam().expected);
  EXPECT_EQ(clock.fpsStartTick, 7777);
}

INSTANTIATE_TEST_SUITE_P(Examples, FrameRateTest,
                         ::testing::Values(RateCase{16, 0, 62}, RateCase{17, 0, 58},
                                           RateCase{1, 0, 1000}, RateCase{0, 0, 0},
                                           RateCase{0, 62, 62}, RateCase{3000, 9, 0}));

TEST(FrameTimingTest, MotionIntervalAcrossTheCounterWrap) {
  FrameClock clock;
  clock.moveStartTick = INT32_MAX - 5;
  MeasureMotionInterval(clock, INT32_MIN + 10, INT32_MIN + 11);
  EXPECT_EQ(clock.frameMs, 16);
  EXPECT_EQ(clock.moveStartTick, INT32_MIN + 11);
}

}  // namespace
}  // namespace velko
