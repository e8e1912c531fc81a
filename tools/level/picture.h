// Pictures the level tool works on: 8-bit RGB (the game's tile picture) and RGBA (what Tiled
// tilesets hold), top row first.
#pragma once

#include <cstdint>
#include <vector>

namespace velko::level {

struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend bool operator==(const Rgb&, const Rgb&) = default;
};

// The colour the game keys its tiles on: it shows the black ground beneath.
inline constexpr Rgb kKey{0, 255, 0};

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<Rgb> pixels;

  RgbPicture() = default;
  RgbPicture(int w, int h, Rgb fill = {}) : width(w), height(h), pixels(size_t(w) * h, fill) {}
  Rgb& At(int x, int y) { return pixels[size_t(y) * width + x]; }
  const Rgb& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
  friend bool operator==(const RgbPicture&, const RgbPicture&) = default;
};

struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;
  friend bool operator==(const Rgba&, const Rgba&) = default;
};

struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<Rgba> pixels;

  RgbaPicture() = default;
  RgbaPicture(int w, int h) : width(w), height(h), pixels(size_t(w) * h) {}
  Rgba& At(int x, int y) { return pixels[size_t(y) * width + x]; }
  const Rgba& At(int x, int y) const { return pixels[size_t(y) * width + x]; }
};

}  // namespace velko::level
