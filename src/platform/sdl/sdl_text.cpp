#include <SDL.h>

#include "platform/sdl/sdl_platform.h"

namespace velko::platform {

// Placeholder until text is rasterised.
TextRaster SdlPlatform::RasterizeText(std::string_view) {
  return {};
}

}  // namespace velko::platform
