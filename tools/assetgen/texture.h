// Small texture helpers shared by the painters. Every texture repeats every 50 pixels, so
// tiles of one material join without a seam whatever their neighbours.
#pragma once

#include <cstdint>

namespace velko::assetgen {

inline constexpr int kTileSize = 50;

// Hash of a pixel or lattice point in [0, 1).
double Hash01(std::uint64_t seed, int x, int y);

// Smooth value noise in [-1, 1) with `cells` lattice cells across the 50-pixel period.
double PeriodicNoise(std::uint64_t seed, double x, double y, int cells);

}  // namespace velko::assetgen
