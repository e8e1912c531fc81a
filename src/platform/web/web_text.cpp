// Text through the canvas's own text drawing: the line drawn in a sans font at the size of the
// system font, its ink read back as coverage.
#include <emscripten.h>

#include "platform/web/web_platform.h"

// Calls into the page script (velko_page.js).
EM_JS(void, velko_text_size, (const char* text, int* size),
      { VelkoPage.textSize(UTF8ToString(text), size); });
EM_JS(void, velko_text_draw, (const char* text, std::uint8_t* coverage, int width, int height),
      { VelkoPage.textDraw(UTF8ToString(text), coverage, width, height); });

namespace velko::platform {
namespace {}  // namespace

TextRaster WebPlatform::RasterizeText(std::string_view textCp1252) {
  TextRaster raster;
  if (textCp1252.empty()) return raster;
  const std::string utf8 = Utf8FromCp1252(textCp1252);
  int size[2] = {0, 0};
  velko_text_size(utf8.c_str(), size);
  if (size[0] <= 0 || size[1] <= 0) return raster;
  raster.width = size[0];
  raster.height = size[1];
  raster.coverage.assign(static_cast<std::size_t>(size[0]) * static_cast<std::size_t>(size[1]), 0);
  velko_text_draw(utf8.c_str(), raster.coverage.data(), size[0], size[1]);
  return raster;
}

}  // namespace velko::platform
