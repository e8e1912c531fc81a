// Tiny readers of the game's file formats, written from the formats' rules and independent of
// the generator's writers, so a test can check what the generator wrote.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velko::testing {

struct ReadRgb {
  int r = 0;
  int g = 0;
  int b = 0;
  friend bool operator==(const ReadRgb&, const ReadRgb&) = default;
};

struct ReadPicture {
  int width = 0;
  int height = 0;
  std::vector<ReadRgb> pixels;  // top row first
  ReadRgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

struct ReadMap {
  int columns = 0;
  int rows = 0;
  std::vector<int> tiles;  // column c, row r at c * rows + r
  std::vector<int> collisionTypes;
  int TileAt(int c, int r) const { return tiles[static_cast<size_t>(c) * rows + r]; }
  int TypeAt(int c, int r) const { return collisionTypes.at(static_cast<size_t>(TileAt(c, r))); }
};

struct ReadWave {
  int formatTag = 0;
  int channels = 0;
  int sampleRate = 0;
  int bitsPerSample = 0;
  int blockAlign = 0;
  std::uint32_t byteRate = 0;
  std::vector<std::int16_t> samples;
};

// Eight-bit RGBA, top row first, four bytes a pixel.
struct ReadRgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;
  const std::uint8_t* At(int x, int y) const {
    return &rgba[(static_cast<size_t>(y) * width + x) * 4];
  }
};

using FileBytes = std::vector<std::uint8_t>;

// Each returns nothing when the bytes do not hold exactly what the format describes.
std::optional<ReadMap> ReadLevelMap(const FileBytes& bytes);
// `alternative`: red and green halved, as the game paints packages in that mode.
std::optional<ReadPicture> ReadPackage(const FileBytes& bytes, bool alternative = false);
std::optional<ReadPicture> ReadBmp24(const FileBytes& bytes);
std::optional<ReadWave> ReadCanonicalWave(const FileBytes& bytes);
// A PNG of 8-bit RGBA whose picture data is stored deflate blocks with unfiltered rows: the
// chunks' CRCs, the zlib header and Adler-32 and each block's length checks must all hold.
std::optional<ReadRgbaPicture> ReadStoredPng(const FileBytes& bytes);

}  // namespace velko::testing
