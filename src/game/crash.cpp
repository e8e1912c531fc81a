#include "game/crash.h"

#include "game/frame_numbers.h"

namespace velko {

bool Crash(CarState& car, const ProbeState& probes, CrashState& crash, int32_t now) {
  car.canMove = 1;
  if (probes.blocked != 1 || !(car.speed > 0.0f)) return false;
  if (car.speed > kBounceSpeed) {
    crash.crashCount += 1;
    crash.bounceTick = now;
    car.speed = static_cast<float>(static_cast<double>(car.speed) * kBounceFactor);
    return true;
  }
  car.canMove = 0;
  crash.stopTick = now;
  return false;
}

void Skid(CarState& car, CrashState& crash, int32_t now,
          const std::function<int32_t()>& drawUpTo8) {
  crash.carOpacity = kOpaque;
  // A stop phase suspends the skid, its 2000 ms test included.
  if (crash.bounceTick == 0 || crash.crashCount < kSkidBounces || crash.stopTick != 0) return;
  crash.carOpacity = kSkidOpacity;
  if (car.speed > 0.0f) {
    const int32_t r = drawUpTo8();
    car.heading = static_cast<float>(static_cast<double>(car.heading) + r - 4);
  }
  if (TickDifference(now, crash.bounceTick) > kSkidMs) {
    crash.bounceTick = 0;
    crash.crashCount = 0;
  }
}

void StopPhase(CarState& car, CrashState& crash, int32_t now) {
  if (crash.stopTick == 0) return;
  car.speed = 0.0f;
  car.canMove = 0;
  if (TickDifference(now, crash.stopTick) > kStopMs) crash.stopTick = 0;
}

}  // namespace velko
