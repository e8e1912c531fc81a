// The desktop icons: the PNG encoder read back by an independent reader, the checksums
// against their published check values, and the car at every icon size.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "assetgen/car_icon.h"
#include "assetgen/car_painter.h"
#include "assets/asset_reader_support.h"
#include "support/temp_dir.h"

namespace velko::assetgen {
namespace {

Bytes Text(const std::string& s) {
  return Bytes(s.begin(), s.end());
}

TEST(Checksums, MatchTheirCheckValues) {
  struct Case {
    Bytes input;
    std::uint32_t crc;
    std::uint32_t adler;
  };
  const Case cases[] = {
      {{}, 0x00000000u, 0x00000001u},
      {Text("a"), 0xE8B7BE43u, 0x00620062u},
      {Text("123456789"), 0xCBF43926u, 0x091E01DEu},
      {Text("Wikipedia"), 0xADAAC02Eu, 0x11E60398u},
      {Text("The quick brown fox jumps over the lazy dog"), 0x414FA339u, 0x5BDC0FDAu},
      // 100,000 bytes of 0xFF: Adler's sums wrap modulo 65521 many times over (values from
      // zlib).
      {Bytes(100000, 0xFF), 0x68C6CEC4u, 0x149A302Cu},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Crc32(c.input), c.crc) << c.input.size() << " bytes";
    EXPECT_EQ(Adler32(c.input), c.adler) << c.input.size() << " bytes";
  }
}

// Rows of 4 * 64 + 1 = 257 bytes: 255 of them fill a stored block (65535 bytes) exactly, one
// more row spills into a second.
TEST(PngEncoding, ReadsBackAcrossStoredBlockBoundaries) {
  const int sizes[][2] = {{1, 1}, {3, 2}, {64, 255}, {64, 256}, {256, 256}};
  for (const auto& [width, height] : sizes) {
    RgbaImage image(width, height);
    for (int y = 0; y < height; ++y)
      for (int x = 0; x < width; ++x)
        for (int k = 0; k < 4; ++k)
          image.At(x, y)[k] = static_cast<std::uint8_t>(x * 7 + y * 13 + k * 61);
    const auto read = testing::ReadStoredPng(EncodePngRgba(image));
    ASSERT_TRUE(read) << width << " x " << height;
    EXPECT_EQ(read->width, width);
    EXPECT_EQ(read->height, height);
    EXPECT_EQ(read->rgba, image.rgba) << width << " x " << height;
  }
}

struct Coverage {
  double opaque = 0;           // summed alpha, in whole pixels
  double r = 0, g = 0, b = 0;  // alpha-weighted mean colour
};

Coverage Measure(const RgbaImage& image) {
  Coverage c;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const std::uint8_t* p = image.At(x, y);
      const double a = p[3] / 255.0;
      c.opaque += a, c.r += a * p[0], c.g += a * p[1], c.b += a * p[2];
    }
  c.r /= c.opaque, c.g /= c.opaque, c.b /= c.opaque;
  return c;
}

// Every size shows the car on a transparent ground: the same share of the square covered,
// the same mean colour (a ground counted as black would darken it at the edges), and at
// whole multiples of the car's 64 pixels the car's own pixels.
TEST(CarIcon, IsTheCarAtEverySizeOnATransparentGround) {
  const RgbImage car = PaintCar();
  const RgbaImage full = PaintCarIcon(64);
  const Coverage reference = Measure(full);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const Rgb c = car.At(x, y);
      const std::uint8_t* p = full.At(x, y);
      if (c == kKeyGreen) {
        EXPECT_EQ(p[3], 0) << x << ", " << y;
      } else {
        EXPECT_EQ((Rgb{p[0], p[1], p[2]}), c) << x << ", " << y;
        EXPECT_EQ(p[3], 255) << x << ", " << y;
      }
    }
  for (int size : kIconSizes) {
    const RgbaImage icon = PaintCarIcon(size);
    ASSERT_EQ(icon.width, size);
    ASSERT_EQ(icon.height, size);
    EXPECT_EQ(icon.At(0, 0)[3], 0) << size;
    EXPECT_EQ(icon.At(size - 1, size - 1)[3], 0) << size;
    const Coverage c = Measure(icon);
    const double scale = size / 64.0;
    EXPECT_NEAR(c.opaque / (scale * scale), reference.opaque, reference.opaque * 0.01) << size;
    EXPECT_NEAR(c.r, reference.r, 1.5) << size;
    EXPECT_NEAR(c.g, reference.g, 1.5) << size;
    EXPECT_NEAR(c.b, reference.b, 1.5) << size;
    if (size % 64 == 0) {
      const int n = size / 64;
      for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
          for (int k = 0; k < 4; ++k)
            ASSERT_EQ(icon.At(x, y)[k], full.At(x / n, y / n)[k]) << size << ": " << x << ", " << y;
    }
  }
}

TEST(CarIcon, WritesTheHicolorLayoutAndNamesAFileItCannotWrite) {
  velko::testing::TempDir dir;
  std::string failed;
  ASSERT_TRUE(WriteCarIcons(dir.Path(), failed));
  for (int size : kIconSizes) {
    const std::string name = std::to_string(size) + "x" + std::to_string(size) + "/apps/velko.png";
    std::ifstream in(dir.File(name), std::ios::binary);
    const testing::FileBytes bytes{std::istreambuf_iterator<char>(in),
                                   std::istreambuf_iterator<char>()};
    const auto read = testing::ReadStoredPng(bytes);
    ASSERT_TRUE(read) << name;
    EXPECT_EQ(read->width, size);
    EXPECT_EQ(read->rgba, PaintCarIcon(size).rgba) << name;
  }
  dir.Write("blocked", "a file where a folder should be");
  EXPECT_FALSE(WriteCarIcons(dir.File("blocked"), failed));
  EXPECT_EQ(failed, "16x16/apps/velko.png");
}

}  // namespace
}  // namespace velko::assetgen
