// Chooses a tile for every cell of the circuit from its ground and its neighbours, numbers the
// distinct tiles in order of first use, and gives each its collision type.
#pragma once

#include <compare>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assetgen/circuit_design.h"

namespace velko::assetgen {

// Neighbour bits.
inline constexpr int kNorth = 1;
inline constexpr int kEast = 2;
inline constexpr int kSouth = 4;
inline constexpr int kWest = 8;
inline constexpr int kNorthEast = 16;
inline constexpr int kSouthEast = 32;
inline constexpr int kSouthWest = 64;
inline constexpr int kNorthWest = 128;

enum class CentreMark { None, Vertical, Horizontal };

// Everything that decides how one tile looks.
struct TileLook {
  Ground ground = Ground::Grass;
  // Road: sides facing something else (edge lines). Kerb: sides and corners facing the road.
  // Walls and roofs: sides joined to more of the same.
  int mask = 0;
  CentreMark centre = CentreMark::None;
  int variant = 0;  // texture variety (grass patches, roof fittings)

  friend auto operator<=>(const TileLook&, const TileLook&) = default;
};

// The collision type the game gives a tile: 0 free, 1 solid, 2..5 half tiles blocking their
// upper-left (2, 4) or upper-right (3, 5) half.
std::int8_t CollisionTypeOf(Ground ground);

struct TiledCircuit {
  int columns = 0;
  int rows = 0;
  std::vector<std::int16_t> cellTiles;  // column c, row r at c * rows + r
  std::vector<TileLook> tiles;          // tile k
  std::vector<std::int8_t> collisionTypes;

  std::int16_t TileAt(int c, int r) const { return cellTiles[static_cast<size_t>(c) * rows + r]; }
};

// `tilesPerRow`: tiles per row of the tile picture; the table is padded with plain grass so
// that the picture's last row is full and every tile cut from it has a record.
TiledCircuit TileCircuit(const CircuitDesign& design, int tilesPerRow);

}  // namespace velko::assetgen
