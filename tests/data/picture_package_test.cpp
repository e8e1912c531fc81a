#include "data/picture_package.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "services/services.h"
#include "support/temp_dir.h"

namespace velko {
namespace {

struct Triple {
  std::uint8_t a, b, c;  // stored bytes: the component with its top bit inverted
};

std::vector<unsigned char> Package(int width, int height, const std::vector<Triple>& triples) {
  std::vector<unsigned char> bytes = {
      static_cast<unsigned char>(width), static_cast<unsigned char>(width >> 8),
      static_cast<unsigned char>(height), static_cast<unsigned char>(height >> 8)};
  for (const Triple& t : triples) bytes.insert(bytes.end(), {t.a, t.b, t.c});
  return bytes;
}

class PicturePackageTest : public ::testing::Test {
 protected:
  void SetUp() override { Open(32); }
  void Open(int depth) {
    platform::HeadlessOptions options;
    options.executablePath = dir_.ExecutablePath();
    options.echoMessages = false;
    services_.reset();
    platform_ = std::make_unique<platform::HeadlessPlatform>(options);
    services_ = std::make_unique<Services>(*platform_);
    services_->StartUp();
    ASSERT_NE(services_->ScreenStart(), 0);
    ASSERT_EQ(services_->ScreenOpen(800, 600, depth, "t"), 1);
  }
  std::uint32_t Pixel(int32_t number, int x, int y) {
    return services_->Sprites().Find(number)->surface->View().Get(x, y);
  }
  bool HasSprite(int32_t number) {
    const SpriteRecord* record = services_->Sprites().Find(number);
    return record != nullptr && record->surface != nullptr;
  }

  testing::TempDir dir_;
  std::unique_ptr<platform::HeadlessPlatform> platform_;
  std::unique_ptr<Services> services_;
};

TEST_F(PicturePackageTest, ColourModesTurnTriplesIntoPixels) {
  struct Case {
    int depth;
    Triple stored;
    int alternative;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {32, {0x80, 0x7F, 0x80}, 0, 0x00FF00},  // (0, 255, 0)
      {32, {0x80, 0x7F, 0x80}, 1, 0x007F00},  // (0, 127, 0): the car's key in that mode
      {32, {0x7F, 0x7F, 0x7F}, 0, 0xFFFFFF},  // white
      {32, {0x7F, 0x7F, 0x7F}, 1, 0x7F7FFF},  // (127, 127, 255): blue stays whole
      {32, {0x00, 0x80, 0xFF}, 0, 0x80007F},  // (128, 0, 127)
      {16, {0x80, 0x7F, 0x80}, 0, 0x07E0},
      {16, {0x80, 0x7F, 0x80}, 1, 0x03E0},
      {16, {0x7F, 0x7F, 0x7F}, 1, 0x7BFF},
      // The flag is one byte: 256 has a zero low byte (normal), 0x101 and -1 do not.
      {32, {0x80, 0x7F, 0x80}, 256, 0x00FF00},
      {32, {0x80, 0x7F, 0x80}, 0x101, 0x007F00},
      {32, {0x80, 0x7F, 0x80}, -1, 0x007F00},
  };
  for (const Case& c : cases) {
    Open(c.depth);
    dir_.Write("p.bpb", Package(1, 1, {c.stored}));
    ASSERT_NE(LoadPackageSprite(*services_, 0, "p.bpb", c.alternative), 0);
    EXPECT_EQ(Pixel(0, 0, 0), c.expected)
        << c.depth << " bits, alternative " << c.alternative << ", byte a " << int{c.stored.a};
  }
}

TEST_F(PicturePackageTest, PixelsAreStoredColumnByColumn) {
  std::vector<Triple> triples;
  for (int i = 0; i < 6; ++i)
    triples.push_back({static_cast<std::uint8_t>(0x80 + 10 * i), 0x80, 0x80});  // red 10 * i
  dir_.Write("p.bpb", Package(3, 2, triples));
  ASSERT_NE(LoadPackageSprite(*services_, 0, "p.bpb", 0), 0);
  EXPECT_EQ(services_->SpriteGetWidth(0), 3);
  EXPECT_EQ(services_->SpriteGetHeight(0), 2);
  // Order (0,0), (0,1), (1,0), (1,1), (2,0), (2,1).
  for (int x = 0; x < 3; ++x)
    for (int y = 0; y < 2; ++y)
      EXPECT_EQ(Pixel(0, x, y), static_cast<std::uint32_t>(10 * (2 * x + y)) << 16)
          << x << "," << y;
}

TEST_F(PicturePackageTest, EmptySizesReadNothing) {
  dir_.Write("p.bpb", Package(0, 5, {}));
  EXPECT_EQ(LoadPackageSprite(*services_, 0, "p.bpb", 0), 0) << "no sprite of width 0";
  ASSERT_NE(services_->SpriteCreate(1, 2, 2, 0), 0u);
  EXPECT_NE(PaintPackageOnSprite(*services_, 1, "p.bpb"), 0);
  EXPECT_EQ(Pixel(1, 0, 0), 0u);
}

TEST_F(PicturePackageTest, ShortPackagesLoadWithStalePixelsAndHugeOnesAreRefused) {
  // Four pixels announced, three held: the fourth repeats the last byte read, 0x10.
  dir_.Write("short.bpb", Package(2, 2, {{0x7F, 0x00, 0x90}, {0x80, 0x80, 0x80}, {1, 2, 0x10}}));
  EXPECT_NE(LoadPackageSprite(*services_, 0, "short.bpb", 0), 0);
  EXPECT_EQ(Pixel(0, 0, 0), 0xFF8010u);
  EXPECT_EQ(Pixel(0, 0, 1), 0x000000u);
  EXPECT_EQ(Pixel(0, 1, 0), 0x818290u);
  EXPECT_EQ(Pixel(0, 1, 1), 0x909090u);
  // A header alone, announcing a billion pixels: no such sprite can be made.
  dir_.Write("huge.bpb", Package(32767, 32767, {{1, 2, 3}}));
  EXPECT_EQ(LoadPackageSprite(*services_, 0, "huge.bpb", 0), 0);
  EXPECT_FALSE(HasSprite(0));
  // File 1 is closed again: another package loads through it.
  dir_.Write("ok.bpb", Package(1, 1, {{0x7F, 0x7F, 0x7F}}));
  EXPECT_NE(LoadPackageSprite(*services_, 0, "ok.bpb", 0), 0);
}

TEST_F(PicturePackageTest, PaintingIsClippedToTheSprite) {
  ASSERT_NE(services_->SpriteCreate(1, 2, 3, 0), 0u);
  // 4 x 2: wider than the sprite, less high. Each triple distinct in its red byte.
  std::vector<Triple> triples;
  for (int i = 0; i < 8; ++i)
    triples.push_back({static_cast<std::uint8_t>(0x80 + 2 * i), 0x80, 0x80});
  dir_.Write("car.bpb", Package(4, 2, triples));
  EXPECT_NE(PaintPackageOnSprite(*services_, 1, "car.bpb"), 0);
  // Alternative mode always: red halved.
  for (int x = 0; x < 2; ++x)
    for (int y = 0; y < 2; ++y)
      EXPECT_EQ(Pixel(1, x, y), static_cast<std::uint32_t>((2 * (2 * x + y)) >> 1) << 16)
          << x << "," << y;
  EXPECT_EQ(Pixel(1, 0, 2), 0u) << "below the package the sprite keeps its colour";
  EXPECT_EQ(Pixel(1, 1, 2), 0u);
}

TEST_F(PicturePackageTest, PackageHigherThanTheSpriteKeepsItsColumnsAligned) {
  ASSERT_NE(services_->SpriteCreate(1, 2, 1, 0), 0u);
  std::vector<Triple> triples;
  for (int i = 0; i < 6; ++i) triples.push_back({0x80, 0x80, static_cast<std::uint8_t>(0x80 + i)});
  dir_.Write("tall.bpb", Package(2, 3, triples));
  PaintPackageOnSprite(*services_, 1, "tall.bpb");
  EXPECT_EQ(Pixel(1, 0, 0), 0u);
  EXPECT_EQ(Pixel(1, 1, 0), 3u) << "column 1 starts with the fourth triple";
}

TEST_F(PicturePackageTest, ShortPaintRepeatsTheLastByteReadPastTheEnd) {
  ASSERT_NE(services_->SpriteCreate(1, 2, 2, 0), 0u);
  dir_.Write("short.bpb", Package(2, 2, {{0x7F, 0x00, 0x10}}));
  PaintPackageOnSprite(*services_, 1, "short.bpb");
  // First pixel: (255 >> 1, 128 >> 1, 0x90); then every byte read is the stale 0x10:
  // (0x90 >> 1, 0x90 >> 1, 0x90).
  EXPECT_EQ(Pixel(1, 0, 0), 0x7F4090u);
  EXPECT_EQ(Pixel(1, 0, 1), 0x484890u);
  EXPECT_EQ(Pixel(1, 1, 1), 0x484890u);
  // A billion pixels announced over a small sprite costs no more than the sprite.
  dir_.Write("huge.bpb", Package(32767, 32767, {{0x7F, 0x7F, 0x7F}}));
  PaintPackageOnSprite(*services_, 1, "huge.bpb");
  EXPECT_EQ(Pixel(1, 1, 1), 0x7F7FFFu);
}

TEST_F(PicturePackageTest, PaintOnAMissingSpriteDrawsNothing) {
  dir_.Write("car.bpb", Package(1, 1, {{1, 2, 3}}));
  EXPECT_NE(PaintPackageOnSprite(*services_, 5, "car.bpb"), 0);
  EXPECT_FALSE(HasSprite(5));
}

}  // namespace
}  // namespace velko
