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
    case 16:
      for (int x = 0; x < target.width; ++x) {
        StorePixel(first + 2 * static_cast<size_t>(x), static_cast<std::uint16_t>(value));
      }
      break;
    case 32:
      for (int x = 0; x < target.width; ++x) StorePixel(first + 4 * static_cast<size_t>(x), value);
      break;
    default:
      for (int x = 0; x < target.width; ++x) target.Set(x, 0, value);
      break;
  }
  for (int y = 1; y < target.height; ++y) std::memcpy(target.Row(y), first, rowBytes);
}

void FillRect(const Surface& target, PixelRect area, std::uint32_t value) {
  if (target.Empty()) return;
  const int left = std::clamp(area.x, 0, target.width);
  const int top = std::clamp(area.y, 0, target.height);
  const int right = static_cast<int>(
      std::clamp<std::int64_t>(std::int64_t{area.x} + area.width, left, target.width));
  const int bottom = static_cast<int>(
      std::clamp<std::int64_t>(std::int64_t{area.y} + area.height, top, target.height));
  if (left >= right || top >= bottom) return;
  const size_t bytes = static_cast<size_t>(right - left) * target.BytesPerPixel();
  const bool bytesAlike = value == 0 || target.depth == 8 ||
                          (target.depth == 16 && (value & 0xFF) == (value >> 8 & 0xFF));
  for (int y = top; y < bottom; ++y) {
    std::uint8_t* at = target.At(left, y);
    if (bytesAlike) {
      std::memset(at, static_cast<int>(value & 0xFF), bytes);
    } else if (target.depth == 16) {
      for (int x = left; x < right; ++x, at += 2) StorePixel(at, static_cast<std::uint16_t>(value));
    } else if (target.depth == 32) {
      for (int x = left; x < right; ++x, at += 4) StorePixel(at, value);
    } else {
      for (int x = left; x < right; ++x) target.Set(x, y, value);
    }
  }
}

namespace {

// Copies one short row between buffers that do not overlap. WebAssembly's memory.copy costs a
// call into the engine each time, and the msvcrt copy a MinGW program calls was measured (under
// Wine) slower than the row itself: those builds define VELKO_ROWS_IN_BLOCKS, and there the row
// goes in 16-byte blocks, the last one overlapping. With glibc, whose short copies are the
// fastest, the C library copies.
inline void CopyShortRow(std::uint8_t* out, const std::uint8_t* in, size_t bytes) {
#ifdef VELKO_ROWS_IN_BLOCKS
  if (bytes >= 16) {
    size_t done = 0;
    for (; done + 16 <= bytes; done += 16) std::memcpy(out + done, in + done, 16);
    if (done < bytes) std::memcpy(out + bytes - 16, in + bytes - 16, 16);
    return;
  }
#endif
  std::memcpy(out, in, bytes);
}

struct Span {
  int64_t from = 0;
  int64_t to = 0;
  int64_t length = 0;
};

// One axis of a copy: `length` units from `from` in a source `fromSize` long land at `to` in a
// target `toSize` long. Cut to the source first, then to the target, moving the other end
// along; in 64 bits, so positions anywhere in the 32-bit range cannot overflow.
Span ClipSpan(int64_t from, int64_t to, int64_t length, int fromSize, int toSize) {
  if (from < 0) {
    length += from;
    to -= from;
    from = 0;
  }
  length = std::min<int64_t>(length, fromSize - from);
  if (to < 0) {
    length += to;
    from -= to;
    to = 0;
  }
  length = std::min<int64_t>(length, toSize - to);
  return {from, to, length};
}

}  // namespace

PixelRect CopyRect(const Surface& to, int x, int y, const Surface& from, PixelRect source) {
  if (to.Empty() || from.Empty() || to.depth != from.depth) return {};
  const Span across = ClipSpan(source.x, x, source.width, from.width, to.width);
  const Span down = ClipSpan(source.y, y, source.height, from.height, to.height);
  if (across.length <= 0 || down.length <= 0) return {};
  // Everything is now inside both buffers, so it fits in int again.
  x = static_cast<int>(across.to);
  y = static_cast<int>(down.to);
  source = {static_cast<int>(across.from), static_cast<int>(down.from),
            static_cast<int>(across.length), static_cast<int>(down.length)};

  const PixelRect written{x, y, source.width, source.height};
  const size_t rowBytes = static_cast<size_t>(source.width) * from.BytesPerPixel();
  const bool sameBuffer = to.pixels == from.pixels;
  if (!sameBuffer) {
    // Two buffers never overlap. The rows go by pointers held in locals: a sprite's rows are
    // short, and reloading the surfaces' fields around every copy cost as much as the copy.
    std::uint8_t* out = to.At(x, y);
    const std::uint8_t* in = from.At(source.x, source.y);
    const std::ptrdiff_t outPitch = to.pitch;
    const std::ptrdiff_t inPitch = from.pitch;
    for (int row = 0; row < source.height; ++row, out += outPitch, in += inPitch) {
      CopyShortRow(out, in, rowBytes);
    }
    return written;
  }
  if (y > source.y) {
    // Moving down within one buffer: copy bottom-up so no row is overwritten before it is read.
    for (int row = source.height - 1; row >= 0; --row) {
      std::memmove(to.At(x, y + row), from.At(source.x, source.y + row), rowBytes);
    }
    return written;
  }
  for (int row = 0; row < source.height; ++row) {
    std::memmove(to.At(x, y + row), from.At(source.x, source.y + row), rowBytes);
  }
  return written;
}

void ScaleCopy(const Surface& to, PixelRect destination, const Surface& from) {
  if (to.Empty() || from.Empty() || to.depth != from.depth) return;
  if (destination.width <= 0 || destination.height <= 0) return;
  // In 64 bits: a destination far out at either end of the int range stays defined.
  const std::int64_t x0 = destination.x;
  const std::int64_t y0 = destination.y;
  const int left = static_cast<int>(std::clamp<std::int64_t>(x0, 0, to.width));
  const int top = static_cast<int>(std::clamp<std::int64_t>(y0, 0, to.height));
  const int right = static_cast<int>(std::clamp<std::int64_t>(x0 + destination.width, 0, to.width));
  const int bottom =
      static_cast<int>(std::clamp<std::int64_t>(y0 + destination.height, 0, to.height));
  for (int ty = top; ty < bottom; ++ty) {
    const int sy = static_cast<int>((ty - y0) * from.height / destination.height);
    for (int tx = left; tx < right; ++tx) {
      const int sx = static_cast<int>((tx - x0) * from.width / destination.width);
      to.Set(tx, ty, from.Get(sx, sy));
    }
  }
}

}  // namespace velko
