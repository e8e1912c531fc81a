// BMP pictures: the headers the loader reads, the conversion of their rows to the display's
// pixel format, and the 24-bit layout screenshots are saved in.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "services/screen/pixel_buffer.h"

namespace velko {

struct BmpHeader {
  std::uint32_t dataOffset = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::uint16_t bitCount = 0;
  std::uint32_t compression = 0;
};

// Bytes of one stored row: the pixels padded to a multiple of 4.
std::int64_t BmpRowBytes(std::int64_t width, int bitCount);

// The headers of an uncompressed, bottom-up picture whose rows all lie inside the image, or
// nothing. Refused: no "BM", headers cut short or older than the 40-byte information header,
// compression, a negative (top-down) or zero size, a size beyond what a buffer may hold, bit
// counts other than 8, 16, 24 and 32, and pixel rows running past the end of the image.
std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> image);

// Writes the rows of a checked picture into `target` (same width and height) converted to its
// depth: 16 (RGB565), 24 or 32 from 16-, 24- and 32-bit pictures, 8 from 8-bit ones. File row
// r goes to row height - 1 - r. False when the pair of depths has no conversion.
bool DecodeBmpPixels(std::span<const std::uint8_t> image, const BmpHeader& header,
                     const Surface& target);

// The whole 24-bit BMP file of a 16-, 24- or 32-bit surface (54 bytes of headers, bottom row
// first, rows padded by width mod 4 zero bytes); empty for any other depth.
std::vector<std::uint8_t> EncodeBmp24(const Surface& source);

}  // namespace velko
