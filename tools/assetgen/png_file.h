// PNG pictures for the desktop: the car as the menu's icon. Stored (uncompressed) deflate
// blocks keep the encoder small; the package compresses the files anyway.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "assetgen/asset_files.h"

namespace velko::assetgen {

// Eight-bit RGBA, top row first; alpha 0 is fully transparent.
struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // width * height * 4

  RgbaImage() = default;
  RgbaImage(int w, int h) : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4) {}
  std::uint8_t* At(int x, int y) { return &rgba[(static_cast<size_t>(y) * width + x) * 4]; }
  const std::uint8_t* At(int x, int y) const {
    return &rgba[(static_cast<size_t>(y) * width + x) * 4];
  }
};

// The checksums PNG and zlib carry: CRC-32 (reflected, polynomial 0xEDB88320) of each
// chunk, Adler-32 of the inflated bytes.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);
std::uint32_t Adler32(std::span<const std::uint8_t> bytes);

// A PNG of colour type 6 (RGBA, 8 bits), not interlaced, every row unfiltered.
Bytes EncodePngRgba(const RgbaImage& image);

}  // namespace velko::assetgen
