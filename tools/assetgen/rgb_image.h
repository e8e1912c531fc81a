// A plain 24-bit picture held in memory while the generator paints it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace velko::assetgen {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;

  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The transparent colour of tiles and of the car.
inline constexpr Rgb kKeyGreen{0, 255, 0};

inline std::uint8_t ClampByte(double v) {
  return static_cast<std::uint8_t>(std::clamp(v + 0.5, 0.0, 255.0));
}

// Each component scaled by `factor` (shading), clamped.
inline Rgb Shade(Rgb c, double factor) {
  return {ClampByte(c.r * factor), ClampByte(c.g * factor), ClampByte(c.b * factor)};
}

// `t` = 0 gives a, 1 gives b.
inline Rgb Mix(Rgb a, Rgb b, double t) {
  return {ClampByte(a.r + (b.r - a.r) * t), ClampByte(a.g + (b.g - a.g) * t),
          ClampByte(a.b + (b.b - a.b) * t)};
}

inline Rgb Offset(Rgb c, int delta) {
  return {ClampByte(c.r + delta), ClampByte(c.g + delta), ClampByte(c.b + delta)};
}

class RgbImage {
 public:
  RgbImage() = default;
  RgbImage(int width, int height, Rgb fill = {})
      : width_(width), height_(height), pixels_(static_cast<size_t>(width) * height, fill) {}

  int Width() const { return width_; }
  int Height() const { return height_; }

  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  Rgb At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, Rgb c) {
    if (Contains(x, y)) pixels_[Index(x, y)] = c;
  }
  void FillRect(int x, int y, int w, int h, Rgb c) {
    for (int yy = y; yy < y + h; ++yy)
      for (int xx = x; xx < x + w; ++xx) Set(xx, yy, c);
  }
  // Copies `source` with its top-left corner at (x, y).
  void Paste(const RgbImage& source, int x, int y) {
    for (int yy = 0; yy < source.Height(); ++yy)
      for (int xx = 0; xx < source.Width(); ++xx) Set(x + xx, y + yy, source.At(xx, yy));
  }

 private:
  size_t Index(int x, int y) const { return static_cast<size_t>(y) * width_ + x; }

  int width_ = 0;
  int height_ = 0;
  std::vector<Rgb> pixels_;
};

}  // namespace velko::assetgen
