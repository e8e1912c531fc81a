// The font the platform rasterises text with, opened on first need and closed with the
// platform.
#pragma once

#include <SDL_ttf.h>

#include "platform/sdl/sdl_platform.h"

namespace velko::platform {

struct SdlPlatform::Fonts {
  Fonts();
  ~Fonts();
  Fonts(const Fonts&) = delete;
  Fonts& operator=(const Fonts&) = delete;

  bool ttfStarted = false;
  TTF_Font* text = nullptr;  // null when the font cannot be had: text is then left out
};

}  // namespace velko::platform
