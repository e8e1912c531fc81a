// What an obstacle does to the car: a fast impact bounces it back with the crash sound, a
// slow one holds it still for half a second, and the third bounce sets it skidding.
#pragma once

#include <cstdint>
#include <functional>

#include "game/game_state.h"

namespace velko {

inline constexpr int32_t kSkidBounces = 3;
inline constexpr int32_t kSkidMs = 2000;
inline constexpr int32_t kStopMs = 500;
inline constexpr uint8_t kOpaque = 255;
inline constexpr uint8_t kSkidOpacity = 200;

// Bounce or stop; true when the car bounced (the caller plays the crash sound).
bool Crash(CarState& car, const ProbeState& probes, CrashState& crash, int32_t now);

// Skid phase: opacity, and a heading jitter of `drawUpTo8`() - 4 degrees while moving forward.
void Skid(CarState& car, CrashState& crash, int32_t now, const std::function<int32_t()>& drawUpTo8);

// Stop phase: the car is held for 501 ms or more.
void StopPhase(CarState& car, CrashState& crash, int32_t now);

}  // namespace velko
