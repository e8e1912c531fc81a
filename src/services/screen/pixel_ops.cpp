#include "services/screen/pixel_ops.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace velko {

void FillSurface(const Surface& target, std::uint32_t value) {
  if (target.Empty()) return;
  const size_t rowBytes = static_cast<size_t>(target.width) * target.BytesPerPixel();
  // Build the first row, then copy it down: every row of a fill is the same.
  std::uint8_t* first = target.Row(0);
  switch (target.depth) {
    case 8:
      std::memset(first, static_cast<int>(value & 0xFF), rowBytes);
      break;
    case 16: {
      auto* row = reinterpret_cast<std::uint16_t*>(first);
      std::fill(row, row + target.width, static_cast<std::uint16_t>(value));
      break;
    }
    case 32: {
      auto* row = reinterpret_cast<std::uint32_t*>(first);
      std::fill(row, row + target.width, value);
      break;
    }
    default:
      for (int x = 0; x < target.width; ++x) target.Set(x, 0, value);
      break;
  }
  for (int y = 1; y < target.height; ++y) std::memcpy(target.Row(y), first, rowBytes);
}

void CopyRect(const Surface& to, int x, int y, const Surface& from, PixelRect source) {
  if (to.Empty() || from.Empty() || to.depth != from.depth) return;
  // Clipped in 64 bits: positions anywhere in the 32-bit range must not overflow.
  int64_t toX = x, toY = y, fromX = source.x, fromY = source.y;
  int64_t width = source.width, height = source.height;
  // Cut the source rectangle to its own buffer, moving the destination along.
  if (fromX < 0) {
    width += fromX;
    toX -= fromX;
    fromX = 0;
  }
  if (fromY < 0) {
    height += fromY;
    toY -= fromY;
    fromY = 0;
  }
  width = std::min<int64_t>(width, from.width - fromX);
  height = std::min<int64_t>(height, from.height - fromY);
  // Then the destination to the target.
  if (toX < 0) {
    width += toX;
    fromX -= toX;
    toX = 0;
  }
  if (toY < 0) {
    height += toY;
    fromY -= toY;
    toY = 0;
  }
  width = std::min<int64_t>(width, to.width - toX);
  height = std::min<int64_t>(height, to.height - toY);
  if (width <= 0 || height <= 0) return;
  // Everything is now inside both buffers, so it fits in int again.
  x = static_cast<int>(toX);
  y = static_cast<int>(toY);
  source = {static_cast<int>(fromX), static_cast<int>(fromY), static_cast<int>(width),
            static_cast<int>(height)};

  const size_t rowBytes = static_cast<size_t>(source.width) * from.BytesPerPixel();
  const bool sameBuffer = to.pixels == from.pixels;
  if (sameBuffer && y > source.y) {
    // Moving down within one buffer: copy bottom-up so no row is overwritten before it is read.
    for (int row = source.height - 1; row >= 0; --row) {
      std::memmove(to.At(x, y + row), from.At(source.x, source.y + row), rowBytes);
    }
    return;
  }
  for (int row = 0; row < source.height; ++row) {
    std::memmove(to.At(x, y + row), from.At(source.x, source.y + row), rowBytes);
  }
}

void ScaleCopy(const Surface& to, PixelRect destination, const Surface& from) {
  if (to.Empty() || from.Empty() || to.depth != from.depth) return;
  if (destination.width <= 0 || destination.height <= 0) return;
  const int left = std::max(destination.x, 0);
  const int top = std::max(destination.y, 0);
  const int right = std::min(destination.x + destination.width, to.width);
  const int bottom = std::min(destination.y + destination.height, to.height);
  for (int ty = top; ty < bottom; ++ty) {
    const int sy = static_cast<int>(static_cast<std::int64_t>(ty - destination.y) * from.height /
                                    destination.height);
    for (int tx = left; tx < right; ++tx) {
      const int sx = static_cast<int>(static_cast<std::int64_t>(tx - destination.x) * from.width /
                                      destination.width);
      to.Set(tx, ty, from.Get(sx, sy));
    }
  }
}

}  // namespace velko
