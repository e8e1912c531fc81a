#include "services/sound/wave_image.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace velko {
namespace {

constexpr size_t kFormatChunkHeader = 12;  // "fmt " sits right after "RIFF", size, "WAVE"
constexpr size_t kFormatBlockStart = 20;
constexpr size_t kChunkHeaderSize = 8;
constexpr uint32_t kPcmFormatBlockSize = 16;
// An extensible format block: the 16 plain bytes, the extra size, valid bits, channel mask,
// then the sub-format GUID whose first two bytes are the real format tag.
constexpr uint32_t kExtensibleFormatBlockSize = 40;
constexpr size_t kSubFormatOffset = 24;

uint16_t ReadUint16(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

uint32_t ReadUint32(std::span<const uint8_t> bytes, size_t at) {
  return static_cast<uint32_t>(bytes[at]) | (static_cast<uint32_t>(bytes[at + 1]) << 8) |
         (static_cast<uint32_t>(bytes[at + 2]) << 16) |
         (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

bool HasTag(std::span<const uint8_t> bytes, size_t at, std::string_view tag) {
  return bytes.size() >= at + tag.size() &&
         std::memcmp(bytes.data() + at, tag.data(), tag.size()) == 0;
}

}  // namespace

bool LooksLikeWave(std::span<const uint8_t> image) {
  return HasTag(image, 0, "RIFF") && HasTag(image, kFormatChunkHeader, "fmt ");
}

std::optional<WaveImage> ParseWaveImage(std::span<const uint8_t> image) {
  if (!LooksLikeWave(image) || image.size() < kFormatBlockStart) return std::nullopt;

  const uint32_t formatSize = ReadUint32(image, 16);
  if (formatSize < kPcmFormatBlockSize || formatSize > image.size() - kFormatBlockStart) {
    return std::nullopt;
  }
  const auto formatBlock = image.subspan(kFormatBlockStart, formatSize);

  WaveImage wave;
  wave.format.formatTag = ReadUint16(formatBlock, 0);
  wave.format.channels = ReadUint16(formatBlock, 2);
  const uint32_t sampleRate = ReadUint32(formatBlock, 4);
  wave.format.blockAlign = ReadUint16(formatBlock, 12);
  wave.format.bitsPerSample = ReadUint16(formatBlock, 14);
  if (wave.format.formatTag == kWaveFormatExtensible && formatSize >= kExtensibleFormatBlockSize) {
    wave.format.formatTag = ReadUint16(formatBlock, kSubFormatOffset);
  }
  if (wave.format.channels == 0 || sampleRate == 0 || sampleRate > INT32_MAX ||
      wave.format.blockAlign == 0) {
    return std::nullopt;
  }
  wave.format.sampleRate = static_cast<int>(sampleRate);

  // Walk the chunks after the format block until the data. Chunks of odd size are followed by
  // a pad byte, except that a data chunk found right after an odd chunk is taken as it stands.
  size_t at = kFormatBlockStart + formatSize;
  bool padPending = (formatSize & 1) != 0;
  while (true) {
    if (padPending && !HasTag(image, at, "data")) ++at;
    if (image.size() < kChunkHeaderSize || at > image.size() - kChunkHeaderSize) {
      return std::nullopt;
    }
    const uint32_t chunkSize = ReadUint32(image, at + 4);
    const size_t body = at + kChunkHeaderSize;
    const size_t available = image.size() - body;
    if (HasTag(image, at, "data")) {
      size_t length = chunkSize < available ? chunkSize : available;
      const size_t frame = static_cast<size_t>(wave.format.blockAlign);
      length -= length % frame;
      if (length == 0) return std::nullopt;
      wave.samples = image.subspan(body, length);
      return wave;
    }
    if (chunkSize >= available) return std::nullopt;
    at = body + chunkSize;
    padPending = (chunkSize & 1) != 0;
  }
}

}  // namespace velko
