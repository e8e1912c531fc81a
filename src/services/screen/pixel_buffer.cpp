#include "services/screen/pixel_buffer.h"

#include <cstring>

namespace velko {

std::uint32_t Surface::Get(int x, int y) const {
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

void Surface::Set(int x, int y, std::uint32_t value) const {
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

bool PixelBuffer::SizeAllowed(std::int64_t width, std::int64_t height) {
  return width > 0 && height > 0 && width <= kMaxBufferSide && height <= kMaxBufferSide &&
         width * height <= kMaxBufferPixels;
}

PixelBuffer::PixelBuffer(int width, int height, int depth) {
  if (!SizeAllowed(width, height)) return;
  if (depth != 8 && depth != 16 && depth != 24 && depth != 32) return;
  width_ = width;
  height_ = height;
  depth_ = depth;
  // Rows padded to 4 bytes, as device surfaces are.
  pitch_ = (width * (depth / 8) + 3) & ~3;
  storage_.assign(static_cast<size_t>(pitch_) * static_cast<size_t>(height), 0);
}

std::uint32_t PackColour(int depth, std::int32_t red, std::int32_t green, std::int32_t blue) {
  if (depth == 16) {
    return static_cast<std::uint32_t>((red / 8) * 2048 + (green / 4) * 32 + blue / 8);
  }
  return static_cast<std::uint32_t>(red * 65536 + green * 256 + blue);
}

}  // namespace velko
