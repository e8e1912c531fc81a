// A small software painter for the client area of a window: XRGB8888 pixels, the classic
// grey look (bevels, sunken fields, ticks, arrows, dotted focus rectangles) and text from the
// platform's rasteriser.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace velko::gadgets {

using Colour = std::uint32_t;  // 0xRRGGBB

// The system colours of the classic grey look.
inline constexpr Colour kButtonFace = 0xD4D0C8;
inline constexpr Colour kButtonHighlight = 0xFFFFFF;
inline constexpr Colour kButtonShadow = 0x808080;
inline constexpr Colour kDarkShadow = 0x404040;
inline constexpr Colour kWindowBackground = 0xFFFFFF;
inline constexpr Colour kWindowText = 0x000000;
inline constexpr Colour kGreyText = 0x808080;
inline constexpr Colour kFrameBlack = 0x000000;
inline constexpr Colour kSelection = 0xB9D1EA;  // a pale highlight: text stays black on it

// Rasterised lines, kept per text: the same few labels are painted again and again.
class TextCache {
 public:
  explicit TextCache(platform::Platform& platform) : platform_(platform) {}
  const platform::TextRaster& Line(const std::string& textCp1252);
  int LineHeight();  // height of a line of text in the system font
  int Width(const std::string& textCp1252) { return Line(textCp1252).width; }
  // Greedy word wrapping into lines no wider than `width` (a single long word stays whole).
  std::vector<std::string> Wrap(const std::string& textCp1252, int width);

 private:
  platform::Platform& platform_;
  std::map<std::string, platform::TextRaster> lines_;
};

class Canvas {
 public:
  Canvas(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }
  platform::FrameView View() const;
  Colour At(int x, int y) const;

  void Fill(const platform::Rect& rect, Colour colour);
  void Pixel(int x, int y, Colour colour);
  void HorizontalLine(int x, int y, int length, Colour colour);
  void VerticalLine(int x, int y, int length, Colour colour);
  // One-pixel border: top and left in `topLeft`, bottom and right in `bottomRight`.
  void Border(const platform::Rect& rect, Colour topLeft, Colour bottomRight);
  void RaisedEdge(const platform::Rect& rect);  // a button
  void SunkenEdge(const platform::Rect& rect);  // a field, a check box square
  void PushedEdge(const platform::Rect& rect);  // a button held down
  void DottedRect(const platform::Rect& rect);  // the focus rectangle
  void Tick(int x, int y, Colour colour);       // a 7 x 7 check mark from (x, y)
  void DownArrow(int centreX, int centreY, Colour colour);
  // Blends a rasterised line with its top-left corner at (x, y), clipped to `clip`.
  void Text(const platform::TextRaster& raster, int x, int y, Colour ink,
            const platform::Rect& clip);

 private:
  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

platform::Rect Inset(const platform::Rect& rect, int by);
bool Contains(const platform::Rect& rect, int x, int y);
platform::Rect Intersect(const platform::Rect& a, const platform::Rect& b);

}  // namespace velko::gadgets
