#include "platform/frame_fitting.h"

#include <algorithm>

namespace velko::platform {

Rect FitWithAspect(int frameWidth, int frameHeight, int outputWidth, int outputHeight) {
  if (frameWidth <= 0 || frameHeight <= 0 || outputWidth <= 0 || outputHeight <= 0) {
    return {0, 0, frameWidth, frameHeight};
  }
  const double scale = std::min(static_cast<double>(outputWidth) / frameWidth,
                                static_cast<double>(outputHeight) / frameHeight);
  Rect rect;
  rect.width = static_cast<int>(frameWidth * scale);
  rect.height = static_cast<int>(frameHeight * scale);
  rect.x = (outputWidth - rect.width) / 2;
  rect.y = (outputHeight - rect.height) / 2;
  return rect;
}

}  // namespace velko::platform
