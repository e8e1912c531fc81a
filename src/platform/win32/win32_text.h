// Text in the system's message font, drawn by GDI into a DIB section and read back as coverage.
#pragma once

#include <string>

#include "platform/win32/win32_platform.h"

namespace velko::platform {

class Win32Platform::TextRenderer {
 public:
  TextRenderer();
  ~TextRenderer();
  TextRenderer(const TextRenderer&) = delete;
  TextRenderer& operator=(const TextRenderer&) = delete;

  TextRaster Rasterize(const std::wstring& text);

 private:
  HDC context_ = nullptr;
  HFONT font_ = nullptr;
  HGDIOBJ previousFont_ = nullptr;
};

}  // namespace velko::platform
