#include "assetgen/tile_painter.h"

#include <cmath>

#include "assetgen/random_stream.h"
#include "assetgen/texture.h"

namespace velko::assetgen {
namespace {

constexpr int S = kTileSize;

// Material seeds: one per material, so all its tiles share one seamless texture.
constexpr std::uint64_t kAsphaltSeed = 11;
constexpr std::uint64_t kGrassSeed = 23;
constexpr std::uint64_t kGravelSeed = 37;
constexpr std::uint64_t kConcreteSeed = 41;
constexpr std::uint64_t kBrickSeed = 53;
constexpr std::uint64_t kRoofSeed = 67;
constexpr std::uint64_t kPaintSeed = 79;

constexpr Rgb kLinePaint{234, 234, 226};
constexpr Rgb kKerbRed{198, 38, 34};
constexpr Rgb kKerbWhite{238, 236, 230};

Rgb Asphalt(int x, int y) {
  const double v = 6.0 * PeriodicNoise(kAsphaltSeed, x, y, 5) +
                   4.0 * PeriodicNoise(kAsphaltSeed + 1, x, y, 25) +
                   7.0 * (Hash01(kAsphaltSeed, x, y) - 0.5);
  Rgb c = Offset({80, 82, 87}, static_cast<int>(std::lround(v)));
  const double speck = Hash01(kAsphaltSeed + 2, x, y);
  if (speck < 0.025) c = Offset(c, 28);
  if (speck > 0.985) c = Offset(c, -18);
  return c;
}

Rgb Grass(int x, int y, int variant) {
  const double broad = PeriodicNoise(kGrassSeed, x, y, 5);
  const double fine = Hash01(kGrassSeed, x, y) - 0.5;
  // Short dark and light strokes like blades seen from above.
  const double blade = Hash01(kGrassSeed + 1, x, y / 3) - 0.5;
  // Mown in bands 25 pixels wide.
  const int band = (x / 25) % 2 == 0 ? 5 : -5;
  Rgb c{static_cast<std::uint8_t>(62 + 8 * broad), static_cast<std::uint8_t>(134 + 16 * broad),
        static_cast<std::uint8_t>(46 + 6 * broad)};
  c = Offset(c, band + static_cast<int>(std::lround(10 * fine + 14 * blade)));
  if (variant == 1) {
    const double f = Hash01(kGrassSeed + 9, x / 2, y / 2);
    if (f < 0.012)
      c = Rgb{246, 222, 60};
    else if (f > 0.992)
      c = Rgb{244, 244, 250};
  }
  return c;
}

// Crowns of trees packed edge to edge, each lit from the north-west; the pattern wraps at
// the tile's edges so a copse of many cells shows no seam.
void PaintTrees(RgbImage& img) {
  constexpr std::uint64_t kTreeSeed = 97;
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x)
      img.Set(x, y, Offset({26, 62, 24}, static_cast<int>(10 * (Hash01(kTreeSeed, x, y) - 0.5))));
  RandomStream crowns(kTreeSeed);
  for (int k = 0; k < 14; ++k) {
    const double cx = crowns.Unit() * S;
    const double cy = crowns.Unit() * S;
    const double radius = 8 + crowns.Unit() * 6;
    const Rgb leaf = Mix(Rgb{44, 104, 38}, Rgb{76, 122, 40}, crowns.Unit());
    for (int y = 0; y < S; ++y) {
      for (int x = 0; x < S; ++x) {
        // Nearest copy of the crown across the wrapped edges.
        double dx = x - cx;
        double dy = y - cy;
        dx -= S * std::round(dx / S);
        dy -= S * std::round(dy / S);
        const double d = std::sqrt(dx * dx + dy * dy) / radius;
        if (d > 1) continue;
        const double lit = 1.15 - 0.45 * d - 0.25 * (dx + dy) / (radius * 1.4);
        Rgb c = Shade(leaf, lit);
        c = Offset(c, static_cast<int>(16 * (Hash01(kTreeSeed + 1, x / 2, y / 2) - 0.5)));
        img.Set(x, y, c);
      }
    }
  }
}

// Rows of seats stepping up away from the track, full of spectators in every colour.
void PaintStand(RgbImage& img, int mask) {
  constexpr std::uint64_t kCrowdSeed = 101;
  const Rgb shirts[] = {{220, 40, 40}, {240, 200, 40}, {40, 90, 200},  {236, 236, 236},
                        {40, 160, 70}, {230, 120, 30}, {120, 50, 150}, {30, 30, 34}};
  for (int y = 0; y < S; ++y) {
    for (int x = 0; x < S; ++x) {
      const int step = x % 10;
      Rgb c = Shade({150, 148, 142}, 0.8 + 0.03 * step);
      if (step >= 2 && step <= 6) {
        const double h = Hash01(kCrowdSeed, x / 5, y / 5);
        if (h < 0.8) {
          c = shirts[static_cast<int>(Hash01(kCrowdSeed + 1, x / 5, y / 5) * 8) % 8];
          if (step == 2 && y % 5 != 4) c = Rgb{232, 190, 150};  // heads
          if (y % 5 == 4) c = Shade(c, 0.55);
        }
      }
      if (!(mask & kEast) && x >= S - 3) c = x == S - 2 ? Rgb{240, 240, 240} : Rgb{90, 90, 96};
      if (!(mask & kWest) && x < 3) c = Rgb{96, 96, 100};
      if (!(mask & kNorth) && y < 3) c = Rgb{120, 120, 124};
      if (!(mask & kSouth) && y >= S - 3) c = Rgb{70, 70, 76};
      img.Set(x, y, c);
    }
  }
}

Rgb Gravel(int x, int y, int variant) {
  const double broad = PeriodicNoise(kGravelSeed + variant, x, y, 5);
  const double grain = Hash01(kGravelSeed, x, y) - 0.5;
  Rgb c = Offset({198, 180, 138}, static_cast<int>(std::lround(8 * broad + 30 * grain)));
  const double pebble = Hash01(kGravelSeed + 3 + variant, x / 2, y / 2);
  if (pebble < 0.04) c = Rgb{150, 140, 124};
  return c;
}

Rgb ConcreteAt(int x, int y) {
  const double v =
      5.0 * PeriodicNoise(kConcreteSeed, x, y, 10) + 8.0 * (Hash01(kConcreteSeed, x, y) - 0.5);
  Rgb c = Offset({170, 170, 164}, static_cast<int>(std::lround(v)));
  // Joints between the barrier's slabs.
  if (x % 25 == 0 || y % 25 == 0) c = Offset(c, -34);
  if (x % 25 == 1 || y % 25 == 1) c = Offset(c, 14);
  return c;
}

Rgb BrickAt(int x, int y) {
  const int row = y / 10;
  const int shifted = x + (row % 2) * 12;
  const int brick = (shifted % S) / 25;
  if (y % 10 == 9 || shifted % 25 == 24)
    return Offset({176, 168, 156}, static_cast<int>(8 * (Hash01(kBrickSeed, x, y) - 0.5)));
  const double tone = Hash01(kBrickSeed + 1, brick, row) - 0.5;
  Rgb c{static_cast<std::uint8_t>(152 + 30 * tone), static_cast<std::uint8_t>(64 + 12 * tone),
        static_cast<std::uint8_t>(46 + 8 * tone)};
  c = Offset(c, static_cast<int>(std::lround(10 * (Hash01(kBrickSeed + 2, x, y) - 0.5))));
  if (y % 10 == 0) c = Offset(c, 12);  // the lit top edge of each course
  return c;
}

Rgb FlatRoofAt(int x, int y) {
  const double v = 5.0 * PeriodicNoise(kRoofSeed, x, y, 5) + 16.0 * (Hash01(kRoofSeed, x, y) - 0.5);
  return Offset({134, 136, 140}, static_cast<int>(std::lround(v)));
}

// Four courses of clay tiles per cell, each course half a tile along from the last, so the
// pattern repeats across cells without a seam.
Rgb TiledRoofAt(int x, int y) {
  const int row = y * 4 / S;
  const double inRow = (y * 4 % S) / static_cast<double>(S - 4);  // darker towards the course above
  const int shifted = x + (row % 2) * 5;
  Rgb c = Shade({182, 88, 58}, 0.72 + 0.36 * inRow);
  if (shifted % 10 == 0) c = Shade(c, 0.75);
  const double tone = Hash01(kRoofSeed + 3, shifted / 10, row) - 0.5;
  return Offset(c,
                static_cast<int>(std::lround(18 * tone + 6 * (Hash01(kRoofSeed + 4, x, y) - 0.5))));
}

// Rims of walls and buildings where they end: lit on the north and west, shaded on the
// south and east, as if the sun stood in the north-west.
Rgb Rim(Rgb c, int mask, int x, int y, int width, double light, double dark) {
  if (!(mask & kNorth) && y < width) return Shade(c, light);
  if (!(mask & kWest) && x < width) return Shade(c, light);
  if (!(mask & kSouth) && y >= S - width) return Shade(c, dark);
  if (!(mask & kEast) && x >= S - width) return Shade(c, dark);
  return c;
}

Rgb WornPaint(int x, int y) {
  return Hash01(kPaintSeed, x, y) < 0.12 ? Offset(kLinePaint, -40) : kLinePaint;
}

void PaintRoad(RgbImage& img, const TileLook& look) {
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x) img.Set(x, y, Asphalt(x, y));
  // Edge lines three pixels in from every side that does not continue the road.
  for (int y = 0; y < S; ++y) {
    for (int x = 0; x < S; ++x) {
      const bool line = ((look.mask & kNorth) && y >= 3 && y < 6) ||
                        ((look.mask & kSouth) && y >= S - 6 && y < S - 3) ||
                        ((look.mask & kWest) && x >= 3 && x < 6) ||
                        ((look.mask & kEast) && x >= S - 6 && x < S - 3);
      if (line) img.Set(x, y, WornPaint(x, y));
    }
  }
  if (look.centre == CentreMark::Vertical)
    for (int y = 13; y < 38; ++y)
      for (int x = 23; x < 27; ++x) img.Set(x, y, WornPaint(x, y));
  if (look.centre == CentreMark::Horizontal)
    for (int x = 13; x < 38; ++x)
      for (int y = 23; y < 27; ++y) img.Set(x, y, WornPaint(x, y));
  if (look.ground == Ground::StartLine)
    for (int y = 20; y < 30; ++y)
      for (int x = 0; x < S; ++x)
        img.Set(x, y, ((x / 5 + y / 5) % 2 == 0) ? Rgb{240, 240, 236} : Rgb{28, 28, 30});
}

// Kerb stones in red and white blocks of 12.5 pixels along every side that faces the road.
void PaintKerb(RgbImage& img, const TileLook& look) {
  constexpr int kWidth = 14;
  for (int y = 0; y < S; ++y) {
    for (int x = 0; x < S; ++x) {
      Rgb c = Grass(x, y, 0);
      int along = -1;
      int across = 0;
      if ((look.mask & kNorth) && y < kWidth)
        along = x, across = y;
      else if ((look.mask & kSouth) && y >= S - kWidth)
        along = x, across = S - 1 - y;
      else if ((look.mask & kWest) && x < kWidth)
        along = y, across = x;
      else if ((look.mask & kEast) && x >= S - kWidth)
        along = y, across = S - 1 - x;
      else if ((look.mask & kNorthEast) && x >= S - kWidth && y < kWidth)
        along = x, across = y;
      else if ((look.mask & kSouthEast) && x >= S - kWidth && y >= S - kWidth)
        along = x, across = S - 1 - y;
      else if ((look.mask & kSouthWest) && x < kWidth && y >= S - kWidth)
        along = x, across = S - 1 - y;
      else if ((look.mask & kNorthWest) && x < kWidth && y < kWidth)
        along = x, across = y;
      if (along >= 0) {
        const bool red = (along * 2 / 25) % 2 == 0;
        c = red ? kKerbRed : kKerbWhite;
        // Rounded stones: lighter along the middle, darker at the joints and the grass side.
        const int joint = (along * 2) % 25;
        if (joint < 2) c = Shade(c, 0.8);
        if (across >= kWidth - 2)
          c = Shade(c, 0.62);
        else
          c = Shade(c, 1.0 - 0.012 * std::abs(across - 5));
        c = Offset(c, static_cast<int>(std::lround(8 * (Hash01(kPaintSeed + 1, x, y) - 0.5))));
      }
      img.Set(x, y, c);
    }
  }
}

void PaintSolid(RgbImage& img, const TileLook& look) {
  for (int y = 0; y < S; ++y) {
    for (int x = 0; x < S; ++x) {
      Rgb c;
      switch (look.ground) {
        case Ground::Concrete:
          c = Rim(ConcreteAt(x, y), look.mask, x, y, 4, 1.18, 0.62);
          break;
        case Ground::Brick:
          c = Rim(BrickAt(x, y), look.mask, x, y, 3, 1.2, 0.6);
          break;
        case Ground::FlatRoof: {
          c = FlatRoofAt(x, y);
          // A parapet round the roof's edge, with its shadow falling inwards.
          const Rgb parapet = Offset(c, 40);
          if (((look.mask & kNorth) == 0 && y < 5) || ((look.mask & kWest) == 0 && x < 5) ||
              ((look.mask & kSouth) == 0 && y >= S - 5) || ((look.mask & kEast) == 0 && x >= S - 5))
            c = parapet;
          else if (((look.mask & kNorth) == 0 && y < 8) || ((look.mask & kWest) == 0 && x < 8))
            c = Shade(c, 0.7);
          c = Rim(c, look.mask, x, y, 1, 1.1, 0.55);
          break;
        }
        case Ground::TiledRoof:
          c = Rim(TiledRoofAt(x, y), look.mask, x, y, 4, 0.8, 0.55);
          break;
        default:
          break;
      }
      img.Set(x, y, c);
    }
  }
  if (look.variant == 1) {  // an air-conditioning box with its fan
    for (int y = 16; y < 36; ++y)
      for (int x = 14; x < 36; ++x) {
        if (x >= 34 || y >= 34) {
          img.Set(x + 2, y + 2, Shade(img.At(x + 2, y + 2), 0.6));
          continue;
        }
        Rgb c = Offset({192, 194, 198}, static_cast<int>(6 * (Hash01(kRoofSeed + 7, x, y) - 0.5)));
        const double dx = x - 23.5;
        const double dy = y - 24.5;
        const double r = std::sqrt(dx * dx + dy * dy);
        if (r < 7)
          c = (static_cast<int>(std::atan2(dy, dx) * 3 / 3.14159 + 6) % 2) ? Rgb{60, 62, 66}
                                                                           : Rgb{96, 98, 102};
        if (r < 2) c = Rgb{150, 152, 156};
        if (x == 14 || y == 16) c = Rgb{222, 224, 228};
        img.Set(x, y, c);
      }
  }
  if (look.variant == 2) {  // a skylight
    for (int y = 14; y < 36; ++y)
      for (int x = 14; x < 36; ++x) {
        Rgb c{86, 116, 146};
        if (x - y > -4 && x - y < 4) c = Rgb{150, 178, 204};  // the sky's reflection
        if (x < 16 || y < 16 || x >= 34 || y >= 34) c = Rgb{200, 200, 196};
        img.Set(x, y, c);
      }
  }
}

void PaintHalfTile(RgbImage& img, const TileLook& look) {
  const bool brick =
      look.ground == Ground::BrickUpperLeft || look.ground == Ground::BrickUpperRight;
  const bool upperLeft =
      look.ground == Ground::BrickUpperLeft || look.ground == Ground::ConcreteUpperLeft;
  for (int y = 0; y < S; ++y) {
    for (int x = 0; x < S; ++x) {
      // Distance from the diagonal, positive on the road side.
      const int away = upperLeft ? x + y - (S - 1) : y - x;
      Rgb c;
      if (away <= 0) {
        c = brick ? BrickAt(x, y) : ConcreteAt(x, y);
        if (away > -3) c = Shade(c, 0.58);  // the wall's face towards the road
      } else {
        c = Asphalt(x, y);
        if (away >= 4 && away < 7) c = WornPaint(x, y);
      }
      img.Set(x, y, c);
    }
  }
}

}  // namespace

bool HalfTileBlocks(Ground ground, int x, int y) {
  switch (ground) {
    case Ground::BrickUpperLeft:
    case Ground::ConcreteUpperLeft:
      return x + y <= S - 1;
    case Ground::BrickUpperRight:
    case Ground::ConcreteUpperRight:
      return x >= y;
    default:
      return false;
  }
}

RgbImage PaintTile(const TileLook& look) {
  RgbImage img(S, S);
  switch (look.ground) {
    case Ground::Grass:
      for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) img.Set(x, y, Grass(x, y, look.variant));
      break;
    case Ground::Gravel:
      for (int y = 0; y < S; ++y)
        for (int x = 0; x < S; ++x) img.Set(x, y, Gravel(x, y, look.variant));
      break;
    case Ground::Trees:
      PaintTrees(img);
      break;
    case Ground::Stand:
      PaintStand(img, look.mask);
      break;
    case Ground::Kerb:
      PaintKerb(img, look);
      break;
    case Ground::Road:
    case Ground::StartLine:
      PaintRoad(img, look);
      break;
    case Ground::Concrete:
    case Ground::Brick:
    case Ground::FlatRoof:
    case Ground::TiledRoof:
      PaintSolid(img, look);
      break;
    case Ground::BrickUpperLeft:
    case Ground::BrickUpperRight:
    case Ground::ConcreteUpperLeft:
    case Ground::ConcreteUpperRight:
      PaintHalfTile(img, look);
      break;
  }
  // Pure green is the key colour: nudge any pixel that landed on it.
  for (int y = 0; y < S; ++y)
    for (int x = 0; x < S; ++x)
      if (img.At(x, y) == kKeyGreen) img.Set(x, y, Rgb{0, 250, 0});
  return img;
}

RgbImage PaintTilePicture(const std::vector<TileLook>& tiles, int tilesPerRow) {
  const int rows = static_cast<int>((tiles.size() + tilesPerRow - 1) / tilesPerRow);
  RgbImage picture(tilesPerRow * S, rows * S);
  for (size_t k = 0; k < tiles.size(); ++k) {
    const int column = static_cast<int>(k % tilesPerRow);
    const int row = static_cast<int>(k / tilesPerRow);
    picture.Paste(PaintTile(tiles[k]), column * S, row * S);
  }
  return picture;
}

}  // namespace velko::assetgen
