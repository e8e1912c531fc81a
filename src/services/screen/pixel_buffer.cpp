#include "services/screen/pixel_buffer.h"

namespace velko {

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
