// Sound buffers mixed in software, for a backend whose system audio takes finished samples:
// each buffer is converted once, when it is made, to the output's rate and channel count as
// 16-bit samples, so playing only moves a position. The mixer does no locking; a backend whose
// device pulls samples on another thread guards it with its own lock.
#pragma once

#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "platform/platform.h"

namespace velko::platform {

// The samples of a PCM (8, 16, 24, 32 bits) or float (32, 64 bits) buffer as interleaved
// 16-bit samples at `outputRate` with `outputChannels`, resampled linearly. Empty when the
// format cannot be played or the result would be unreasonably large.
std::vector<std::int16_t> ConvertSamples(const WaveFormat& format,
                                         std::span<const std::uint8_t> samples, int outputRate,
                                         int outputChannels);

class SoftwareMixer {
 public:
  SoftwareMixer(int outputRate, int outputChannels)
      : outputRate_(outputRate), outputChannels_(outputChannels) {}

  int OutputRate() const { return outputRate_; }
  int OutputChannels() const { return outputChannels_; }

  // A buffer from the sound's own samples; its id (non-zero), or 0 when refused.
  int Add(const WaveFormat& format, std::span<const std::uint8_t> samples);
  // A buffer already in the output's format.
  int AddConverted(std::vector<std::int16_t> samples);
  // Rewinds the buffer and starts it once or looping.
  void Play(int buffer, bool loop);
  void Stop(int buffer);
  void Free(int buffer);
  // Fills `output` (interleaved, the output's channel count) with the sum of every playing
  // buffer, clipped; silence when none plays.
  void Mix(std::span<std::int16_t> output);

 private:
  struct Voice {
    std::vector<std::int16_t> samples;
    std::size_t position = 0;  // next sample to mix
    bool playing = false;
    bool loop = false;
  };

  int outputRate_;
  int outputChannels_;
  std::map<int, Voice> voices_;
  int nextId_ = 1;
  std::vector<std::int32_t> sum_;  // the mixing sums of one call
};

}  // namespace velko::platform
