#include "platform/win32/win32_text.h"

#include <cstring>
#include <memory>
#include <type_traits>

namespace velko::platform {
namespace {

// The size the dialog's layout was made for: a 13-pixel em, as a classic system font.
constexpr LONG kFontPixels = 13;

struct BitmapDeleter {
  void operator()(HBITMAP bitmap) const { ::DeleteObject(bitmap); }
};

}  // namespace

Win32Platform::TextRenderer::TextRenderer() {
  context_ = ::CreateCompatibleDC(nullptr);
  // The face of the system's message boxes (Segoe UI or Tahoma), grey-scale smoothed: coverage
  // must not carry ClearType's colour fringes.
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  LOGFONTW face{};
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
    face = metrics.lfMessageFont;
  } else {
    std::wcscpy(face.lfFaceName, L"Tahoma");
  }
  face.lfHeight = -kFontPixels;
  face.lfWidth = 0;
  face.lfWeight = FW_NORMAL;
  face.lfItalic = FALSE;
  face.lfQuality = ANTIALIASED_QUALITY;
  font_ = ::CreateFontIndirectW(&face);
  if (context_ != nullptr && font_ != nullptr) previousFont_ = ::SelectObject(context_, font_);
}

Win32Platform::TextRenderer::~TextRenderer() {
  if (previousFont_ != nullptr) ::SelectObject(context_, previousFont_);
  if (font_ != nullptr) ::DeleteObject(font_);
  if (context_ != nullptr) ::DeleteDC(context_);
}

TextRaster Win32Platform::TextRenderer::Rasterize(const std::wstring& text) {
  TextRaster raster;
  if (context_ == nullptr || font_ == nullptr || text.empty()) return raster;
  SIZE extent{};
  TEXTMETRICW metrics{};
  if (!::GetTextExtentPoint32W(context_, text.c_str(), static_cast<int>(text.size()), &extent) ||
      !::GetTextMetricsW(context_, &metrics)) {
    return raster;
  }
  // Italic or overhanging glyphs reach past the advance width.
  const int width = static_cast<int>(extent.cx + metrics.tmOverhang);
  const int height = static_cast<int>(metrics.tmHeight);
  if (width <= 0 || height <= 0) return raster;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter> bitmap(
      ::CreateDIBSection(context_, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap == nullptr || bits == nullptr) return raster;
  const HGDIOBJ previous = ::SelectObject(context_, bitmap.get());
  ::PatBlt(context_, 0, 0, width, height, WHITENESS);
  ::SetBkMode(context_, TRANSPARENT);
  ::SetTextColor(context_, RGB(0, 0, 0));
  ::TextOutW(context_, 0, 0, text.c_str(), static_cast<int>(text.size()));
  ::GdiFlush();
  ::SelectObject(context_, previous);

  // Black ink on white: the coverage is how far a pixel went from white.
  raster.width = width;
  raster.height = height;
  raster.coverage.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const auto* pixels = static_cast<const std::uint32_t*>(bits);
  for (std::size_t i = 0; i < raster.coverage.size(); ++i) {
    const std::uint32_t pixel = pixels[i];
    const unsigned lightness =
        ((pixel & 0xFF) + ((pixel >> 8) & 0xFF) + ((pixel >> 16) & 0xFF)) / 3;
    raster.coverage[i] = static_cast<std::uint8_t>(255 - lightness);
  }
  return raster;
}

}  // namespace velko::platform
