// Reading a whole WAV file held in memory: its sample format and where its samples lie.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "platform/platform.h"

namespace velko {

struct WaveImage {
  platform::WaveFormat format;
  // The sample bytes inside the image, whole sample frames only.
  std::span<const uint8_t> samples;
};

// Wave format tags the reader knows; an extensible format is reported by its sub-format.
inline constexpr int kWaveFormatPcm = 1;
inline constexpr int kWaveFormatFloat = 3;
inline constexpr int kWaveFormatExtensible = 0xFFFE;

// The format and samples of a WAV image, or nothing when it is not one: it must start with
// "RIFF", hold "fmt " at offset 12 with a format block of at least 16 bytes, and have a
// "data" chunk somewhere after it holding at least one sample frame. Chunks between the format
// and the data (fact, LIST) are skipped. Nothing beyond the image is ever read: a data chunk
// claiming more than the image holds is cut to what is there.
std::optional<WaveImage> ParseWaveImage(std::span<const uint8_t> image);

// True when the image passes the two checks made before a file is read as a sound:
// "RIFF" at offset 0 and "fmt " at offset 12.
bool LooksLikeWave(std::span<const uint8_t> image);

}  // namespace velko
