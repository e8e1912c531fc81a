// Heading and speed: the wrap and snap of the heading, its radians, the speed from Up and
// Down, and the steering and quit keys read at the end of the frame.
#pragma once

#include "game/game_state.h"

namespace velko {

// The keys of one snapshot that the controls look at.
struct DriverKeys {
  bool up = false;
  bool down = false;
  bool left = false;
  bool right = false;
  bool escape = false;
};

// Once each: below 0 gains 360, then above 360 loses 360; 360 itself stays.
void WrapHeading(CarState& car);

// Without a steering key the heading settles on the nearest multiple of 10 degrees.
void SnapHeading(CarState& car, const DriverInput& input);

void ConvertHeading(CarState& car);

// Degrees brought into 0..360 (360 stays), as float32 radians.
float AngleToRadians(float degrees);

// Distance of this frame from the speed before its change, then the new speed.
void UpdateSpeed(CarState& car, FrameClock& clock, DriverInput& input, const DriverKeys& keys);

// End of the frame: steering, and the quit request.
void ApplyControls(CarState& car, const FrameClock& clock, DriverInput& input,
                   const DriverKeys& keys);

}  // namespace velko
