#include "platform/sound_samples.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace velko::platform {

bool SampleFormatPlayable(const WaveFormat& format) {
  const int containerBytes = (format.bitsPerSample + 7) / 8;
  if (format.formatTag == kWavePcm) {
    if (containerBytes < 1 || containerBytes > 4) return false;
  } else if (format.formatTag == kWaveFloat) {
    if (containerBytes != 4 && containerBytes != 8) return false;
  } else {
    return false;
  }
  if (format.channels <= 0 || format.blockAlign != format.channels * containerBytes) return false;
  return format.sampleRate >= kMinSampleRate && format.sampleRate <= kMaxSampleRate;
}

std::size_t FrameCount(const WaveFormat& format, std::size_t byteCount) {
  if (format.blockAlign <= 0) return 0;
  return byteCount / static_cast<std::size_t>(format.blockAlign);
}

float DecodeSample(const WaveFormat& format, const std::uint8_t* bytes) {
  const int containerBytes = (format.bitsPerSample + 7) / 8;
  if (format.formatTag == kWaveFloat) {
    double value = 0.0;
    if (containerBytes == 4) {
      std::uint32_t bits = 0;
      for (int b = 3; b >= 0; --b) bits = (bits << 8) | bytes[b];
      float narrow;
      std::memcpy(&narrow, &bits, sizeof narrow);
      value = narrow;
    } else {
      std::uint64_t bits = 0;
      for (int b = 7; b >= 0; --b) bits = (bits << 8) | bytes[b];
      std::memcpy(&value, &bits, sizeof value);
    }
    return std::isfinite(value) ? static_cast<float>(std::clamp(value, -1.0, 1.0)) : 0.0f;
  }
  if (containerBytes == 1) return (static_cast<float>(bytes[0]) - 128.0f) / 128.0f;
  // Signed, the top byte last: read as the high bytes of a 32-bit value.
  std::uint32_t bits = 0;
  for (int b = containerBytes - 1; b >= 0; --b) bits = (bits << 8) | bytes[b];
  bits <<= 8 * (4 - containerBytes);
  return static_cast<float>(static_cast<std::int32_t>(bits)) / 2147483648.0f;
}

}  // namespace velko::platform
