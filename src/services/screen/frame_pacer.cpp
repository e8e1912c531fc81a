#include "services/screen/frame_pacer.h"

namespace velko {

int32_t FramePacer::SetCap(int32_t framesPerSecond) {
  const std::int64_t frequency = platform_.PerformanceFrequency();
  if (frequency <= 0) return 0;
  frameCap_ = framesPerSecond;
  // The rate plus one: a cap of 60 spaces presentations by 1/61 s. Only the low 32 bits of the
  // quotient are kept.
  const std::int64_t divisor = static_cast<std::int64_t>(framesPerSecond) + 1;
  const std::int64_t ticks = divisor != 0 ? frequency / divisor : 0;
  ticksPerFrame_ = static_cast<int32_t>(static_cast<std::uint32_t>(ticks));
  lastPresentStamp_ = 0;
  return 1;
}

void FramePacer::Reset() {
  frameCap_ = 0;
  ticksPerFrame_ = 0;
  lastPresentStamp_ = 0;
}

void FramePacer::Wait() {
  for (;;) {
    const std::int64_t reading = platform_.PerformanceCounter();
    const int32_t now = static_cast<int32_t>(static_cast<std::uint32_t>(reading));
    // The low 32 bits changed sign: restart the interval (0 never restarts it).
    if ((now < 0 && lastPresentStamp_ >= 0) || (now > 0 && lastPresentStamp_ <= 0)) {
      lastPresentStamp_ = now;
    }
    const std::int64_t elapsed = static_cast<std::int64_t>(now) - lastPresentStamp_;
    if (elapsed > ticksPerFrame_) {
      lastPresentStamp_ = now;
      return;
    }
    // Asleep until the first reading past the interval: no spinning on the counter.
    platform_.SleepUntilCounter(reading + (ticksPerFrame_ - elapsed) + 1);
  }
}

}  // namespace velko
