// What a sound buffer may hold, and how its samples read: the one rule every backend applies
// to the samples of a WAV file, so that a sound plays on every platform or on none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/platform.h"

namespace velko::platform {

inline constexpr int kWavePcm = 1;
inline constexpr int kWaveFloat = 3;
// Rates a sound buffer may have; outside them a buffer is refused rather than resampled.
inline constexpr int kMinSampleRate = 100;
inline constexpr int kMaxSampleRate = 384000;
// The samples of one buffer as a backend keeps them for playing may not take more than this.
inline constexpr std::size_t kMaxPlayableBytes = std::size_t{256} << 20;

// True for PCM of 8, 16, 24 or 32 bits and float of 32 or 64 bits, with at least one channel,
// the block alignment of that layout and a rate within the limits above.
bool SampleFormatPlayable(const WaveFormat& format);

// Whole frames in `byteCount` bytes of a playable format.
std::size_t FrameCount(const WaveFormat& format, std::size_t byteCount);

// A playable format with at least one whole frame: what every backend accepts as a buffer
// (each may still refuse one too large for what it keeps).
inline bool SamplesPlayable(const WaveFormat& format, std::size_t byteCount) {
  return SampleFormatPlayable(format) && FrameCount(format, byteCount) > 0;
}

// One sample of a playable format from its little-endian bytes, in [-1, 1]: 8-bit PCM is
// unsigned, wider PCM signed; a float beyond full scale is clipped and one that is no number
// is silence.
float DecodeSample(const WaveFormat& format, const std::uint8_t* bytes);

// The sample of `channel` in frame `frame`.
inline float SampleAt(const WaveFormat& format, std::span<const std::uint8_t> samples,
                      std::size_t frame, int channel) {
  const auto containerBytes = static_cast<std::size_t>((format.bitsPerSample + 7) / 8);
  return DecodeSample(format, samples.data() + frame * static_cast<std::size_t>(format.blockAlign) +
                                  static_cast<std::size_t>(channel) * containerBytes);
}

}  // namespace velko::platform
