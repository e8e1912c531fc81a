#include "game/frame_loop.h"

#include "game/controls.h"
#include "game/crash.h"
#include "game/frame_timing.h"
#include "game/motion.h"
#include "game/probes.h"
#include "game/screenshot.h"
#include "game/view_drawing.h"
#include "platform/scan_codes.h"

namespace velko {
namespace {

constexpr int32_t kCrashSound = 1;

bool Held(Operations& ops, int32_t code) {
  return ops.KeyIsDown(code) != 0;
}

// One pass of the frame, in the order the game has always kept.
void RunFrame(Operations& ops, GameState& state) {
  CarState& car = state.car;
  FrameClock& clock = state.clock;

  {
    const int32_t now = ops.MillisecondsNow();
    MeasureFrameRate(clock, now, ops.MillisecondsNow());
  }
  ops.KeyboardPoll();
  ops.ScreenFill(0, 0, 0);
  SplitScroll(car, state.view);
  DrawMap(ops, state.level, state.view);
  DrawCar(ops, car, state.crash);  // before this frame's wrap, snap and motion
  WrapHeading(car);
  SnapHeading(car, state.input);
  ConvertHeading(car);
  {
    const int32_t now = ops.MillisecondsNow();
    MeasureMotionInterval(clock, now, ops.MillisecondsNow());
  }

  DriverKeys speedKeys;
  speedKeys.up = Held(ops, platform::scan::kUp);
  speedKeys.down = Held(ops, platform::scan::kDown);
  UpdateSpeed(car, clock, state.input, speedKeys);
  MoveCar(car, clock, state.level.grid);

  ReadProbes(car, state.level, state.probes);
  TestSolidTiles(car, state.probes);
  TestHalfTiles(car, state.view, state.probes);
  if (Crash(car, state.probes, state.crash, ops.MillisecondsNow()) && state.soundAvailable != 0) {
    ops.AudioPlayOnce(kCrashSound);
    ++state.crashSoundsPlayed;
  }
  Skid(car, state.crash, ops.MillisecondsNow(), [&ops] { return ops.RandomUpTo(8); });
  StopPhase(car, state.crash, ops.MillisecondsNow());
  ComputeTurnStep(clock);

  DrawStatusLine(ops, clock, state.probes);
  if (ops.KeyWasLetGo(platform::scan::kF12) != 0) {
    SaveScreenshot(ops, state.shotName);
    // The time spent saving does not count as motion.
    clock.moveStartTick = ops.MillisecondsNow();
  }
  ops.ScreenPresent();

  DriverKeys endKeys;
  endKeys.escape = Held(ops, platform::scan::kEscape);
  endKeys.left = Held(ops, platform::scan::kLeft);
  endKeys.right = Held(ops, platform::scan::kRight);
  ApplyControls(car, clock, state.input, endKeys);
}

}  // namespace

void FrameLoopRun(Operations& ops, GameState& state, const FrameObserver& observer) {
  long frame = 0;
  do {
    RunFrame(ops, state);
    ++frame;
    if (observer) observer(state, frame);
  } while (state.input.quitRequested == 0);
}

}  // namespace velko
