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
  ticksPerMillisecond_ = frequency / 1000;
  return 1;
}

void FramePacer::Reset() {
  frameCap_ = 0;
  ticksPerFrame_ = 0;
  lastPresentStamp_ = 0;
}

int32_t FramePacer::Now() {
  // The low 32 bits of the count, read as a signed value.
  return static_cast<int32_t>(static_cast<std::uint32_t>(platform_.PerformanceCounter()));
}

void FramePacer::Wait() {
  for (;;) {
    const int32_t now = Now();
    // The low 32 bits changed sign: restart the interval (0 never restarts it).
    if ((now < 0 && lastPresentStamp_ >= 0) || (now > 0 && lastPresentStamp_ <= 0)) {
      lastPresentStamp_ = now;
    }
    const std::int64_t elapsed = static_cast<std::int64_t>(now) - lastPresentStamp_;
    if (elapsed > ticksPerFrame_) {
      lastPresentStamp_ = now;
      return;
    }
    // Sleep away whole milliseconds but the last one, then poll.
    const std::int64_t remaining = static_cast<std::int64_t>(ticksPerFrame_) - elapsed;
    if (ticksPerMillisecond_ > 0) {
      const std::int64_t wholeMs = remaining / ticksPerMillisecond_;
      if (wholeMs > 1) platform_.SleepMilliseconds(static_cast<std::uint32_t>(wholeMs - 1));
    }
  }
}

}  // namespace velko
