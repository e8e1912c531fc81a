// The presentation cap: spaces the ends of two presentations by more than ticksPerFrame
// performance-counter ticks.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace velko {

class FramePacer {
 public:
  explicit FramePacer(platform::Platform& platform) : platform_(platform) {}

  // 0 (and nothing changed) when the machine has no performance counter.
  int32_t SetCap(int32_t framesPerSecond);
  void Reset();

  // Waits until more than ticksPerFrame ticks have passed since the last capped presentation,
  // asleep to that deadline (the low 32 bits of the counter, read as signed, decide it).
  void Wait();

  int32_t FrameCap() const { return frameCap_; }
  int32_t TicksPerFrame() const { return ticksPerFrame_; }
  int32_t LastPresentStamp() const { return lastPresentStamp_; }

 private:
  platform::Platform& platform_;
  int32_t frameCap_ = 0;
  int32_t ticksPerFrame_ = 0;
  int32_t lastPresentStamp_ = 0;
};

}  // namespace velko
