// The blits every buffer shares: fills, clipped copies and the nearest-neighbour scale of a
// windowed stretch.
#pragma once

#include <cstdint>

#include "services/screen/pixel_buffer.h"

namespace velko {

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

// Fills the whole surface with one pixel value.
void FillSurface(const Surface& target, std::uint32_t value);

// Fills `area` of the surface, cut to it, with one pixel value.
void FillRect(const Surface& target, PixelRect area, std::uint32_t value);

// Copies `source` (a rectangle of `from`) to (x, y) of `to`, opaque. The rectangle is first cut
// to `from`, then to `to`; nothing outside either buffer is read or written. Both buffers
// must have the same depth. Overlapping copies within one buffer are allowed. Returns the
// rectangle of `to` written (empty when nothing was).
PixelRect CopyRect(const Surface& to, int x, int y, const Surface& from, PixelRect source);

// Copies all of `from` into `destination` of `to`, scaling by nearest neighbour; the part of
// `destination` outside `to` is left out.
void ScaleCopy(const Surface& to, PixelRect destination, const Surface& from);

}  // namespace velko
