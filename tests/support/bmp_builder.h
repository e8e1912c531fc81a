// BMP files built byte by byte, for tests that load pictures.
#pragma once

#include <cstdint>
#include <vector>

namespace velko::testing {

// A bottom-up, uncompressed BMP: `pixel(x, y)` gives the stored bytes of one pixel (y counted
// from the top), rows padded to 4 bytes.
template <typename PixelBytes>
std::vector<std::uint8_t> MakeBmp(int width, int height, int bitCount, PixelBytes pixel) {
  const int rowBytes = (width * bitCount + 31) / 32 * 4;
  std::vector<std::uint8_t> file(54, 0);
  auto put32 = [&](size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      file[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(54 + rowBytes * height));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = static_cast<std::uint8_t>(bitCount);
  for (int r = 0; r < height; ++r) {
    std::vector<std::uint8_t> row;
    for (int x = 0; x < width; ++x) {
      const std::vector<std::uint8_t> bytes = pixel(x, height - 1 - r);
      row.insert(row.end(), bytes.begin(), bytes.end());
    }
    row.resize(static_cast<size_t>(rowBytes), 0);
    file.insert(file.end(), row.begin(), row.end());
  }
  return file;
}

inline std::vector<std::uint8_t> UniformBmp(int width, int height, int bitCount,
                                            std::vector<std::uint8_t> bytes) {
  return MakeBmp(width, height, bitCount, [&](int, int) { return bytes; });
}

}  // namespace velko::testing
