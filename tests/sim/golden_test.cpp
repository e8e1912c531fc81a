// Golden runs: small maps and key scripts through velko-sim, with the expected trace values
// worked out from the driving rules by hand (the arithmetic is in the comments).
//
// All runs use --frame-ms 100, so the figures stay round: the loading screen's present moves
// the clock once before the first frame, and frame N reads start + 100 * N.
// Rates as stored: 100 ms x 0.00099999993 = 0.099999993 per frame up, 0.049999997 rolling.
// Heading 270 points up: the front probe lies at screenY - 26 + 32 = screenY + 6.
#include <gtest/gtest.h>

#include <sstream>

#include "sim/sim_fixture.h"
#include "velko_sim/trace_reader.h"

namespace velko {
namespace {

using sim::Trace;
using testing::RunSim;
using testing::SimResult;
using testing::TempDir;

constexpr char kHeader[] =
    "frame,tick,frameMs,fps,heading,speed,screenX,screenY,scrollX,scrollY,type1,type2,type3,"
    "blocked,canMove,crashCount,bounceTick,stopTick,opacity,sounds";

// Checks "name=value name=value ..." against one frame of the trace.
void ExpectFrame(const Trace& trace, size_t frame, const std::string& expected) {
  std::istringstream pairs(expected);
  std::string pair;
  while (pairs >> pair) {
    const size_t equals = pair.find('=');
    ASSERT_NE(equals, std::string::npos) << pair;
    const std::string name = pair.substr(0, equals);
    EXPECT_EQ(trace.Field(frame, name), pair.substr(equals + 1))
        << "frame " << frame << ", " << name;
  }
}

class GoldenRun : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteCar(dir_);
    testing::WriteCrashSound(dir_);
    std::filesystem::create_directory(dir_.File("screenshots"));
  }

  Trace Run(const std::string& keys, std::vector<std::string> options) {
    dir_.Write("test.keys", keys);
    std::vector<std::string> arguments = {dir_.Path().string(),
                                          "--keys",
                                          dir_.File("test.keys").string(),
                                          "--frame-ms",
                                          "100",
                                          "--trace",
                                          "-"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    result_ = RunSim(dir_, arguments);
    EXPECT_EQ(result_.exitCode, 0) << result_.err;
    Trace trace(result_.out);
    EXPECT_EQ(trace.Header(), kHeader);
    return trace;
  }

  TempDir dir_;
  SimResult result_;
};

// 20 x 12 cells of free ground: 1000 pixels wide, so the view scrolls until scrollX is 200.
TEST_F(GoldenRun, CrossesTheThresholdAndScrollsToTheMapEnd) {
  testing::WriteLevelMap(dir_, 20, 12, [](int, int) { return 0; }, {0});
  const Trace trace =
      Run("1 RIGHT down  # turn right while standing\n"
          "8 RIGHT up\n"
          "8 UP down\n",
          {"--frames", "30"});
  ASSERT_EQ(trace.Frames(), 30u);
  // Start 1000, loading present 1100. The first frame measures 0 ms: no turn, no frame rate.
  ExpectFrame(trace, 1, "frame=1 tick=1100 frameMs=0 fps=0 heading=270 speed=0 screenX=300");
  // 100 ms x 0.15 = 15.000001, which 285 absorbs (half an ulp there is 0.0000153).
  ExpectFrame(trace, 2, "tick=1200 frameMs=100 fps=10 heading=285");
  ExpectFrame(trace, 7, "heading=360 speed=0 screenX=300 screenY=400");
  // Steering was held in frame 7: no snap; 360 stays 360. Speed 0.099999993 -> 0.099999994.
  ExpectFrame(trace, 8, "heading=360 speed=0.099999994 screenX=300");
  // 100 x 0.099999994 = 9.9999994: 309.9999994 stores as 310.
  ExpectFrame(trace, 9, "speed=0.199999988 screenX=310 scrollX=0");
  ExpectFrame(trace, 10, "speed=0.299999982 screenX=330");
  ExpectFrame(trace, 11, "speed=0.399999976 screenX=360");
  // 0.399999976 + 0.099999993 = 0.49999997, still under 0.5.
  ExpectFrame(trace, 12, "speed=0.49999997 screenX=400 scrollX=0");
  // screenX 400 is not past 400: the car moves on the screen. The speed reaches 0.5 exactly.
  ExpectFrame(trace, 13, "speed=0.5 screenX=450 scrollX=0");
  // 450 > 400, heading 360 > 270 and 1000 > 0 + 800: the map scrolls by 50 instead.
  ExpectFrame(trace, 14, "screenX=450 scrollX=50");
  ExpectFrame(trace, 17, "screenX=450 scrollX=200");
  // 1000 > 200 + 800 fails: the map has ended, the car drives on across the screen.
  ExpectFrame(trace, 18, "screenX=500 scrollX=200");
  ExpectFrame(trace, 22, "screenX=700 scrollX=200");
  // 750 + 64 > 800: held at 736.
  ExpectFrame(trace, 23, "screenX=736 scrollX=200");
  ExpectFrame(trace, 30,
              "tick=4000 heading=360 speed=0.5 screenX=736 screenY=400 scrollX=200 scrollY=0 "
              "type1=0 type2=0 type3=0 blocked=0 canMove=1 crashCount=0 opacity=255 sounds=0");
}

// Row 2 (map y 100 to 149) is solid all across; Up is held from frame 1 to 33. Start 0 seeds
// the generator with 0, whose draws of 0..8 begin 4, 7, 5, 3, 2.
class BounceRun : public GoldenRun {
 protected:
  Trace RunBounces(std::vector<std::string> extra) {
    testing::WriteLevelMap(dir_, 20, 12, [](int, int row) { return row == 2 ? 1 : 0; }, {0, 1});
    std::vector<std::string> options = {"--frames", "60", "--start-ms", "0"};
    options.insert(options.end(), extra.begin(), extra.end());
    return Run("1 UP down\n34 UP up\n", options);
  }
};

TEST_F(BounceRun, BouncesWithTheCrashSoundAndSkidsAfterTheThird) {
  const Trace trace = RunBounces({});
  ASSERT_EQ(trace.Frames(), 60u);
  // Up from frame 1; the first frame does not move. 400 -> 390 -> 370 -> 340 -> 300 -> 250
  // -> 200 -> 150 (frames 3 to 9; probe at 156, row 3, free).
  ExpectFrame(trace, 1, "tick=100 speed=0 screenY=400 canMove=1");
  ExpectFrame(trace, 9, "speed=0.5 screenY=150 type1=0 blocked=0");
  // Frame 10: screenY 100, probe at 106 in row 2. 0.5 > 0.1: a bounce at -0.25, sound 1.
  ExpectFrame(trace, 10,
              "tick=1000 speed=-0.25 screenY=100 type1=1 type2=1 type3=1 blocked=1 crashCount=1 "
              "bounceTick=1000 opacity=255 sounds=1");
  // Rolling back: 100 x -0.25 = -25 against heading 270 moves down; -0.25 + 0.049999997.
  // The probe still reads the wall, but a car rolling back is never blocked.
  ExpectFrame(trace, 11, "speed=-0.200000003 screenY=125 type1=1 blocked=0 sounds=1");
  // Second bounce at 0.24999997: -0.174999985 -> -0.174999982 as stored.
  ExpectFrame(trace, 19, "speed=-0.174999982 screenY=130 crashCount=2 bounceTick=1900 sounds=2");
  // Third bounce: the skid phase starts (opacity 200).
  ExpectFrame(trace, 26, "crashCount=3 bounceTick=2600 opacity=200 sounds=3");
  // Moving forward while skidding jitters the heading by draw - 4: 4, 7, 5 -> +0, +3, +1.
  ExpectFrame(trace, 30, "speed=0.037499994 heading=270 opacity=200");
  ExpectFrame(trace, 31, "heading=273");
  ExpectFrame(trace, 32, "heading=271");
  // Fourth bounce (speed negative: no draw). The next frame's snap brought 271 back to 270.
  ExpectFrame(trace, 33, "heading=270 speed=-0.168749988 crashCount=4 bounceTick=3300 sounds=4");
  // Up let go at 34; -0.018749997 + 0.049999997 = 0.03125 > 0: draw 3 -> 269.
  ExpectFrame(trace, 37, "speed=0.03125 heading=269");
  ExpectFrame(trace, 38, "speed=0 heading=270 screenY=160.625");
  // 5300 - 3300 = 2000 is not more than 2000: still skidding.
  ExpectFrame(trace, 53, "crashCount=4 bounceTick=3300 opacity=200");
  // 2100 > 2000: the count goes back to 0 (the car was drawn see-through this frame still).
  ExpectFrame(trace, 54, "crashCount=0 bounceTick=0 opacity=200");
  ExpectFrame(trace, 55, "crashCount=0 opacity=255 sounds=4 screenY=160.625");
}

TEST_F(BounceRun, WithoutSoundTheSameRunPlaysNothing) {
  const Trace trace = RunBounces({"--no-sound"});
  EXPECT_NE(result_.err.find("Erreur: Le programme ne peut pas jouer des sons"), std::string::npos)
      << result_.err;
  ExpectFrame(trace, 10, "speed=-0.25 crashCount=1 sounds=0");
  ExpectFrame(trace, 26, "crashCount=3 opacity=200 sounds=0");
  ExpectFrame(trace, 60, "sounds=0");
}

// Row 7 (map y 350 to 399) is solid; the car starts just below it at screenY 400.
TEST_F(GoldenRun, SlowImpactStopsAndScreenshotTakesTheFirstFreeNumber) {
  testing::WriteLevelMap(dir_, 20, 12, [](int, int row) { return row == 7 ? 1 : 0; }, {0, 1});
  dir_.Write("screenshots/screen000.bmp", "x");
  dir_.Write("screenshots/screen002.bmp", "x");
  const Trace trace =
      Run("1 UP down\n3 UP up\n"
          "6 UP down   # pushing against the wall during the stop\n"
          "9 UP up\n"
          "10 F12 down\n12 F12 up\n",
          {"--frames", "20"});
  ASSERT_EQ(trace.Frames(), 20u);
  ExpectFrame(trace, 2, "speed=0.099999994 screenY=400 type1=0");
  // Frame 3: 10 up to 390, probe at 396 in row 7; left probe at 390 + 10.45 (row 8), right
  // at 390 + 7.13 (row 7). Speed after rolling 0.049999997, not over 0.1: a stop.
  ExpectFrame(trace, 3,
              "tick=1300 speed=0 screenY=390 type1=1 type2=0 type3=1 blocked=1 canMove=0 "
              "stopTick=1300 crashCount=0 sounds=0");
  ExpectFrame(trace, 5, "speed=0 canMove=0 stopTick=1300 blocked=0");
  // Up during the stop: 0.099999994 blocks again and renews the stop; the car stays put.
  ExpectFrame(trace, 6, "speed=0 screenY=390 blocked=1 stopTick=1600");
  ExpectFrame(trace, 8, "speed=0 screenY=390 blocked=1 stopTick=1800");
  // 2300 - 1800 = 500 is not more than 500.
  ExpectFrame(trace, 13, "stopTick=1800 canMove=0");
  ExpectFrame(trace, 14, "stopTick=0 canMove=0");
  ExpectFrame(trace, 15, "stopTick=0 canMove=1 screenY=390");
  // F12 let go in frame 12: the gap at 001 is filled; nothing else is written.
  ASSERT_TRUE(dir_.Exists("screenshots/screen001.bmp"));
  EXPECT_EQ(dir_.Read("screenshots/screen001.bmp").substr(0, 2), "BM");
  EXPECT_FALSE(dir_.Exists("screenshots/screen003.bmp"));
  EXPECT_EQ(dir_.Read("screenshots/screen000.bmp"), "x");
  EXPECT_EQ(dir_.Read("screenshots/screen002.bmp"), "x");
  ExpectFrame(trace, 12, "tick=2200");
  ExpectFrame(trace, 13, "tick=2300 frameMs=100");
}

}  // namespace
}  // namespace velko
