// Byte encoders for the game's data files, and the writing of a file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <vector>

#include "assetgen/rgb_image.h"

namespace velko::assetgen {

using Bytes = std::vector<std::uint8_t>;

struct MapCell {
  std::int16_t tile = 0;
  std::int16_t extra = 0;
};

// "level.map": columns, rows, two reserved bytes, the cells column by column, then the
// collision type of every tile. `cells` holds column c, row r at c * rows + r.
Bytes EncodeLevelMap(int columns, int rows, std::span<const MapCell> cells,
                     std::span<const std::int8_t> collisionTypes);

// Picture package: width, height, then the pixels column by column, each component stored
// with its top bit inverted.
Bytes EncodePackage(const RgbImage& image);

// Uncompressed 24-bit BMP, bottom row first, rows padded to 4 bytes, 54-byte header.
Bytes EncodeBmp24(const RgbImage& image);

// Canonical 44-byte-header WAV, 16-bit PCM mono.
Bytes EncodeWav16Mono(std::span<const std::int16_t> samples, int sampleRate);

// Writes the whole file; false when it could not be written completely.
bool WriteBytes(const std::filesystem::path& path, const Bytes& bytes);

}  // namespace velko::assetgen
