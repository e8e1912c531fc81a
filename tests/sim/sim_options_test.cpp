#include "velko_sim/sim_options.h"

#include <gtest/gtest.h>

#include "game/trace_writer.h"

namespace velko::sim {
namespace {

std::optional<SimOptions> Parse(std::vector<std::string> arguments, std::string& error) {
  return ParseSimOptions(arguments, error);
}

TEST(SimOptionsTest, Defaults) {
  std::string error;
  const std::optional<SimOptions> options = Parse({"dir"}, error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->directory, "dir");
  EXPECT_TRUE(options->keysFile.empty());
  EXPECT_FALSE(options->frames);
  EXPECT_EQ(options->frameMs, 16u);
  EXPECT_EQ(options->startMs, 1000u);
  EXPECT_EQ(options->dialogActions, "ok");
  EXPECT_TRUE(options->sound);
  EXPECT_EQ(options->desktopDepth, 32);
  EXPECT_TRUE(options->traceFile.empty());
}

TEST(SimOptionsTest, EveryOption) {
  std::string error;
  const std::optional<SimOptions> options =
      Parse({"--keys", "k.txt", "--frames", "250", "--frame-ms", "7", "--start-ms", "0", "d",
             "--dialog", "select:1,ok", "--no-sound", "--desktop-depth", "16", "--trace", "-"},
            error);
  ASSERT_TRUE(options) << error;
  EXPECT_EQ(options->directory, "d");
  EXPECT_EQ(options->keysFile, "k.txt");
  EXPECT_EQ(options->frames, 250);
  EXPECT_EQ(options->frameMs, 7u);
  EXPECT_EQ(options->startMs, 0u);
  EXPECT_EQ(options->dialogActions, "select:1,ok");
  EXPECT_FALSE(options->sound);
  EXPECT_EQ(options->desktopDepth, 16);
  EXPECT_EQ(options->traceFile, "-");
}

struct BadCase {
  std::vector<std::string> arguments;
  const char* message;
};

class BadOptionsTest : public ::testing::TestWithParam<BadCase> {};

TEST_P(BadOptionsTest, AreRefusedWithAReason) {
  std::string error;
  EXPECT_FALSE(Parse(GetParam().arguments, error));
  EXPECT_NE(error.find(GetParam().message), std::string::npos) << error;
}

INSTANTIATE_TEST_SUITE_P(Cases, BadOptionsTest,
                         ::testing::Values(BadCase{{}, "no directory"},
                                           BadCase{{"d", "--fast"}, "unknown option"},
                                           BadCase{{"d", "--frames"}, "needs a value"},
                                           BadCase{{"d", "--frames", "0"}, "bad value"},
                                           BadCase{{"d", "--frames", "1000001"}, "bad value"},
                                           BadCase{{"d", "--frames", "12x"}, "bad value"},
                                           BadCase{{"d", "--frame-ms", "-1"}, "bad value"},
                                           BadCase{{"d", "--desktop-depth", "0"}, "bad value"},
                                           BadCase{{"d", "e"}, "more than one directory"}));

TEST(TraceLineTest, FieldsInTheirOrder) {
  GameState state;
  state.clock.moveStartTick = 2600;
  state.clock.frameMs = 100;
  state.clock.framesPerSecond = 10;
  state.car.heading = 273.0f;
  state.car.speed = -0.15f;
  state.car.screenX = 300.0f;
  state.car.screenY = 160.625f;
  state.car.scrollX = 0.1f;
  state.car.scrollY = 0.0f;
  state.car.canMove = 1;
  state.probes.DevantType1 = 1;
  state.probes.DevantType2 = -1;
  state.probes.DevantType3 = 5;
  state.probes.blocked = 1;
  state.crash.crashCount = 3;
  state.crash.bounceTick = 2600;
  state.crash.stopTick = 0;
  state.crash.carOpacity = 200;
  state.crashSoundsPlayed = 3;
  // Floats at nine significant digits: -0.15f is -0.150000006, 0.1f is 0.100000001.
  EXPECT_EQ(TraceLine(state, 26),
            "26,2600,100,10,273,-0.150000006,300,160.625,0.100000001,0,1,-1,5,1,1,3,2600,0,200,3");
  EXPECT_EQ(std::string(kTraceHeader),
            "frame,tick,frameMs,fps,heading,speed,screenX,screenY,scrollX,scrollY,type1,type2,"
            "type3,blocked,canMove,crashCount,bounceTick,stopTick,opacity,sounds");
}

}  // namespace
}  // namespace velko::sim
