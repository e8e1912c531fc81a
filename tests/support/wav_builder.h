// Builds WAV file images for tests, byte by byte, so each case shows what its file holds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velko::testing {

inline void AppendUint16(std::vector<uint8_t>& out, uint32_t value) {
  out.push_back(static_cast<uint8_t>(value));
  out.push_back(static_cast<uint8_t>(value >> 8));
}

inline void AppendUint32(std::vector<uint8_t>& out, uint32_t value) {
  AppendUint16(out, value & 0xFFFF);
  AppendUint16(out, value >> 16);
}

inline void AppendTag(std::vector<uint8_t>& out, std::string_view tag) {
  out.insert(out.end(), tag.begin(), tag.end());
}

// A chunk with its header, and the pad byte after an odd body.
inline void AppendChunk(std::vector<uint8_t>& out, std::string_view id,
                        const std::vector<uint8_t>& body) {
  AppendTag(out, id);
  AppendUint32(out, static_cast<uint32_t>(body.size()));
  out.insert(out.end(), body.begin(), body.end());
  if (body.size() % 2 != 0) out.push_back(0);
}

struct WavShape {
  int formatTag = 1;
  int channels = 1;
  int sampleRate = 22050;
  int bitsPerSample = 16;
  std::vector<uint8_t> samples;
  std::vector<uint8_t> formatExtra;  // bytes after the 16 plain bytes of the format block
  // Chunks between the format and the data, in order.
  std::vector<std::pair<std::string, std::vector<uint8_t>>> chunksBeforeData;
  bool hasDataSizeOverride = false;
  uint32_t dataSizeOverride = 0;
};

inline std::vector<uint8_t> FormatBlock(const WavShape& shape) {
  std::vector<uint8_t> block;
  const int blockAlign = shape.channels * ((shape.bitsPerSample + 7) / 8);
  AppendUint16(block, static_cast<uint32_t>(shape.formatTag));
  AppendUint16(block, static_cast<uint32_t>(shape.channels));
  AppendUint32(block, static_cast<uint32_t>(shape.sampleRate));
  AppendUint32(block, static_cast<uint32_t>(shape.sampleRate * blockAlign));
  AppendUint16(block, static_cast<uint32_t>(blockAlign));
  AppendUint16(block, static_cast<uint32_t>(shape.bitsPerSample));
  block.insert(block.end(), shape.formatExtra.begin(), shape.formatExtra.end());
  return block;
}

inline std::vector<uint8_t> BuildWav(const WavShape& shape) {
  std::vector<uint8_t> body;
  AppendTag(body, "WAVE");
  AppendChunk(body, "fmt ", FormatBlock(shape));
  for (const auto& [id, chunk] : shape.chunksBeforeData) AppendChunk(body, id, chunk);
  AppendTag(body, "data");
  AppendUint32(body, shape.hasDataSizeOverride ? shape.dataSizeOverride
                                               : static_cast<uint32_t>(shape.samples.size()));
  body.insert(body.end(), shape.samples.begin(), shape.samples.end());
  std::vector<uint8_t> file;
  AppendTag(file, "RIFF");
  AppendUint32(file, static_cast<uint32_t>(body.size()));
  file.insert(file.end(), body.begin(), body.end());
  return file;
}

// Sample bytes that differ from one byte to the next and are never silent.
inline std::vector<uint8_t> PatternSamples(size_t count) {
  std::vector<uint8_t> samples(count);
  for (size_t i = 0; i < count; ++i) samples[i] = static_cast<uint8_t>(1 + (i * 37) % 251);
  return samples;
}

}  // namespace velko::testing
