#include <SDL.h>
#include <SDL_ttf.h>

#include "platform/sdl/sdl_fonts.h"
#include "platform/sdl/sdl_platform.h"

namespace velko::platform {
namespace {

// Debian's fonts-dejavu-core; small and crisp, close to the size of a system font.
constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kFontPixels = 13;

}  // namespace

SdlPlatform::Fonts::Fonts() {
  if (TTF_Init() != 0) return;
  ttfStarted = true;
  text = TTF_OpenFont(kFontPath, kFontPixels);
  if (text != nullptr) TTF_SetFontHinting(text, TTF_HINTING_NORMAL);
}

SdlPlatform::Fonts::~Fonts() {
  if (text != nullptr) TTF_CloseFont(text);
  if (ttfStarted) TTF_Quit();
}

TextRaster SdlPlatform::RasterizeText(std::string_view textCp1252) {
  TextRaster raster;
  if (textCp1252.empty()) return raster;
  if (fonts_ == nullptr) fonts_ = std::make_unique<Fonts>();
  if (fonts_->text == nullptr) return raster;
  const std::string utf8 = Utf8FromCp1252(textCp1252);
  SDL_Surface* rendered = TTF_RenderUTF8_Blended(fonts_->text, utf8.c_str(), {0, 0, 0, 255});
  if (rendered == nullptr) return raster;
  // The ink's coverage is the rendered alpha.
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (argb == nullptr) return raster;
  if (SDL_LockSurface(argb) == 0) {
    raster.width = argb->w;
    raster.height = argb->h;
    raster.coverage.resize(static_cast<size_t>(argb->w) * static_cast<size_t>(argb->h));
    for (int y = 0; y < argb->h; ++y) {
      const auto* row = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(argb->pixels) +
                                                        static_cast<ptrdiff_t>(y) * argb->pitch);
      for (int x = 0; x < argb->w; ++x) {
        raster.coverage[static_cast<size_t>(y) * static_cast<size_t>(argb->w) +
                        static_cast<size_t>(x)] = static_cast<std::uint8_t>(row[x] >> 24);
      }
    }
    SDL_UnlockSurface(argb);
  }
  SDL_FreeSurface(argb);
  return raster;
}

}  // namespace velko::platform
