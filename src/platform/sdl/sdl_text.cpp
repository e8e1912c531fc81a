#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <sys/stat.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "platform/sdl/sdl_fonts.h"
#include "platform/sdl/sdl_platform.h"

namespace velko::platform {
namespace {

// Debian's fonts-dejavu-core; small and crisp, close to the size of a system font. VELKO_FONT
// names another file.
constexpr const char* kFontPath = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr int kFontPixels = 13;

bool IsFile(const std::string& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// The file of the sans font fontconfig likes best; empty when it knows no font at all.
std::string FontconfigSans() {
  FcConfig* config = FcInitLoadConfigAndFonts();
  if (config == nullptr) return {};
  std::string file;
  if (FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("sans-serif"))) {
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    if (FcPattern* match = FcFontMatch(config, pattern, &result)) {
      FcChar8* path = nullptr;
      if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path != nullptr) {
        file = reinterpret_cast<const char*>(path);
      }
      FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
  }
  FcConfigDestroy(config);
  return IsFile(file) ? file : std::string();
}

}  // namespace

SdlPlatform::Fonts::Fonts() {
  if (TTF_Init() != 0) {
    ReportSdlFailure("TTF_Init");
    return;
  }
  ttfStarted = true;
  const char* chosen = std::getenv("VELKO_FONT");
  std::string path = chosen != nullptr && *chosen != '\0' ? chosen : kFontPath;
  if (!IsFile(path)) path = FontconfigSans();
  if (path.empty()) {
    // Said once: without a font every text of the game (the status line, the dialog's
    // labels) is left out.
    std::fprintf(stderr,
                 "velko: no font found (%s is missing and fontconfig knows no sans font): "
                 "the game's texts are left out\n",
                 chosen != nullptr && *chosen != '\0' ? chosen : kFontPath);
    return;
  }
  text = TTF_OpenFont(path.c_str(), kFontPixels);
  if (text == nullptr) {
    ReportSdlFailure("TTF_OpenFont");
    return;
  }
  TTF_SetFontHinting(text, TTF_HINTING_NORMAL);
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
  if (rendered == nullptr) {
    ReportSdlFailure("TTF_RenderUTF8_Blended");
    return raster;
  }
  // The ink's coverage is the rendered alpha.
  SDL_Surface* argb = SDL_ConvertSurfaceFormat(rendered, SDL_PIXELFORMAT_ARGB8888, 0);
  SDL_FreeSurface(rendered);
  if (argb == nullptr) {
    ReportSdlFailure("SDL_ConvertSurfaceFormat");
    return raster;
  }
  if (SDL_LockSurface(argb) == 0) {
    raster.width = argb->w;
    raster.height = argb->h;
    raster.coverage.resize(static_cast<size_t>(argb->w) * static_cast<size_t>(argb->h));
    for (int y = 0; y < argb->h; ++y) {
      const auto* row =
          static_cast<const Uint8*>(argb->pixels) + static_cast<ptrdiff_t>(y) * argb->pitch;
      for (int x = 0; x < argb->w; ++x) {
        Uint32 pixel;
        std::memcpy(&pixel, row + 4 * x, 4);
        raster.coverage[static_cast<size_t>(y) * static_cast<size_t>(argb->w) +
                        static_cast<size_t>(x)] = static_cast<std::uint8_t>(pixel >> 24);
      }
    }
    SDL_UnlockSurface(argb);
  } else {
    ReportSdlFailure("SDL_LockSurface");
  }
  SDL_FreeSurface(argb);
  return raster;
}

}  // namespace velko::platform
