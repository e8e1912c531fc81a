// Frame-rate and motion-interval measurement, the first timing steps of every frame.
#pragma once

#include <cstdint>

#include "game/game_state.h"

namespace velko {

// Frame rate from the interval since the previous pass; `now` and `restart` are two readings.
void MeasureFrameRate(FrameClock& clock, int32_t now, int32_t restart);

// The time the car moves by in this frame; `now` and `restart` are two readings.
void MeasureMotionInterval(FrameClock& clock, int32_t now, int32_t restart);

// The turn applied per steering key at the end of the frame.
void ComputeTurnStep(FrameClock& clock);

}  // namespace velko
