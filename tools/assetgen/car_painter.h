// The player's car seen from above, 64 x 64, front pointing up, on the key green.
#pragma once

#include "assetgen/rgb_image.h"

namespace velko::assetgen {

inline constexpr int kCarSize = 64;
// The body colour, also what a screenshot of the game shows most of the car in.
inline constexpr Rgb kCarBody{34, 92, 212};

RgbImage PaintCar();

}  // namespace velko::assetgen
