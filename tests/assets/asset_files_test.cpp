// The file encoders against the formats' rules, read back by independent readers.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assetgen/asset_files.h"
#include "assets/asset_reader_support.h"
#include "support/temp_dir.h"

namespace velko::assetgen {
namespace {

using testing::ReadRgb;

RgbImage Gradient(int width, int height) {
  RgbImage img(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      img.Set(x, y,
              Rgb{static_cast<std::uint8_t>(x * 40 + 1), static_cast<std::uint8_t>(y * 70 + 2),
                  static_cast<std::uint8_t>(255 - x - y)});
  return img;
}

TEST(PackageEncoding, StoresPixelsColumnByColumnWithTopBitInverted) {
  RgbImage img(3, 2);
  img.Set(0, 0, kKeyGreen);
  img.Set(0, 1, Rgb{255, 255, 255});
  img.Set(1, 0, Rgb{128, 0, 1});
  const Bytes bytes = EncodePackage(img);
  ASSERT_EQ(bytes.size(), 4u + 3 * 6);
  EXPECT_EQ(bytes[0], 3);
  EXPECT_EQ(bytes[2], 2);
  // (0,0) first: pure green is stored as -128, 127, -128.
  EXPECT_EQ(bytes[4], 0x80);
  EXPECT_EQ(bytes[5], 0x7F);
  EXPECT_EQ(bytes[6], 0x80);
  // Then (0,1), white: 127, 127, 127.
  EXPECT_EQ(bytes[7], 0x7F);
  EXPECT_EQ(bytes[8], 0x7F);
  EXPECT_EQ(bytes[9], 0x7F);
  // Then (1,0): 128 is stored as 0, 0 as -128, 1 as -127.
  EXPECT_EQ(bytes[10], 0x00);
  EXPECT_EQ(bytes[11], 0x80);
  EXPECT_EQ(bytes[12], 0x81);
}

TEST(PackageEncoding, ReadsBackInBothColourModes) {
  const RgbImage img = Gradient(5, 3);
  const auto normal = testing::ReadPackage(EncodePackage(img));
  const auto alternative = testing::ReadPackage(EncodePackage(img), true);
  ASSERT_TRUE(normal && alternative);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      const Rgb c = img.At(x, y);
      EXPECT_EQ(normal->At(x, y), (ReadRgb{c.r, c.g, c.b}));
      EXPECT_EQ(alternative->At(x, y), (ReadRgb{c.r >> 1, c.g >> 1, c.b}));
    }
  }
}

struct BmpCase {
  int width;
  int rowBytes;
};

class BmpEncoding : public ::testing::TestWithParam<BmpCase> {};

TEST_P(BmpEncoding, WritesBottomUpRowsPaddedToFourBytes) {
  const BmpCase c = GetParam();
  const RgbImage img = Gradient(c.width, 3);
  const Bytes bytes = EncodeBmp24(img);
  ASSERT_EQ(bytes.size(), 54u + 3 * c.rowBytes);
  // The first stored row is the picture's bottom row, in B, G, R order.
  const Rgb bottomLeft = img.At(0, 2);
  EXPECT_EQ(bytes[54], bottomLeft.b);
  EXPECT_EQ(bytes[55], bottomLeft.g);
  EXPECT_EQ(bytes[56], bottomLeft.r);
  const auto read = testing::ReadBmp24(bytes);
  ASSERT_TRUE(read);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < c.width; ++x) {
      const Rgb p = img.At(x, y);
      EXPECT_EQ(read->At(x, y), (ReadRgb{p.r, p.g, p.b}));
    }
}

INSTANTIATE_TEST_SUITE_P(Widths, BmpEncoding,
                         ::testing::Values(BmpCase{1, 4}, BmpCase{3, 12}, BmpCase{4, 12},
                                           BmpCase{5, 16}, BmpCase{64, 192}),
                         [](const ::testing::TestParamInfo<BmpCase>& info) {
                           return "Width" + std::to_string(info.param.width);
                         });

TEST(LevelMapEncoding, StoresCellsColumnByColumnThenTheCollisionTypes) {
  std::vector<MapCell> cells;
  for (int i = 0; i < 6; ++i) cells.push_back({static_cast<std::int16_t>(i), 0});
  const std::vector<std::int8_t> types = {0, 1, 2, -1};
  const Bytes bytes = EncodeLevelMap(2, 3, cells, types);
  ASSERT_EQ(bytes.size(), 6u + 4 * 6 + 2 + 4);
  const auto map = testing::ReadLevelMap(bytes);
  ASSERT_TRUE(map);
  EXPECT_EQ(map->columns, 2);
  EXPECT_EQ(map->rows, 3);
  // Cell (1, 0) is the fourth record: column 0 holds rows 0 to 2 first.
  EXPECT_EQ(map->TileAt(1, 0), 3);
  EXPECT_EQ(map->TileAt(0, 2), 2);
  EXPECT_EQ(map->collisionTypes, (std::vector<int>{0, 1, 2, -1}));
}

TEST(WaveEncoding, WritesTheCanonicalHeader) {
  const std::vector<std::int16_t> samples = {0, 1000, -1000, 32767, -32768};
  const Bytes bytes = EncodeWav16Mono(samples, 22050);
  const auto wave = testing::ReadCanonicalWave(bytes);
  ASSERT_TRUE(wave);
  EXPECT_EQ(wave->formatTag, 1);
  EXPECT_EQ(wave->channels, 1);
  EXPECT_EQ(wave->sampleRate, 22050);
  EXPECT_EQ(wave->byteRate, 44100u);
  EXPECT_EQ(wave->blockAlign, 2);
  EXPECT_EQ(wave->bitsPerSample, 16);
  EXPECT_EQ(wave->samples, samples);
}

TEST(WriteBytes, WritesTheWholeFileAndReportsAFolderItCannotWriteInto) {
  velko::testing::TempDir dir;
  const Bytes bytes = {1, 2, 3, 0, 255};
  ASSERT_TRUE(WriteBytes(dir.File("a.bin"), bytes));
  EXPECT_EQ(dir.Read("a.bin"), std::string("\x01\x02\x03\x00\xFF", 5));
  EXPECT_FALSE(WriteBytes(dir.File("missing/a.bin"), bytes));
}

}  // namespace
}  // namespace velko::assetgen
