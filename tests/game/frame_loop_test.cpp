#include "game/frame_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>

#include "game/level_builder.h"
#include "platform/scan_codes.h"
#include "support/recording_operations.h"

namespace velko {
namespace {

using testing::MakeLevel;
using testing::RecordingOperations;

using platform::scan::kEscape;
using platform::scan::kF12;
using platform::scan::kLeft;
using platform::scan::kUp;

// The start-up's values: heading 270 at (300, 400), both ticks read at 1000.
GameState StartState(int32_t now) {
  GameState state;
  state.level = MakeLevel(60, 50, 0, {0});
  state.clock.moveStartTick = now;
  state.clock.fpsStartTick = now;
  state.soundAvailable = 1;
  return state;
}

struct LoopRun {
  std::vector<GameState> frames;  // the state after each pass
};

LoopRun RunUntilQuit(RecordingOperations& ops, GameState& state) {
  LoopRun run;
  FrameLoopRun(ops, state, [&run](const GameState& s, long frame) {
    EXPECT_EQ(frame, static_cast<long>(run.frames.size()) + 1);
    run.frames.push_back(s);
  });
  return run;
}

TEST(FrameLoopTest, FirstFrameDoesNotMoveEvenWithUpHeld) {
  RecordingOperations ops;
  ops.keysForPoll = [](int poll) {
    std::set<int32_t> keys{kUp};
    if (poll == 3) keys.insert(kEscape);
    return keys;
  };
  GameState state = StartState(ops.now);
  const LoopRun run = RunUntilQuit(ops, state);
  ASSERT_EQ(run.frames.size(), 3u);
  // Frame 1: frameMs 0 (no present yet), canMove 0 while moving.
  EXPECT_EQ(run.frames[0].clock.frameMs, 0);
  EXPECT_EQ(run.frames[0].car.speed, 0.0f);
  EXPECT_EQ(run.frames[0].car.screenY, 400.0f);
  EXPECT_EQ(run.frames[0].car.canMove, 1);
  // Frame 2: 16 ms at the speed of frame 1 (0): no distance yet, but the speed rises.
  EXPECT_EQ(run.frames[1].clock.frameMs, 16);
  EXPECT_EQ(run.frames[1].car.speed, static_cast<float>(16 * 0.0009999999310821295));
  EXPECT_EQ(run.frames[1].car.screenY, 400.0f);
  // Frame 3: moves up by 16 x that speed.
  EXPECT_LT(run.frames[2].car.screenY, 400.0f);
  EXPECT_EQ(run.frames[2].input.quitRequested, 1);
}

TEST(FrameLoopTest, FrameRateOfTheFirstFramesAndTheQuittingPass) {
  RecordingOperations ops;
  ops.keysForPoll = [](int poll) {
    return poll == 2 ? std::set<int32_t>{kEscape, kLeft} : std::set<int32_t>{};
  };
  GameState state = StartState(ops.now);
  const LoopRun run = RunUntilQuit(ops, state);
  ASSERT_EQ(run.frames.size(), 2u);                   // the quitting pass is observed
  EXPECT_EQ(run.frames[0].clock.framesPerSecond, 0);  // 0 ms before the first frame
  EXPECT_EQ(run.frames[1].clock.framesPerSecond, 62);
  // Escape and Left together: the pass still turns the car (16 x 0.15 = 2.4).
  EXPECT_EQ(run.frames[1].car.heading, static_cast<float>(270.0 - static_cast<float>(16 * 0.15f)));
  EXPECT_EQ(run.frames[1].input.steering, 1);
}

TEST(FrameLoopTest, StepsComeInTheirOrder) {
  RecordingOperations ops;
  ops.keysForPoll = [](int) { return std::set<int32_t>{kEscape}; };
  GameState state = StartState(ops.now);
  RunUntilQuit(ops, state);
  const auto at = [&ops](const std::string& prefix) {
    return std::find_if(ops.log.begin(), ops.log.end(),
                        [&](const std::string& e) { return e.rfind(prefix, 0) == 0; }) -
           ops.log.begin();
  };
  EXPECT_EQ(at("ScreenFill 0 0 0"), 0);
  EXPECT_LT(at("ScreenFill"), at("SpriteShow"));
  EXPECT_LT(at("SpriteShow"), at("TexturedSpriteRotate 1 270 0"));
  EXPECT_LT(at("TexturedSpriteShow 1 300 400 255"), at("DrawString FPS: 0 DevantType1: 0"));
  EXPECT_LT(at("DrawString"), at("ScreenPresent"));
  EXPECT_EQ(ops.presents, 1);
  EXPECT_EQ(ops.polls, 1);
}

TEST(FrameLoopTest, ReleasingF12SavesOnceAndRestartsTheMotionInterval) {
  RecordingOperations ops;
  ops.keysForPoll = [](int poll) {
    std::set<int32_t> keys;
    if (poll == 2 || poll == 3) keys.insert(kF12);  // released in frame 4
    if (poll == 6) keys.insert(kEscape);
    return keys;
  };
  GameState state = StartState(ops.now);
  const LoopRun run = RunUntilQuit(ops, state);
  ASSERT_EQ(run.frames.size(), 6u);
  const std::vector<std::string> expected = {"screenshots\\screen000.bmp"};
  EXPECT_EQ(ops.savedShots, expected);
  EXPECT_EQ(run.frames[3].shotName, "screenshots\\screen000.bmp");
  // The clock moves only at presents, so the restart reads the frame's own time again.
  EXPECT_EQ(run.frames[3].clock.moveStartTick, 1000 + 3 * 16);
  EXPECT_EQ(run.frames[4].clock.frameMs, 16);
}

TEST(FrameLoopTest, BounceCountsItsSound) {
  RecordingOperations ops;
  ops.keysForPoll = [](int poll) {
    return poll == 2 ? std::set<int32_t>{kEscape} : std::set<int32_t>{};
  };
  GameState state = StartState(ops.now);
  state.level = MakeLevel(60, 50, 1, {0, 1});  // every cell solid
  state.car.speed = 0.3f;
  const LoopRun run = RunUntilQuit(ops, state);
  // Frame 1: rolling 0 ms leaves 0.3; blocked, bounce: -0.15.
  EXPECT_EQ(run.frames[0].probes.blocked, 1);
  EXPECT_EQ(run.frames[0].car.speed, static_cast<float>(0.3f * -0.5));
  EXPECT_EQ(run.frames[0].crash.crashCount, 1);
  EXPECT_EQ(run.frames[0].crash.bounceTick, 1000);
  EXPECT_EQ(run.frames[0].crashSoundsPlayed, 1);
  EXPECT_EQ(ops.plays, 1);
  // Frame 2: rolling back is never blocked.
  EXPECT_EQ(run.frames[1].probes.blocked, 0);
  EXPECT_EQ(run.frames[1].crashSoundsPlayed, 1);
}

TEST(FrameLoopTest, SilentGameCountsNoSound) {
  RecordingOperations ops;
  ops.keysForPoll = [](int) { return std::set<int32_t>{kEscape}; };
  GameState state = StartState(ops.now);
  state.level = MakeLevel(60, 50, 1, {0, 1});
  state.car.speed = 0.3f;
  state.soundAvailable = 0;
  const LoopRun run = RunUntilQuit(ops, state);
  EXPECT_EQ(run.frames[0].crash.crashCount, 1);
  EXPECT_EQ(run.frames[0].crashSoundsPlayed, 0);
  EXPECT_EQ(ops.plays, 0);
}

// States no normal drive reaches (a position or heading that is no number or out of every
// range) and clocks about to wrap: each pass ends, and every value it works with stays
// defined (the sanitizer build checks the arithmetic).
TEST(FrameLoopTest, ExtremeStatesAndWrappingClocksRunToTheEnd) {
  const float inf = std::numeric_limits<float>::infinity();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    const char* what;
    std::function<void(GameState&)> set;
    int32_t startTick;
  };
  const Case cases[] = {
      {"position NaN", [&](GameState& s) { s.car.screenX = s.car.screenY = nan; }, 1000},
      {"position +inf", [&](GameState& s) { s.car.screenX = s.car.screenY = inf; }, 1000},
      {"position -1e30", [&](GameState& s) { s.car.screenX = s.car.screenY = -1e30f; }, 1000},
      {"scroll NaN", [&](GameState& s) { s.car.scrollX = s.car.scrollY = nan; }, 1000},
      {"scroll +inf", [&](GameState& s) { s.car.scrollX = s.car.scrollY = inf; }, 1000},
      {"heading +inf", [&](GameState& s) { s.car.heading = inf; }, 1000},
      {"heading 1e10", [&](GameState& s) { s.car.heading = 1e10f; }, 1000},
      {"heading NaN", [&](GameState& s) { s.car.heading = nan; }, 1000},
      {"speed NaN", [&](GameState& s) { s.car.speed = nan; }, 1000},
      {"signed wrap",
       [](GameState& s) {
         s.crash = {3, 2147483600, 2147483600, 200};
       },
       2147483600},
      {"unsigned wrap",
       [](GameState& s) {
         s.crash = {3, -40, -40, 200};
       },
       -40},
  };
  for (const Case& c : cases) {
    RecordingOperations ops;
    ops.now = c.startTick;
    ops.keysForPoll = [](int poll) {
      std::set<int32_t> keys{kUp, kLeft};
      if (poll == 4) keys.insert(kEscape);
      return keys;
    };
    GameState state = StartState(ops.now);
    state.level = MakeLevel(60, 50, 1, {0, 1});
    c.set(state);
    const LoopRun run = RunUntilQuit(ops, state);
    ASSERT_EQ(run.frames.size(), 4u) << c.what;
    // The clock's differences stay right across both wraps: 16 ms a frame.
    EXPECT_EQ(run.frames[3].clock.frameMs, 16) << c.what;
    EXPECT_EQ(run.frames[3].clock.framesPerSecond, 62) << c.what;
  }
}

}  // namespace
}  // namespace velko
