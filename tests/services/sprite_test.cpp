#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>

#include "services/picture_fixture.h"
#include "services/screen/screen_service.h"
#include "services/services.h"
#include "services/sprites/sprite_service.h"
#include "services/text/text.h"

namespace velko::testing {
namespace {

class SpriteTest : public PictureTest {
 protected:
  void OpenAt(int depth) { ASSERT_EQ(services_->ScreenOpen(800, 600, depth, "test"), 1); }
  SurfaceHandle LoadBytes(int32_t number, const std::vector<std::uint8_t>& bytes) {
    dir_.Write("picture.bmp", bytes);
    return services_->SpriteLoadFile(number, "picture.bmp", 0);
  }
  int CountNonZero(const Surface& surface) {
    int count = 0;
    for (int y = 0; y < surface.height; ++y)
      for (int x = 0; x < surface.width; ++x) count += surface.Get(x, y) != 0 ? 1 : 0;
    return count;
  }
};

TEST_F(SpriteTest, LoadedPixelsTakeTheScreenFormat) {
  struct Case {
    int screenDepth;
    int bitCount;
    std::vector<std::uint8_t> stored;  // one pixel as the file holds it
    std::uint32_t expected;
  };
  const Case cases[] = {
      {16, 24, {0, 255, 0}, 0x07E0},       {16, 24, {0, 127, 0}, 0x03E0},
      {32, 24, {0, 255, 0}, 0x00FF00},     {32, 24, {0, 127, 0}, 0x007F00},
      {16, 16, {0xFF, 0x7F}, 0xFFDF},      {32, 16, {0xFF, 0x7F}, 0xF8F8F8},
      {16, 16, {0x1F, 0x00}, 0x001F},      {32, 16, {0x00, 0x7C}, 0xF80000},
      {16, 32, {8, 4, 248, 0xAA}, 0xF821}, {32, 32, {1, 2, 3, 0xAA}, 0x030201},
      {16, 24, {255, 255, 255}, 0xFFFF},   {32, 24, {0x10, 0x20, 0x30}, 0x302010},
  };
  for (const Case& c : cases) {
    OpenAt(c.screenDepth);
    ASSERT_NE(LoadBytes(3, UniformBmp(5, 3, c.bitCount, c.stored)), 0u) << c.bitCount;
    const Surface sprite = SpriteView(3);
    ASSERT_EQ(sprite.depth, c.screenDepth);
    for (int y = 0; y < 3; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(sprite.Get(x, y), c.expected)
            << "screen " << c.screenDepth << " file " << c.bitCount << " at " << x << "," << y;
  }
}

TEST_F(SpriteTest, RowsArePaddedAndStoredBottomUp) {
  // Three pixels wide: 24-bit rows of 12 bytes, 16-bit rows of 8; each pixel distinct.
  for (int bits : {24, 16}) {
    OpenAt(32);
    auto bytes = MakeBmp(3, 2, bits, [&](int x, int y) {
      if (bits == 24)
        return std::vector<std::uint8_t>{static_cast<std::uint8_t>(8 * (x + 1)), 0,
                                         static_cast<std::uint8_t>(8 * (y + 1))};
      const int value = (x + 1) | ((y + 1) << 10);  // blue x + 1, red y + 1
      return std::vector<std::uint8_t>{static_cast<std::uint8_t>(value),
                                       static_cast<std::uint8_t>(value >> 8)};
    });
    EXPECT_EQ(bytes.size(), 54u + 2u * (bits == 24 ? 12u : 8u));
    ASSERT_NE(LoadBytes(4, bytes), 0u);
    const Surface sprite = SpriteView(4);
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x)
        EXPECT_EQ(sprite.Get(x, y), static_cast<std::uint32_t>(8 * (y + 1)) << 16 |
                                        static_cast<std::uint32_t>(8 * (x + 1)))
            << bits << " bits at " << x << "," << y;
  }
}

TEST_F(SpriteTest, RefusesPicturesItCannotOrMustNotRead) {
  const auto good = UniformBmp(4, 4, 24, {1, 2, 3});
  auto with = [&](auto change) {
    auto bytes = good;
    change(bytes);
    return bytes;
  };
  auto put32 = [](std::vector<std::uint8_t>& b, size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      b[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  struct Case {
    const char* what;
    std::vector<std::uint8_t> bytes;
  };
  const Case cases[] = {
      {"8-bit picture on a 16-bit screen", UniformBmp(4, 4, 8, {7})},
      {"not BM", with([](auto& b) { b[0] = 'X'; })},
      {"compressed", with([&](auto& b) { put32(b, 30, 1); })},
      {"top-down", with([&](auto& b) { put32(b, 22, static_cast<std::uint32_t>(-4)); })},
      {"rows cut short", with([](auto& b) { b.resize(b.size() - 1); })},
      {"headers cut short", with([](auto& b) { b.resize(40); })},
      {"absurd width", with([&](auto& b) { put32(b, 18, 100000); })},
      {"huge height, tiny file", with([&](auto& b) { put32(b, 22, 30000); })},
      {"zero width", with([&](auto& b) { put32(b, 18, 0); })},
      {"four bits per pixel", with([](auto& b) { b[28] = 4; })},
      {"data offset past the end", with([&](auto& b) { put32(b, 10, 0xFFFFFFF0u); })},
      {"core header", with([&](auto& b) { put32(b, 14, 12); })},
      {"empty file", {}},
  };
  ASSERT_NE(LoadBytes(6, good), 0u);
  for (const Case& c : cases) {
    EXPECT_EQ(LoadBytes(6, c.bytes), 0u) << c.what;
    EXPECT_EQ(SpriteView(6).pixels, nullptr) << c.what << ": the number is emptied";
  }
  // The 16-bit picture on a 32-bit screen is fine.
  OpenAt(32);
  EXPECT_NE(LoadBytes(6, UniformBmp(2, 2, 16, {0, 0})), 0u);
}

TEST_F(SpriteTest, RawSpritesHoldEightBitDataButAreNoSurface) {
  auto bytes = MakeBmp(3, 2, 8, [](int x, int y) {
    return std::vector<std::uint8_t>{static_cast<std::uint8_t>(10 * y + x)};
  });
  dir_.Write("raw.bmp", bytes);
  ASSERT_NE(services_->SpriteLoadFile(8, "raw.bmp", SpriteModeRaw), 0u);
  const SpriteRecord* record = services_->Sprites().Find(8);
  EXPECT_EQ(record->depth, -2);
  EXPECT_EQ(*record->fileName, "raw.bmp");
  EXPECT_EQ(SpriteView(8).Get(2, 1), 12u) << "the picture's top row first";
  // Not a target, not shown, not saved, not a drawing target.
  const SurfaceHandle back = services_->ScreenSelectTarget(-1);
  EXPECT_EQ(services_->ScreenSelectTarget(8), back);
  services_->SpriteShow(8, 0, 0);
  EXPECT_EQ(CountNonZero(Back()), 0);
  EXPECT_EQ(services_->SpriteSaveBmp(8, "raw-out.bmp"), 0);
  EXPECT_EQ(services_->SpriteDrawTarget(8), nullptr);
  // A raw sprite of more than 8 bits is refused.
  dir_.Write("rgb.bmp", UniformBmp(2, 2, 24, {1, 2, 3}));
  EXPECT_EQ(services_->SpriteLoadFile(8, "rgb.bmp", SpriteModeRaw), 0u);
}

TEST_F(SpriteTest, MissingFileLeavesTheSpriteAsItWas) {
  ASSERT_NE(LoadBytes(7, UniformBmp(9, 5, 24, {1, 1, 1})), 0u);
  EXPECT_EQ(services_->SpriteLoadFile(7, "missing.bmp", 0), 0u);
  EXPECT_EQ(services_->SpriteGetWidth(7), 9);
  EXPECT_NE(SpriteView(7).pixels, nullptr);
}

TEST_F(SpriteTest, LoadsTheGoodPicturesOfTheCorpusAndSurvivesTheRest) {
  const std::filesystem::path corpus =
      std::filesystem::path(VELKO_SOURCE_DIR) / ".." / "shared" / "corpora" / "bmp";
  if (!std::filesystem::exists(corpus)) GTEST_SKIP() << "no BMP corpus";
  for (int depth : {16, 32}) {
    OpenAt(depth);
    int loaded = 0;
    for (const char* folder : {"g", "b", "q", "x"}) {
      for (const auto& entry : std::filesystem::directory_iterator(corpus / folder)) {
        const std::string name = entry.path().string();
        if (services_->SpriteLoadFile(9, name, 0) != 0) {
          ++loaded;
          EXPECT_GT(services_->SpriteGetWidth(9), 0) << name;
        }
      }
    }
    EXPECT_GE(loaded, 4) << "the uncompressed 16-, 24- and 32-bit pictures load";
  }
  // A plain 24-bit picture of the suite: 127 x 64.
  OpenAt(32);
  ASSERT_NE(services_->SpriteLoadFile(9, (corpus / "g" / "rgb24.bmp").string(), 0), 0u);
  EXPECT_EQ(services_->SpriteGetWidth(9), 127);
  EXPECT_EQ(services_->SpriteGetHeight(9), 64);
}

class SpriteShowTest : public SpriteTest {
 protected:
  void SetUp() override {
    SpriteTest::SetUp();
    OpenAt(32);
    // Every pixel distinct and non-zero: red from x, green from y.
    ASSERT_NE(LoadBytes(1, MakeBmp(50, 50, 24,
                                   [](int x, int y) {
                                     return std::vector<std::uint8_t>{
                                         7, static_cast<std::uint8_t>(4 * y + 1),
                                         static_cast<std::uint8_t>(4 * x + 1)};
                                   })),
              0u);
  }
  static std::uint32_t Expected(int x, int y) {
    return static_cast<std::uint32_t>((4 * x + 1) << 16 | (4 * y + 1) << 8 | 7);
  }
};

TEST_F(SpriteShowTest, ClipsAtTheLeftEdge) {
  services_->SpriteShow(1, -20, 10);
  const Surface back = Back();
  EXPECT_EQ(back.Get(0, 10), Expected(20, 0));
  EXPECT_EQ(back.Get(29, 59), Expected(49, 49));
  EXPECT_EQ(back.Get(30, 10), 0u);
  EXPECT_EQ(CountNonZero(back), 30 * 50);
}

TEST_F(SpriteShowTest, ClipsAtTheBottomRightCorner) {
  services_->SpriteShow(1, 790, 590);
  const Surface back = Back();
  EXPECT_EQ(back.Get(790, 590), Expected(0, 0));
  EXPECT_EQ(back.Get(799, 599), Expected(9, 9));
  EXPECT_EQ(CountNonZero(back), 100);
}

TEST_F(SpriteShowTest, DrawsNothingWhollyOutside) {
  for (auto [x, y] : {std::pair{800, 0},
                      {-50, 0},
                      {0, 600},
                      {0, -50},
                      {100000, -100000},
                      {INT32_MIN, INT32_MIN},
                      {INT32_MAX, INT32_MAX},
                      {INT32_MIN, 0}}) {
    services_->SpriteShow(1, x, y);
    EXPECT_EQ(CountNonZero(Back()), 0) << x << "," << y;
  }
  services_->SpriteShow(55, 0, 0);  // no such sprite
  EXPECT_EQ(CountNonZero(Back()), 0);
}

TEST_F(SpriteShowTest, ShowsOntoASelectedSpriteClippedToIt) {
  ASSERT_NE(services_->SpriteCreate(2, 20, 10, 0), 0u);
  EXPECT_EQ(services_->ScreenSelectTarget(2),
            reinterpret_cast<SurfaceHandle>(services_->Sprites().Find(2)->surface.get()));
  services_->SpriteShow(1, -5, -5);
  const Surface small = SpriteView(2);
  EXPECT_EQ(small.Get(0, 0), Expected(5, 5));
  EXPECT_EQ(small.Get(19, 9), Expected(24, 14));
  EXPECT_EQ(CountNonZero(Back()), 0);
  // A number without a sprite leaves the target as it was; -1 goes back to the back buffer.
  services_->ScreenSelectTarget(77);
  EXPECT_EQ(services_->Screen().TargetWidth(), 20);
  services_->ScreenSelectTarget(-1);
  EXPECT_EQ(services_->Screen().TargetWidth(), 800);
}

TEST_F(SpriteShowTest, GrabCopiesTheTargetAndClipsOutsideParts) {
  services_->SpriteShow(1, 0, 0);
  ASSERT_NE(services_->SpriteGrab(100, 10, 20, 30, 5), 0u);
  const Surface grabbed = SpriteView(100);
  EXPECT_EQ(grabbed.Get(0, 0), Expected(10, 20));
  EXPECT_EQ(grabbed.Get(29, 4), Expected(39, 24));
  // Partly outside the target: the inside is copied, the rest stays black.
  services_->SpriteShow(1, 780, 580);
  ASSERT_NE(services_->SpriteGrab(101, 790, 590, 20, 20), 0u);
  const Surface corner = SpriteView(101);
  EXPECT_EQ(corner.Get(0, 0), Expected(10, 10));
  EXPECT_EQ(corner.Get(9, 9), Expected(19, 19));
  EXPECT_EQ(corner.Get(10, 0), 0u);
  EXPECT_EQ(CountNonZero(corner), 100);
  ASSERT_NE(services_->SpriteGrab(102, -5000, -5000, 10, 10), 0u);
  EXPECT_EQ(CountNonZero(SpriteView(102)), 0);
  // The far ends of the coordinate range clip like any other place outside.
  for (auto [x, y] : {std::pair{INT32_MIN, INT32_MIN}, {INT32_MAX, INT32_MAX}, {INT32_MIN, 0}}) {
    ASSERT_NE(services_->SpriteGrab(103, x, y, 10, 10), 0u);
    EXPECT_EQ(CountNonZero(SpriteView(103)), 0) << x << "," << y;
  }
}

TEST_F(SpriteTest, KeyColoursArePackedForTheScreen) {
  services_->SpriteSetKeyColour(-1, 0, 255, 0);
  ASSERT_NE(services_->SpriteCreate(10, 4, 4, 0), 0u);
  EXPECT_EQ(services_->Sprites().Find(10)->surface->keyColour, 0x07E0u);
  services_->SpriteSetKeyColour(10, 0, 127, 0);
  EXPECT_EQ(services_->Sprites().Find(10)->surface->keyColour, 0x03E0u);
  OpenAt(32);
  services_->SpriteSetKeyColour(-1, 0, 255, 0);
  ASSERT_NE(services_->SpriteCreate(10, 4, 4, 0), 0u);
  EXPECT_EQ(services_->Sprites().Find(10)->surface->keyColour, 0x00FF00u);
}

TEST_F(SpriteTest, BlankSpritesAreBlackAndFollowTheTableRules) {
  EXPECT_EQ(services_->SpriteGetWidth(30), 0);
  ASSERT_NE(services_->SpriteCreate(2000, 7, 3, 0), 0u);
  EXPECT_EQ(services_->Sprites().Capacity(), 2050);
  EXPECT_EQ(CountNonZero(SpriteView(2000)), 0);
  services_->SpriteFree(2000);
  EXPECT_EQ(SpriteView(2000).pixels, nullptr);
  EXPECT_EQ(services_->SpriteGetWidth(2000), 7) << "a freed sprite keeps its last size";
  services_->SpriteFree(2000);
  ASSERT_NE(services_->SpriteCreate(2000, 5, 5, 0), 0u);
  EXPECT_EQ(services_->SpriteGetWidth(2000), 5);
  // Sizes no buffer may take, and raw sprites on a 16-bit screen, are refused.
  EXPECT_EQ(services_->SpriteCreate(11, 0, 5, 0), 0u);
  EXPECT_EQ(services_->SpriteCreate(11, 40000, 5, 0), 0u);
  EXPECT_EQ(services_->SpriteCreate(11, 30000, 30000, 0), 0u);
  EXPECT_EQ(services_->SpriteCreate(11, 5, 5, SpriteModeRaw), 0u);
  EXPECT_EQ(services_->SpriteCreate(-1, 5, 5, 0), 0u);
}

TEST_F(SpriteTest, ScreenshotOfTheWholeScreenHasTheExpectedLayout) {
  std::filesystem::create_directory(dir_.File("screenshots"));
  services_->ScreenFill(255, 255, 255);
  ASSERT_NE(services_->SpriteGrab(2000, 0, 0, 800, 600), 0u);
  ASSERT_EQ(services_->SpriteSaveBmp(2000, "screenshots\\screen000.bmp"), 1);
  const std::string file = dir_.Read("screenshots/screen000.bmp");
  ASSERT_EQ(file.size(), 1440054u);
  auto u32 = [&](size_t at) {
    std::uint32_t v = 0;
    for (int i = 3; i >= 0; --i)
      v = v << 8 | static_cast<std::uint8_t>(file[at + static_cast<size_t>(i)]);
    return v;
  };
  EXPECT_EQ(file.substr(0, 2), "BM");
  EXPECT_EQ(u32(2), 1440054u);
  EXPECT_EQ(u32(10), 54u);
  EXPECT_EQ(u32(14), 40u);
  EXPECT_EQ(u32(18), 800u);
  EXPECT_EQ(u32(22), 600u);
  EXPECT_EQ(u32(26) & 0xFFFF, 1u);
  EXPECT_EQ(u32(28) & 0xFFFF, 24u);
  EXPECT_EQ(u32(30), 0u);
  EXPECT_EQ(u32(34), 1440000u);
  // 0xFFFF saves as (248, 252, 248), stored B, G, R.
  EXPECT_EQ(static_cast<std::uint8_t>(file[54]), 248);
  EXPECT_EQ(static_cast<std::uint8_t>(file[55]), 252);
  EXPECT_EQ(static_cast<std::uint8_t>(file[56]), 248);
}

TEST_F(SpriteTest, SavedRowsArePaddedBottomUpAndLoadBack) {
  OpenAt(32);
  auto original = MakeBmp(3, 2, 24, [](int x, int y) {
    return std::vector<std::uint8_t>{static_cast<std::uint8_t>(x + 1),
                                     static_cast<std::uint8_t>(y + 1), 9};
  });
  ASSERT_NE(LoadBytes(12, original), 0u);
  ASSERT_EQ(services_->SpriteSaveBmp(12, "out.bmp"), 1);
  const std::string saved = dir_.Read("out.bmp");
  ASSERT_EQ(saved.size(), 54u + 2u * 12u);
  // The bottom row first: pixels of y = 1, then 3 padding bytes.
  EXPECT_EQ(static_cast<std::uint8_t>(saved[54]), 1);
  EXPECT_EQ(static_cast<std::uint8_t>(saved[55]), 2);
  EXPECT_EQ(static_cast<std::uint8_t>(saved[56]), 9);
  EXPECT_EQ(saved.substr(63, 3), std::string(3, '\0'));
  // Loading the file back gives the same pixels.
  ASSERT_NE(services_->SpriteLoadFile(13, "out.bmp", 0), 0u);
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 3; ++x) EXPECT_EQ(SpriteView(13).Get(x, y), SpriteView(12).Get(x, y));
}

TEST_F(SpriteTest, SaveFailsWithoutASpriteOrAPlace) {
  EXPECT_EQ(services_->SpriteSaveBmp(40, "none.bmp"), 0);
  EXPECT_FALSE(dir_.Exists("none.bmp"));
  ASSERT_NE(services_->SpriteCreate(40, 2, 2, 0), 0u);
  EXPECT_EQ(services_->SpriteSaveBmp(40, "no-such-folder\\shot.bmp"), 0);
}

TEST_F(SpriteTest, ClosingTheScreenFreesEverySprite) {
  ASSERT_NE(services_->SpriteCreate(3, 2, 2, 0), 0u);
  ASSERT_NE(services_->SpriteCreate(60, 2, 2, 0), 0u);
  services_->Screen().ScreenClose();
  EXPECT_EQ(SpriteView(3).pixels, nullptr);
  EXPECT_EQ(SpriteView(60).pixels, nullptr);
  EXPECT_EQ(services_->SpriteGetWidth(60), 2);
}

}  // namespace
}  // namespace velko::testing
