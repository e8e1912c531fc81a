#include "assetgen/tile_set.h"

#include <map>

#include "assetgen/random_stream.h"

namespace velko::assetgen {
namespace {

struct Step {
  int dc;
  int dr;
  int bit;
};

constexpr Step kSides[] = {{0, -1, kNorth}, {1, 0, kEast}, {0, 1, kSouth}, {-1, 0, kWest}};
constexpr Step kCorners[] = {
    {1, -1, kNorthEast}, {1, 1, kSouthEast}, {-1, 1, kSouthWest}, {-1, -1, kNorthWest}};

bool IsRoof(Ground g) {
  return g == Ground::FlatRoof || g == Ground::TiledRoof;
}

// Walls join any wall; a roof joins only roofs of its own kind, so each building keeps its
// outline.
bool Joins(Ground self, Ground other) {
  if (IsRoof(self)) return other == self;
  return other == Ground::Concrete || other == Ground::Brick;
}

TileLook LookFor(const CircuitDesign& d, int c, int r) {
  TileLook look;
  look.ground = d.At(c, r);
  const std::uint64_t cellHash =
      HashInts(static_cast<std::uint64_t>(c), static_cast<std::uint64_t>(r), 7);
  switch (look.ground) {
    case Ground::Grass:
      look.variant = cellHash % 3 == 0 ? 1 : 0;  // 1: with flowers
      break;
    case Ground::Gravel:
      look.variant = static_cast<int>(cellHash % 2);
      break;
    case Ground::Kerb:
      for (const Step& s : kSides)
        if (IsRoad(d.At(c + s.dc, r + s.dr))) look.mask |= s.bit;
      for (const Step& s : kCorners)
        if (IsRoad(d.At(c + s.dc, r + s.dr))) look.mask |= s.bit;
      break;
    case Ground::Road:
    case Ground::StartLine:
      for (const Step& s : kSides) {
        const Ground n = d.At(c + s.dc, r + s.dr);
        const bool open = IsRoad(n) || CollisionTypeOf(n) >= 2;
        if (!open) look.mask |= s.bit;
      }
      if (look.ground == Ground::Road && d.CentreLine(c, r))
        look.centre = d.CentreLineVertical(c, r) ? CentreMark::Vertical : CentreMark::Horizontal;
      break;
    case Ground::Concrete:
    case Ground::Brick:
    case Ground::FlatRoof:
    case Ground::TiledRoof:
    case Ground::Stand:
      for (const Step& s : kSides)
        if (Joins(look.ground, d.At(c + s.dc, r + s.dr))) look.mask |= s.bit;
      // Fittings on some inner roof cells: vents on flat roofs, skylights on both kinds.
      if ((look.ground == Ground::FlatRoof || look.ground == Ground::TiledRoof) &&
          look.mask == (kNorth | kEast | kSouth | kWest) && (cellHash >> 8) % 5 == 0) {
        const bool vent = look.ground == Ground::FlatRoof && (cellHash >> 16) % 2 == 0;
        look.variant = vent ? 1 : 2;
      }
      break;
    default:
      break;
  }
  return look;
}

}  // namespace

std::int8_t CollisionTypeOf(Ground ground) {
  switch (ground) {
    case Ground::Concrete:
    case Ground::Brick:
    case Ground::FlatRoof:
    case Ground::TiledRoof:
    case Ground::Trees:
    case Ground::Stand:
      return 1;
    case Ground::BrickUpperLeft:
      return 2;
    case Ground::BrickUpperRight:
      return 3;
    case Ground::ConcreteUpperLeft:
      return 4;
    case Ground::ConcreteUpperRight:
      return 5;
    default:
      return 0;
  }
}

TiledCircuit TileCircuit(const CircuitDesign& design, int tilesPerRow) {
  TiledCircuit out;
  out.columns = design.Columns();
  out.rows = design.Rows();
  out.cellTiles.resize(static_cast<size_t>(out.columns) * out.rows);
  std::map<TileLook, std::int16_t> numbers;
  auto numberOf = [&](const TileLook& look) {
    auto [it, added] = numbers.emplace(look, static_cast<std::int16_t>(out.tiles.size()));
    if (added) {
      out.tiles.push_back(look);
      out.collisionTypes.push_back(CollisionTypeOf(look.ground));
    }
    return it->second;
  };
  // Tile 0 is plain grass: the spare cells beyond the map's edge name it too.
  numberOf(TileLook{});
  for (int c = 0; c < out.columns; ++c)
    for (int r = 0; r < out.rows; ++r)
      out.cellTiles[static_cast<size_t>(c) * out.rows + r] = numberOf(LookFor(design, c, r));
  while (out.tiles.size() % static_cast<size_t>(tilesPerRow) != 0) {
    out.tiles.push_back(TileLook{});
    out.collisionTypes.push_back(0);
  }
  return out;
}

}  // namespace velko::assetgen
