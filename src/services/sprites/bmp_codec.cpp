#include "services/sprites/bmp_codec.h"

#include <cstring>

namespace velko {
namespace {

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, size_t at) {
  return static_cast<std::uint32_t>(bytes[at]) | (static_cast<std::uint32_t>(bytes[at + 1]) << 8) |
         (static_cast<std::uint32_t>(bytes[at + 2]) << 16) |
         (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, size_t at) {
  return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void PutU32(std::vector<std::uint8_t>& out, size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

void PutU16(std::vector<std::uint8_t>& out, size_t at, std::uint16_t value) {
  out[at] = static_cast<std::uint8_t>(value);
  out[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kHeadersSize = kFileHeaderSize + kInfoHeaderSize;

// One stored pixel as the display's value.
std::uint32_t ConvertPixel(const std::uint8_t* p, int bitCount, int screenDepth) {
  if (bitCount == 16) {
    const std::uint32_t v = static_cast<std::uint32_t>(p[0] | (p[1] << 8));
    const std::uint32_t blue = v & 31;
    const std::uint32_t green = (v >> 5) & 31;
    const std::uint32_t red = (v >> 10) & 31;
    // RGB555 to RGB565 leaves green's lowest bit 0; to 24/32 bits no low bits are filled.
    if (screenDepth == 16) return red * 2048 + green * 64 + blue;
    return red * 8 * 65536 + green * 8 * 256 + blue * 8;
  }
  const std::uint32_t blue = p[0];
  const std::uint32_t green = p[1];
  const std::uint32_t red = p[2];
  if (screenDepth == 16) return (red / 8) * 2048 + (green / 4) * 32 + blue / 8;
  return red * 65536 + green * 256 + blue;
}

}  // namespace

std::int64_t BmpRowBytes(std::int64_t width, int bitCount) {
  return (width * bitCount + 31) / 32 * 4;
}

std::optional<BmpHeader> ReadBmpHeader(std::span<const std::uint8_t> image) {
  if (image.size() < kHeadersSize) return std::nullopt;
  if (image[0] != 0x42 || image[1] != 0x4D) return std::nullopt;
  // Older core headers keep their sizes elsewhere; reading them here would give nonsense.
  if (ReadU32(image, 14) < kInfoHeaderSize) return std::nullopt;
  BmpHeader header;
  header.dataOffset = ReadU32(image, 10);
  header.width = static_cast<std::int32_t>(ReadU32(image, 18));
  header.height = static_cast<std::int32_t>(ReadU32(image, 22));
  header.bitCount = ReadU16(image, 28);
  header.compression = ReadU32(image, 30);
  if (header.compression != 0) return std::nullopt;
  if (header.height < 0) return std::nullopt;  // top-down pictures are not read
  if (!PixelBuffer::SizeAllowed(header.width, header.height)) return std::nullopt;
  const int bits = header.bitCount;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return std::nullopt;
  // Every row the headers describe must be there: a short file is refused, never over-read.
  const std::int64_t needed = static_cast<std::int64_t>(header.dataOffset) +
                              BmpRowBytes(header.width, bits) * header.height;
  if (needed > static_cast<std::int64_t>(image.size())) return std::nullopt;
  return header;
}

bool DecodeBmpPixels(std::span<const std::uint8_t> image, const BmpHeader& header,
                     const Surface& target) {
  if (target.width != header.width || target.height != header.height) return false;
  const int bits = header.bitCount;
  const bool convertible = (target.depth == 8 && bits == 8) ||
                           ((target.depth == 16 || target.depth == 24 || target.depth == 32) &&
                            (bits == 16 || bits == 24 || bits == 32));
  if (!convertible) return false;
  const std::int64_t rowBytes = BmpRowBytes(header.width, bits);
  const int stride = bits / 8;
  for (int r = 0; r < header.height; ++r) {
    const std::uint8_t* row = image.data() + header.dataOffset + rowBytes * r;
    const int y = header.height - 1 - r;
    if (bits == 8) {
      // A palette index, the colour table ignored.
      std::memcpy(target.Row(y), row, static_cast<size_t>(header.width));
      continue;
    }
    for (int x = 0; x < header.width; ++x) {
      target.Set(x, y,
                 ConvertPixel(row + static_cast<std::ptrdiff_t>(x) * stride, bits, target.depth));
    }
  }
  return true;
}

std::vector<std::uint8_t> EncodeBmp24(const Surface& source) {
  if (source.depth != 16 && source.depth != 24 && source.depth != 32) return {};
  const std::int64_t width = source.width;
  const std::int64_t height = source.height;
  const std::int64_t rowBytes = 3 * width + width % 4;
  const std::int64_t imageSize = height * rowBytes;
  std::vector<std::uint8_t> out(kHeadersSize + static_cast<size_t>(imageSize), 0);
  out[0] = 'B';
  out[1] = 'M';
  PutU32(out, 2, static_cast<std::uint32_t>(kHeadersSize + imageSize));
  PutU32(out, 10, kHeadersSize);
  PutU32(out, 14, kInfoHeaderSize);
  PutU32(out, 18, static_cast<std::uint32_t>(width));
  PutU32(out, 22, static_cast<std::uint32_t>(height));
  PutU16(out, 26, 1);
  PutU16(out, 28, 24);
  PutU32(out, 34, static_cast<std::uint32_t>(imageSize));
  for (int i = 0; i < source.height; ++i) {
    std::uint8_t* row = out.data() + kHeadersSize + rowBytes * i;
    const int y = source.height - 1 - i;
    for (int x = 0; x < source.width; ++x) {
      std::uint8_t* p = row + 3 * x;
      if (source.depth == 16) {
        const std::uint32_t v = source.Get(x, y);
        p[2] = static_cast<std::uint8_t>(((v >> 11) & 31) * 8);
        p[1] = static_cast<std::uint8_t>(((v >> 5) & 63) * 4);
        p[0] = static_cast<std::uint8_t>((v & 31) * 8);
      } else {
        std::memcpy(p, source.At(x, y), 3);
      }
    }
  }
  return out;
}

}  // namespace velko
