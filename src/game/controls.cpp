#include "game/controls.h"

#include <cmath>

#include "game/frame_numbers.h"

namespace velko {
namespace {

float HeadingRadians(float degrees) {
  // Multiplied and divided in double before the store; in float32 alone 11 of the 37 snapped
  // headings would come out one step off and replays would drift.
  return static_cast<float>(static_cast<double>(degrees) * static_cast<double>(kTwoPi) / 360.0);
}

}  // namespace

void WrapHeading(CarState& car) {
  if (car.heading < 0.0f)
    car.heading = static_cast<float>(static_cast<double>(car.heading) + 360.0);
  if (car.heading > 360.0f)
    car.heading = static_cast<float>(static_cast<double>(car.heading) - 360.0);
}

void SnapHeading(CarState& car, const DriverInput& input) {
  if (input.steering != 0) return;
  const double whole = Nearest(car.heading);
  car.heading = static_cast<float>(Nearest(whole / 10.0) * 10.0);
}

void ConvertHeading(CarState& car) {
  car.headingRadians = HeadingRadians(car.heading);
}

float AngleToRadians(float degrees) {
  // So far out that taking 360 away no longer changes it, the loops below would never end.
  if (!std::isfinite(degrees)) return HeadingRadians(degrees);
  if (std::fabs(degrees) > 1.0e6f) {
    // The loops stop on 360 coming down and on +0 coming up; fmod alone gives ±0 for both.
    const double rest = std::fmod(static_cast<double>(degrees), 360.0);
    degrees = rest != 0.0 ? static_cast<float>(rest) : degrees > 0.0f ? 360.0f : 0.0f;
  }
  while (degrees > 360.0f) degrees = static_cast<float>(static_cast<double>(degrees) - 360.0);
  while (degrees < 0.0f) degrees = static_cast<float>(static_cast<double>(degrees) + 360.0);
  return HeadingRadians(degrees);
}

void UpdateSpeed(CarState& car, FrameClock& clock, DriverInput& input, const DriverKeys& keys) {
  const double frameMs = clock.frameMs;
  clock.moveDistance = static_cast<float>(frameMs * car.speed);
  input.accelerating = keys.up ? 1 : 0;
  if (keys.down) {
    const double v = car.speed - frameMs * kRate001;
    car.speed = v >= 0.0 ? static_cast<float>(v) : 0.0f;
    input.accelerating = 0;
  }
  if (car.speed >= 0.0f) {
    if (input.accelerating == 1) {
      const double v = car.speed + frameMs * kRate001;
      car.speed = v < kTopSpeed ? static_cast<float>(v) : kTopSpeed;
    } else {
      const double v = car.speed - frameMs * kRate0005;
      car.speed = v >= 0.0 ? static_cast<float>(v) : 0.0f;
    }
  }
  // Rolling back after a bounce: the loss works towards 0 and may overshoot it slightly.
  if (car.speed < 0.0f) car.speed = static_cast<float>(car.speed + frameMs * kRate0005);
}

void ApplyControls(CarState& car, const FrameClock& clock, DriverInput& input,
                   const DriverKeys& keys) {
  input.steering = 0;
  if (keys.escape) input.quitRequested = 1;
  // Both keys subtract, store, add and store: the heading may not come back bit for bit.
  if (keys.left) {
    car.heading = static_cast<float>(static_cast<double>(car.heading) - clock.turnStep);
    input.steering = 1;
  }
  if (keys.right) {
    car.heading = static_cast<float>(static_cast<double>(car.heading) + clock.turnStep);
    input.steering = 1;
  }
}

}  // namespace velko
