// Rules every backend follows when it shows a finished frame: where a scaled frame lies in
// its output, and what colour a 16-bit pixel stands for.
#pragma once

#include <cstdint>

#include "platform/platform.h"

namespace velko::platform {

// The largest rectangle of the frame's aspect centred in the output; the frame's own size at
// the origin when either has no area.
Rect FitWithAspect(int frameWidth, int frameHeight, int outputWidth, int outputHeight);

// 0xRRGGBB of an RGB565 pixel, each channel widened with its top bits repeated, so that full
// intensity stays full (white stays white).
constexpr std::uint32_t RgbFrom565(std::uint16_t pixel) {
  const std::uint32_t r = (pixel >> 11) & 31;
  const std::uint32_t g = (pixel >> 5) & 63;
  const std::uint32_t b = pixel & 31u;
  return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

}  // namespace velko::platform
