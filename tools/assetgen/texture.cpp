#include "assetgen/texture.h"

#include "assetgen/random_stream.h"

namespace velko::assetgen {
namespace {

int Wrap(int v, int period) {
  return ((v % period) + period) % period;
}

double Smooth(double t) {
  return t * t * (3.0 - 2.0 * t);
}

}  // namespace

double Hash01(std::uint64_t seed, int x, int y) {
  const std::uint64_t h = HashInts(seed, static_cast<std::uint64_t>(Wrap(x, 1 << 16)),
                                   static_cast<std::uint64_t>(Wrap(y, 1 << 16)));
  return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

double PeriodicNoise(std::uint64_t seed, double x, double y, int cells) {
  const double step = static_cast<double>(kTileSize) / cells;
  const double gx = x / step;
  const double gy = y / step;
  const int x0 = static_cast<int>(gx >= 0 ? gx : gx - 1);
  const int y0 = static_cast<int>(gy >= 0 ? gy : gy - 1);
  const double tx = Smooth(gx - x0);
  const double ty = Smooth(gy - y0);
  auto corner = [&](int cx, int cy) {
    return Hash01(seed, Wrap(cx, cells), Wrap(cy, cells)) * 2 - 1;
  };
  const double top = corner(x0, y0) + (corner(x0 + 1, y0) - corner(x0, y0)) * tx;
  const double bottom = corner(x0, y0 + 1) + (corner(x0 + 1, y0 + 1) - corner(x0, y0 + 1)) * tx;
  return top + (bottom - top) * ty;
}

}  // namespace velko::assetgen
