#include "assetgen/car_icon.h"

#include <algorithm>
#include <system_error>

#include "assetgen/car_painter.h"

namespace velko::assetgen {
namespace {

// Straight alpha: the key colour is the car's transparent ground, everything else opaque.
RgbaImage CarWithAlpha() {
  const RgbImage car = PaintCar();
  RgbaImage out(car.Width(), car.Height());
  for (int y = 0; y < car.Height(); ++y) {
    for (int x = 0; x < car.Width(); ++x) {
      const Rgb c = car.At(x, y);
      std::uint8_t* p = out.At(x, y);
      const bool ground = c == kKeyGreen;
      p[0] = ground ? 0 : c.r;
      p[1] = ground ? 0 : c.g;
      p[2] = ground ? 0 : c.b;
      p[3] = ground ? 0 : 255;
    }
  }
  return out;
}

// How much of source pixel `i` (an interval [i, i + 1)) the interval [from, to) covers.
double Overlap(int i, double from, double to) {
  return std::max(0.0, std::min(to, i + 1.0) - std::max(from, static_cast<double>(i)));
}

// Each target pixel is the area-weighted mean of the source pixels under it, colours weighted
// by their alpha, so the transparent ground does not darken the car's edges. At whole
// multiples this is plain pixel doubling.
RgbaImage Resample(const RgbaImage& source, int size) {
  RgbaImage out(size, size);
  const double step = static_cast<double>(source.width) / size;
  for (int ty = 0; ty < size; ++ty) {
    const double top = ty * step;
    const double bottom = top + step;
    for (int tx = 0; tx < size; ++tx) {
      const double left = tx * step;
      const double right = left + step;
      double weight = 0, alpha = 0, r = 0, g = 0, b = 0;
      for (int sy = static_cast<int>(top); sy < source.height && sy < bottom; ++sy) {
        const double wy = Overlap(sy, top, bottom);
        for (int sx = static_cast<int>(left); sx < source.width && sx < right; ++sx) {
          const double w = wy * Overlap(sx, left, right);
          const std::uint8_t* p = source.At(sx, sy);
          const double wa = w * p[3];
          weight += w;
          alpha += wa;
          r += wa * p[0];
          g += wa * p[1];
          b += wa * p[2];
        }
      }
      std::uint8_t* q = out.At(tx, ty);
      q[3] = ClampByte(alpha / weight);
      if (q[3] == 0) continue;  // fully transparent: colour 0
      q[0] = ClampByte(r / alpha);
      q[1] = ClampByte(g / alpha);
      q[2] = ClampByte(b / alpha);
    }
  }
  return out;
}

}  // namespace

RgbaImage PaintCarIcon(int size) {
  return Resample(CarWithAlpha(), size);
}

bool WriteCarIcons(const std::filesystem::path& directory, std::string& failedFile) {
  for (int size : kIconSizes) {
    const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
    const std::filesystem::path folder = directory / sizeName / "apps";
    const std::filesystem::path file = folder / (std::string(kIconName) + ".png");
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !WriteBytes(file, EncodePngRgba(PaintCarIcon(size)))) {
      failedFile = (std::filesystem::path(sizeName) / "apps" / file.filename()).generic_string();
      return false;
    }
  }
  return true;
}

}  // namespace velko::assetgen
