#include "services/sprites/textured_quad.h"

#include <algorithm>
#include <cmath>

#include "services/text/exact_trig.h"

namespace velko {

TexturedQuad InitialCorners(int quadWidth, int quadHeight) {
  TexturedQuad quad;
  const auto w = static_cast<float>(quadWidth);
  const auto h = static_cast<float>(quadHeight);
  quad[0].x = 0;
  quad[0].y = 0;
  quad[1].x = w;
  quad[1].y = 0;
  quad[1].u = 1.0f;
  quad[2].x = 0;
  quad[2].y = h;
  quad[2].v = 1.0f;
  quad[3].x = w;
  quad[3].y = h;
  quad[3].u = 1.0f;
  quad[3].v = 1.0f;
  return quad;
}

void RotateCorners(TexturedQuad& quad, int quadWidth, int quadHeight, int degrees, int sizeSource) {
  double hw = 0;
  double hh = 0;
  if (sizeSource == 0) {
    hw = quadWidth / 2;
    hh = quadHeight / 2;
  } else {
    // After a rotation vertex 3 no longer holds the size; the game never asks for this.
    hw = std::trunc(static_cast<double>(quad[3].x) / 2.0);
    hh = std::trunc(static_cast<double>(quad[3].y) / 2.0);
  }
  // The game's own degree step and quarter turn: 0.0175 and 1.575, not pi/180 and pi/2, each
  // angle kept in single precision.
  float angle = static_cast<float>(0.0175 * degrees);
  constexpr int kVertexOfCorner[4] = {0, 1, 3, 2};
  for (int k = 0; k < 4; ++k) {
    if (k > 0) angle = static_cast<float>(static_cast<double>(angle) + 1.575);
    const double c = ExactCos(angle);
    const double s = ExactSin(angle);
    TexturedVertex& vertex = quad[static_cast<size_t>(kVertexOfCorner[k])];
    vertex.x = static_cast<float>(hw + hw * c + hh * s);
    vertex.y = static_cast<float>(hh + hw * s - hh * c);
  }
}

namespace {

// Rasterising rules, chosen to match a 3D device:
// - pixel centres at (x + 0.5, y + 0.5);
// - top-left fill rule: a centre exactly on an edge belongs to the triangle only when that
//   edge is a top edge (horizontal, above the interior) or a left edge, so the two triangles
//   of the strip share their diagonal without gaps or double blending;
// - texture coordinates interpolated linearly (all vertices have rhw 1), point sampling at
//   texel (floor(u * width), floor(v * height)) clamped to the texture;
// - a texel equal to the key colour (colour bits only) is left out; the others are blended
//   per channel as (texel * a + target * (255 - a) + 127) / 255, exact at a = 255.

struct EdgeFunction {
  double a = 0;
  double b = 0;
  double c = 0;
  bool inclusive = false;  // centres on the edge count as inside

  double At(double x, double y) const { return a * x + b * y + c; }
  bool Inside(double value) const { return value > 0 || (value == 0 && inclusive); }
};

// Edge from p to q of a triangle wound so that the interior gives positive values.
EdgeFunction MakeEdge(const TexturedVertex& p, const TexturedVertex& q) {
  EdgeFunction edge;
  const double px = p.x;
  const double py = p.y;
  const double qx = q.x;
  const double qy = q.y;
  edge.a = py - qy;
  edge.b = qx - px;
  edge.c = px * qy - py * qx;
  // With y growing downward and this winding, a top edge runs to the right (dy == 0, dx > 0)
  // and a left edge runs upward (dy < 0).
  const double dx = qx - px;
  const double dy = qy - py;
  edge.inclusive = (dy == 0 && dx > 0) || dy < 0;
  return edge;
}

std::uint32_t Blend(std::uint32_t source, std::uint32_t target, int depth, std::uint32_t alpha) {
  const std::uint32_t inverse = 255 - alpha;
  auto channel = [&](int shift, std::uint32_t mask) {
    const std::uint32_t s = (source >> shift) & mask;
    const std::uint32_t d = (target >> shift) & mask;
    return ((s * alpha + d * inverse + 127) / 255) << shift;
  };
  if (depth == 16) return channel(11, 31) | channel(5, 63) | channel(0, 31);
  return channel(16, 255) | channel(8, 255) | channel(0, 255);
}

template <typename Pixel>
void DrawTriangle(const Surface& target, TexturedVertex v0, TexturedVertex v1, TexturedVertex v2,
                  const Surface& texture, std::uint32_t key, std::uint32_t colourMask,
                  std::uint32_t alpha) {
  double area = (static_cast<double>(v1.x) - v0.x) * (static_cast<double>(v2.y) - v0.y) -
                (static_cast<double>(v1.y) - v0.y) * (static_cast<double>(v2.x) - v0.x);
  if (area == 0 || !std::isfinite(area)) return;
  // Both windings are drawn (no culling); wind the triangle so the interior is positive.
  if (area < 0) {
    std::swap(v1, v2);
    area = -area;
  }
  const EdgeFunction edges[3] = {MakeEdge(v1, v2), MakeEdge(v2, v0), MakeEdge(v0, v1)};

  const double minX = std::min({v0.x, v1.x, v2.x});
  const double maxX = std::max({v0.x, v1.x, v2.x});
  const double minY = std::min({v0.y, v1.y, v2.y});
  const double maxY = std::max({v0.y, v1.y, v2.y});
  // Bounds of the candidate pixels, cut to the target before any conversion to int.
  const double leftEdge = std::max(0.0, std::floor(minX - 0.5));
  const double rightEdge = std::min<double>(target.width - 1, std::ceil(maxX - 0.5));
  const double topEdge = std::max(0.0, std::floor(minY - 0.5));
  const double bottomEdge = std::min<double>(target.height - 1, std::ceil(maxY - 0.5));
  if (!(leftEdge <= rightEdge) || !(topEdge <= bottomEdge)) return;
  const int top = static_cast<int>(topEdge);
  const int bottom = static_cast<int>(bottomEdge);

  // The texture coordinates are linear in the pixel position: u = (w0 u0 + w1 u1 + w2 u2) / area.
  const double uDx = (edges[0].a * v0.u + edges[1].a * v1.u + edges[2].a * v2.u) / area;
  const double uDy = (edges[0].b * v0.u + edges[1].b * v1.u + edges[2].b * v2.u) / area;
  const double uAt0 = (edges[0].c * v0.u + edges[1].c * v1.u + edges[2].c * v2.u) / area;
  const double vDx = (edges[0].a * v0.v + edges[1].a * v1.v + edges[2].a * v2.v) / area;
  const double vDy = (edges[0].b * v0.v + edges[1].b * v1.v + edges[2].b * v2.v) / area;
  const double vAt0 = (edges[0].c * v0.v + edges[1].c * v1.v + edges[2].c * v2.v) / area;

  const double texWidth = texture.width;
  const double texHeight = texture.height;
  for (int y = top; y <= bottom; ++y) {
    const double cy = y + 0.5;
    // The row's span: each edge bounds x on one side; one extra pixel either way keeps the
    // exact test below in charge of the edge pixels.
    double spanLeft = leftEdge;
    double spanRight = rightEdge;
    bool empty = false;
    for (const EdgeFunction& edge : edges) {
      const double rowValue = edge.b * cy + edge.c;
      if (edge.a > 0) {
        spanLeft = std::max(spanLeft, std::floor(-rowValue / edge.a - 0.5) - 1);
      } else if (edge.a < 0) {
        spanRight = std::min(spanRight, std::ceil(-rowValue / edge.a - 0.5) + 1);
      } else if (!edge.Inside(rowValue)) {
        empty = true;
      }
    }
    if (empty || !(spanLeft <= spanRight)) continue;
    std::uint8_t* row = target.Row(y);
    for (int x = static_cast<int>(spanLeft); x <= static_cast<int>(spanRight); ++x) {
      const double cx = x + 0.5;
      if (!edges[0].Inside(edges[0].At(cx, cy)) || !edges[1].Inside(edges[1].At(cx, cy)) ||
          !edges[2].Inside(edges[2].At(cx, cy))) {
        continue;
      }
      const double u = uDx * cx + uDy * cy + uAt0;
      const double v = vDx * cx + vDy * cy + vAt0;
      // floor(u * width) clamped: on the clamped, non-negative value truncation is the floor.
      const int tx = static_cast<int>(std::clamp(u * texWidth, 0.0, texWidth - 1));
      const int ty = static_cast<int>(std::clamp(v * texHeight, 0.0, texHeight - 1));
      const std::uint32_t texel =
          LoadPixel<Pixel>(texture.Row(ty) + sizeof(Pixel) * static_cast<size_t>(tx));
      if ((texel & colourMask) == (key & colourMask)) continue;
      std::uint8_t* at = row + sizeof(Pixel) * static_cast<size_t>(x);
      if (alpha == 255) {
        StorePixel(at, static_cast<Pixel>(texel & colourMask));
      } else {
        StorePixel(at, static_cast<Pixel>(Blend(texel, LoadPixel<Pixel>(at), target.depth, alpha)));
      }
    }
  }
}

}  // namespace

void DrawTexturedQuad(const Surface& target, const TexturedQuad& quad, const Surface& texture,
                      std::uint32_t keyColour, std::uint8_t alpha) {
  if (target.Empty() || texture.Empty() || target.depth != texture.depth) return;
  if (target.depth != 16 && target.depth != 32) return;
  if (alpha == 0) return;
  const std::uint32_t colourMask = target.depth == 16 ? 0xFFFFu : 0xFFFFFFu;
  // The strip 0, 1, 2, 3: triangles (0, 1, 2) and (1, 2, 3).
  if (target.depth == 16) {
    DrawTriangle<std::uint16_t>(target, quad[0], quad[1], quad[2], texture, keyColour, colourMask,
                                alpha);
    DrawTriangle<std::uint16_t>(target, quad[1], quad[2], quad[3], texture, keyColour, colourMask,
                                alpha);
  } else {
    DrawTriangle<std::uint32_t>(target, quad[0], quad[1], quad[2], texture, keyColour, colourMask,
                                alpha);
    DrawTriangle<std::uint32_t>(target, quad[1], quad[2], quad[3], texture, keyColour, colourMask,
                                alpha);
  }
}

}  // namespace velko
