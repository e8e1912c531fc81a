#include "game/frame_timing.h"

#include "game/frame_numbers.h"

namespace velko {

void MeasureFrameRate(FrameClock& clock, int32_t now, int32_t restart) {
  clock.fpsInterval = TickDifference(now, clock.fpsStartTick);
  // A pass under a millisecond keeps the previous figure.
  if (clock.fpsInterval >= 1) clock.framesPerSecond = 1000 / clock.fpsInterval;
  clock.fpsStartTick = restart;
}

void MeasureMotionInterval(FrameClock& clock, int32_t now, int32_t restart) {
  clock.frameMs = TickDifference(now, clock.moveStartTick);
  clock.moveStartTick = restart;
}

void ComputeTurnStep(FrameClock& clock) {
  clock.turnStep = static_cast<float>(static_cast<double>(clock.frameMs) * kTurnRate);
}

}  // namespace velko
