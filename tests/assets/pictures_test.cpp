// The tile picture and the car as the game will cut, key and draw them.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "assetgen/car_painter.h"
#include "assets/game_assets_support.h"

namespace velko::assetgen {
namespace {

using velko::testing::GeneratedAssets;
using velko::testing::ReadPicture;
using velko::testing::ReadRgb;

constexpr ReadRgb kGreen{0, 255, 0};
constexpr ReadRgb kAsphalt{80, 82, 87};

// On a 16-bit screen colours are compared after packing to RGB565.
int Pack565(ReadRgb c) {
  return (c.r / 8) * 2048 + (c.g / 4) * 32 + c.b / 8;
}

double Distance(ReadRgb a, double r, double g, double b) {
  return std::sqrt((a.r - r) * (a.r - r) + (a.g - g) * (a.g - g) + (a.b - b) * (a.b - b));
}

struct Mean {
  double r = 0, g = 0, b = 0;
  int n = 0;
  double DistanceTo(ReadRgb c) const { return Distance(c, r / n, g / n, b / n); }
};

// Mean colour of tile k's pixels for which `pick`(x, y) holds.
Mean TileMean(const ReadPicture& picture, int k, const std::function<bool(int, int)>& pick) {
  const int perRow = picture.width / 50;
  const int left = (k % perRow) * 50;
  const int top = (k / perRow) * 50;
  Mean m;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x)
      if (pick(x, y)) {
        const ReadRgb c = picture.At(left + x, top + y);
        m.r += c.r, m.g += c.g, m.b += c.b, ++m.n;
      }
  return m;
}

class Pictures : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(GeneratedAssets().complete); }
  const ReadPicture& Tiles() const { return GeneratedAssets().tiles; }
  const velko::testing::ReadMap& Map() const { return GeneratedAssets().map; }
};

TEST_F(Pictures, TilePictureHoldsExactlyOneTilePerTableRecord) {
  EXPECT_EQ(Tiles().width % 50, 0);
  EXPECT_EQ(Tiles().height % 50, 0);
  const size_t tiles = static_cast<size_t>(Tiles().width / 50) * (Tiles().height / 50);
  EXPECT_EQ(tiles, Map().collisionTypes.size());
}

TEST_F(Pictures, TilesAreNeverKeyGreenAtAnyDepth) {
  for (const ReadRgb& c : Tiles().pixels) {
    ASSERT_NE(c, kGreen);
    ASSERT_NE(Pack565(c), Pack565(kGreen));
  }
}

TEST_F(Pictures, HalfTilesShowTheirWallExactlyOnTheBlockingHalf) {
  int checked = 0;
  for (int k = 0; k < static_cast<int>(Map().collisionTypes.size()); ++k) {
    const int type = Map().collisionTypes[static_cast<size_t>(k)];
    if (type < 2 || type > 5) continue;
    const bool upperLeft = type == 2 || type == 4;
    // Signed distance from the diagonal, positive on the free side; stay clear of the edge
    // shading and the line painted beside it.
    auto away = [&](int x, int y) { return upperLeft ? x + y - 49 : y - x; };
    const Mean wall = TileMean(Tiles(), k, [&](int x, int y) { return away(x, y) <= -4; });
    const Mean road = TileMean(Tiles(), k, [&](int x, int y) { return away(x, y) >= 9; });
    EXPECT_GT(wall.DistanceTo(kAsphalt), 60) << "tile " << k;
    EXPECT_LT(road.DistanceTo(kAsphalt), 20) << "tile " << k;
    ++checked;
  }
  EXPECT_EQ(checked, 4);  // brick and concrete, upper-left and upper-right
}

TEST_F(Pictures, SolidTilesDoNotLookLikeRoad) {
  for (int k = 0; k < static_cast<int>(Map().collisionTypes.size()); ++k) {
    if (Map().collisionTypes[static_cast<size_t>(k)] != 1) continue;
    const Mean all = TileMean(Tiles(), k, [](int, int) { return true; });
    EXPECT_GT(all.DistanceTo(kAsphalt), 35) << "tile " << k;
  }
}

TEST_F(Pictures, TheStartCellShowsAsphalt) {
  const Mean start = TileMean(Tiles(), Map().TileAt(6, 8), [](int x, int) { return x < 20; });
  EXPECT_LT(start.DistanceTo(kAsphalt), 15);
}

TEST_F(Pictures, CarIsA64By64PictureOnKeyGreen) {
  const ReadPicture& car = GeneratedAssets().carBmp;
  ASSERT_EQ(car.width, 64);
  ASSERT_EQ(car.height, 64);
  EXPECT_EQ(GeneratedAssets().bytes.carBmp.size(), 54u + 64 * 64 * 3);
  for (auto [x, y] : {std::pair{0, 0}, {63, 0}, {0, 63}, {63, 63}}) EXPECT_EQ(car.At(x, y), kGreen);
  // The body fills the middle and is the body colour somewhere along it.
  EXPECT_NE(car.At(32, 32), kGreen);
  int bodyPixels = 0;
  int keyed = 0;
  for (const ReadRgb& c : car.pixels) {
    bodyPixels += Distance(c, kCarBody.r, kCarBody.g, kCarBody.b) < 40;
    keyed += c == kGreen;
  }
  EXPECT_GT(bodyPixels, 300);
  // A car about 34 wide and 58 long leaves the rest of the square transparent.
  EXPECT_GT(keyed, 64 * 64 - 40 * 60);
  EXPECT_LT(keyed, 64 * 64 - 28 * 50);
}

TEST_F(Pictures, CarFacesUp) {
  // Headlights (bright yellowish) in the top rows, tail lights (red) at the bottom.
  const ReadPicture& car = GeneratedAssets().carBmp;
  auto count = [&](int y0, int y1, const std::function<bool(ReadRgb)>& is) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
      for (int x = 0; x < 64; ++x) n += is(car.At(x, y));
    return n;
  };
  auto headlight = [](ReadRgb c) { return c.r > 230 && c.g > 220 && c.b > 120 && c.b < 240; };
  auto taillight = [](ReadRgb c) { return c.r > 190 && c.g < 100 && c.b < 100; };
  EXPECT_GT(count(0, 12, headlight), 6);
  EXPECT_EQ(count(52, 64, headlight), 0);
  EXPECT_GT(count(52, 64, taillight), 6);
  EXPECT_EQ(count(0, 12, taillight), 0);
}

TEST_F(Pictures, CarPackageIsTheSameCarAndKeysInBothModes) {
  const ReadPicture& bmp = GeneratedAssets().carBmp;
  const ReadPicture& package = GeneratedAssets().carPackage;
  const ReadPicture& alternative = GeneratedAssets().carPackageAlternative;
  ASSERT_EQ(package.width, 64);
  ASSERT_EQ(package.height, 64);
  EXPECT_EQ(package.pixels, bmp.pixels);
  constexpr ReadRgb kAlternativeKey{0, 127, 0};
  for (size_t i = 0; i < bmp.pixels.size(); ++i) {
    const bool background = bmp.pixels[i] == kGreen;
    // Every background pixel keys out, and no pixel of the car does, at 32 or 16 bits.
    EXPECT_EQ(alternative.pixels[i] == kAlternativeKey, background) << i;
    EXPECT_EQ(Pack565(alternative.pixels[i]) == Pack565(kAlternativeKey), background) << i;
    EXPECT_EQ(Pack565(bmp.pixels[i]) == Pack565(kGreen), background) << i;
  }
}

}  // namespace
}  // namespace velko::assetgen
