// Pixel buffers in the display's format: RGB565 at 16 bits per pixel, XRGB8888 at 32 (24 keeps
// three bytes B, G, R; 8 is one byte of palette index). Every back buffer and sprite is one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace velko {

// One pixel of type Pixel (std::uint16_t or std::uint32_t) read or written at a byte address;
// the bytes are plain storage, so they are copied rather than aliased.
template <typename Pixel>
Pixel LoadPixel(const std::uint8_t* at) {
  Pixel value;
  std::memcpy(&value, at, sizeof value);
  return value;
}
template <typename Pixel>
void StorePixel(std::uint8_t* at, Pixel value) {
  std::memcpy(at, &value, sizeof value);
}

// A non-owning view of pixel memory: rows of `pitch` bytes, top row first.
struct Surface {
  std::uint8_t* pixels = nullptr;
  int pitch = 0;
  int width = 0;
  int height = 0;
  int depth = 0;  // bits per pixel

  int BytesPerPixel() const { return depth / 8; }
  bool Empty() const { return pixels == nullptr || width <= 0 || height <= 0; }
  std::uint8_t* Row(int y) const {
    return pixels + static_cast<std::ptrdiff_t>(y) * static_cast<std::ptrdiff_t>(pitch);
  }
  std::uint8_t* At(int x, int y) const { return Row(y) + x * BytesPerPixel(); }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // Pixel value at (x, y) as stored (no bounds test).
  std::uint32_t Get(int x, int y) const {
    const std::uint8_t* p = At(x, y);
    switch (depth) {
      case 8:
        return p[0];
      case 16: {
        std::uint16_t v;
        std::memcpy(&v, p, 2);
        return v;
      }
      case 24:
        return static_cast<std::uint32_t>(p[0] | (p[1] << 8) | (p[2] << 16));
      default: {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return v;
      }
    }
  }
  void Set(int x, int y, std::uint32_t value) const {
    std::uint8_t* p = At(x, y);
    switch (depth) {
      case 8:
        p[0] = static_cast<std::uint8_t>(value);
        break;
      case 16: {
        const auto v = static_cast<std::uint16_t>(value);
        std::memcpy(p, &v, 2);
        break;
      }
      case 24:
        p[0] = static_cast<std::uint8_t>(value);
        p[1] = static_cast<std::uint8_t>(value >> 8);
        p[2] = static_cast<std::uint8_t>(value >> 16);
        break;
      default:
        std::memcpy(p, &value, 4);
        break;
    }
  }
};

// Largest picture a buffer may hold: a sane bound on what a file header can make us allocate.
inline constexpr int kMaxBufferSide = 32767;
inline constexpr std::int64_t kMaxBufferPixels = std::int64_t{1} << 24;  // 64 MiB at 32 bits

// An owning pixel buffer, zero-filled (black) when made. Its colour key is a property of the
// buffer, as a device surface would keep it.
class PixelBuffer {
 public:
  // A buffer of width x height at depth 8, 16, 24 or 32; check Valid() for refused sizes.
  PixelBuffer(int width, int height, int depth);
  static bool SizeAllowed(std::int64_t width, std::int64_t height);

  bool Valid() const { return !storage_.empty(); }
  Surface View() { return {storage_.data(), pitch_, width_, height_, depth_}; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  int Depth() const { return depth_; }
  int Pitch() const { return pitch_; }

  std::uint32_t keyColour = 0;

 private:
  int width_ = 0;
  int height_ = 0;
  int depth_ = 0;
  int pitch_ = 0;
  std::vector<std::uint8_t> storage_;
};

// Packs 0..255 components for a display depth: RGB565 at 16 bits (integer divisions), red *
// 65536 + green * 256 + blue at any other depth.
std::uint32_t PackColour(int depth, std::int32_t red, std::int32_t green, std::int32_t blue);

}  // namespace velko
