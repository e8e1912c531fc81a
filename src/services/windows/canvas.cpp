#include "services/windows/canvas.h"

#include <algorithm>

namespace velko::gadgets {

const platform::TextRaster& TextCache::Line(const std::string& textCp1252) {
  auto found = lines_.find(textCp1252);
  if (found != lines_.end()) return found->second;
  return lines_.emplace(textCp1252, platform_.RasterizeText(textCp1252)).first->second;
}

int TextCache::LineHeight() {
  // Capitals and descenders give the full height of a line.
  return std::max(Line("Ag").height, 1);
}

std::vector<std::string> TextCache::Wrap(const std::string& textCp1252, int width) {
  std::vector<std::string> lines;
  std::string line;
  size_t position = 0;
  while (position < textCp1252.size()) {
    const size_t space = textCp1252.find(' ', position);
    const size_t end = space == std::string::npos ? textCp1252.size() : space;
    const std::string word = textCp1252.substr(position, end - position);
    const std::string candidate = line.empty() ? word : line + " " + word;
    if (!line.empty() && Width(candidate) > width) {
      lines.push_back(line);
      line = word;
    } else {
      line = candidate;
    }
    position = end + 1;
  }
  if (!line.empty() || lines.empty()) lines.push_back(line);
  return lines;
}

Canvas::Canvas(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), kButtonFace) {}

platform::FrameView Canvas::View() const {
  platform::FrameView view;
  view.pixels = pixels_.data();
  view.pitch = width_ * 4;
  view.width = width_;
  view.height = height_;
  view.depth = 32;
  return view;
}

Colour Canvas::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Canvas::Pixel(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] = colour;
}

void Canvas::Fill(const platform::Rect& rect, Colour colour) {
  const platform::Rect clipped = Intersect(rect, {0, 0, width_, height_});
  for (int y = clipped.y; y < clipped.y + clipped.height; ++y) {
    auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_ + clipped.x;
    std::fill(row, row + clipped.width, colour);
  }
}

void Canvas::HorizontalLine(int x, int y, int length, Colour colour) {
  Fill({x, y, length, 1}, colour);
}

void Canvas::VerticalLine(int x, int y, int length, Colour colour) {
  Fill({x, y, 1, length}, colour);
}

void Canvas::Border(const platform::Rect& rect, Colour topLeft, Colour bottomRight) {
  if (rect.width <= 0 || rect.height <= 0) return;
  HorizontalLine(rect.x, rect.y, rect.width - 1, topLeft);
  VerticalLine(rect.x, rect.y, rect.height - 1, topLeft);
  HorizontalLine(rect.x, rect.y + rect.height - 1, rect.width, bottomRight);
  VerticalLine(rect.x + rect.width - 1, rect.y, rect.height, bottomRight);
}

void Canvas::RaisedEdge(const platform::Rect& rect) {
  Border(rect, kButtonHighlight, kDarkShadow);
  Border(Inset(rect, 1), kButtonFace, kButtonShadow);
}

void Canvas::SunkenEdge(const platform::Rect& rect) {
  Border(rect, kButtonShadow, kButtonHighlight);
  Border(Inset(rect, 1), kDarkShadow, kButtonFace);
}

void Canvas::PushedEdge(const platform::Rect& rect) {
  Border(rect, kButtonShadow, kButtonShadow);
}

void Canvas::DottedRect(const platform::Rect& rect) {
  if (rect.width <= 0 || rect.height <= 0) return;
  const int right = rect.x + rect.width - 1;
  const int bottom = rect.y + rect.height - 1;
  for (int x = rect.x; x <= right; ++x) {
    if (((x + rect.y) & 1) == 0) Pixel(x, rect.y, kFrameBlack);
    if (((x + bottom) & 1) == 0) Pixel(x, bottom, kFrameBlack);
  }
  for (int y = rect.y; y <= bottom; ++y) {
    if (((rect.x + y) & 1) == 0) Pixel(rect.x, y, kFrameBlack);
    if (((right + y) & 1) == 0) Pixel(right, y, kFrameBlack);
  }
}

void Canvas::Tick(int x, int y, Colour colour) {
  // The classic mark: a stroke three pixels high, down to column 2 and up to column 6.
  static constexpr int kTop[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int column = 0; column < 7; ++column) VerticalLine(x + column, y + kTop[column], 3, colour);
}

void Canvas::DownArrow(int centreX, int centreY, Colour colour) {
  for (int row = 0; row < 4; ++row) {
    HorizontalLine(centreX - 3 + row, centreY - 2 + row, 7 - 2 * row, colour);
  }
}

void Canvas::Text(const platform::TextRaster& raster, int x, int y, Colour ink,
                  const platform::Rect& clip) {
  const platform::Rect area =
      Intersect(Intersect({x, y, raster.width, raster.height}, clip), {0, 0, width_, height_});
  for (int row = area.y; row < area.y + area.height; ++row) {
    for (int column = area.x; column < area.x + area.width; ++column) {
      const unsigned coverage =
          raster.coverage[static_cast<size_t>(row - y) * static_cast<size_t>(raster.width) +
                          static_cast<size_t>(column - x)];
      if (coverage == 0) continue;
      Colour& pixel = pixels_[static_cast<size_t>(row) * static_cast<size_t>(width_) +
                              static_cast<size_t>(column)];
      // Each channel moves from the background towards the ink by the coverage.
      Colour blended = 0;
      for (int shift = 0; shift <= 16; shift += 8) {
        const int back = static_cast<int>((pixel >> shift) & 0xFF);
        const int front = static_cast<int>((ink >> shift) & 0xFF);
        const int mixed = back + (front - back) * static_cast<int>(coverage) / 255;
        blended |= static_cast<Colour>(mixed) << shift;
      }
      pixel = blended;
    }
  }
}

platform::Rect Inset(const platform::Rect& rect, int by) {
  return {rect.x + by, rect.y + by, std::max(rect.width - 2 * by, 0),
          std::max(rect.height - 2 * by, 0)};
}

bool Contains(const platform::Rect& rect, int x, int y) {
  return x >= rect.x && y >= rect.y && x < rect.x + rect.width && y < rect.y + rect.height;
}

platform::Rect Intersect(const platform::Rect& a, const platform::Rect& b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.x + a.width, b.x + b.width);
  const int bottom = std::min(a.y + a.height, b.y + b.height);
  if (right <= left || bottom <= top) return {left, top, 0, 0};
  return {left, top, right - left, bottom - top};
}

}  // namespace velko::gadgets
