#include "services/sprites/textured_quad.h"

#include <algorithm>
#include <cmath>

#include "services/text/exact_trig.h"

#ifdef __SSE2__
#include <emmintrin.h>
#endif

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

// Each channel of a pixel in its own 16-bit lane of a 64-bit word: blue at bit 0, red at 16,
// green at 32 (where the format's own layout puts them with the fewest moves), and back.
template <typename Pixel>
inline std::uint64_t Lanes(std::uint32_t pixel) {
  if constexpr (sizeof(Pixel) == 2) {
    return (pixel & 0x1Fu) | (pixel & 0xF800u) << 5 | std::uint64_t{pixel & 0x7E0u} << 27;
  }
  return (pixel & 0xFF00FFu) | std::uint64_t{pixel & 0xFF00u} << 24;
}

template <typename Pixel>
inline std::uint32_t FromLanes(std::uint64_t lanes) {
  if constexpr (sizeof(Pixel) == 2) {
    return static_cast<std::uint32_t>((lanes & 0x1Fu) | (lanes >> 5 & 0xF800u) |
                                      (lanes >> 27 & 0x7E0u));
  }
  return static_cast<std::uint32_t>((lanes & 0xFF00FFu) | (lanes >> 24 & 0xFF00u));
}

// texel x alpha + target x (1 - alpha) per channel, as (s a + d (255 - a) + 127) / 255: the
// three channels at once, each sum (at most 65152) in its own lane, and the division by 255
// as (x + 1 + x / 256) / 256, exact for every x below 65535.
template <typename Pixel>
inline std::uint32_t Blend(std::uint32_t source, std::uint32_t target, std::uint32_t alpha) {
  constexpr std::uint64_t kOnes = 0x0000'0001'0001'0001;
  const std::uint64_t sum =
      Lanes<Pixel>(source) * alpha + Lanes<Pixel>(target) * (255 - alpha) + 127 * kOnes;
  const std::uint64_t quotient = (sum + kOnes + (sum >> 8 & 0xFF * kOnes)) >> 8 & 0xFF * kOnes;
  return FromLanes<Pixel>(quotient);
}

// Two doubles or two ints side by side, for two pixels at once.
using Double2 = double __attribute__((vector_size(16)));
using Int2 = std::int32_t __attribute__((vector_size(8)));

// floor(scaled) clamped to 0 .. last: on the clamped, non-negative value truncation is the
// floor (a negative zero, or no number at all, counts as zero).
inline Int2 TexelIndex(Double2 scaled, Double2 last) {
#ifdef __SSE2__
  // The same choices, in the instructions made for them.
  const __m128d low = _mm_max_pd(scaled, _mm_setzero_pd());
  const __m128i index = _mm_cvttpd_epi32(_mm_min_pd(last, low));
  return Int2{_mm_cvtsi128_si32(index), _mm_cvtsi128_si32(_mm_srli_si128(index, 4))};
#else
  const Double2 zero = {0, 0};
  const Double2 low = scaled > zero ? scaled : zero;
  return __builtin_convertvector(last < low ? last : low, Int2);
#endif
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
  const Double2 texWidth2 = {texWidth, texWidth};
  const Double2 texHeight2 = {texHeight, texHeight};
  const Double2 lastColumn2 = {texWidth - 1, texWidth - 1};
  const Double2 lastRow2 = {texHeight - 1, texHeight - 1};
  // Kept in locals: the stores below could otherwise alias them.
  const std::uint8_t* const texels = texture.pixels;
  const std::ptrdiff_t texPitch = texture.pitch;
  const std::uint32_t keyBits = key & colourMask;
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
    // Each edge's value only grows, or only shrinks, along the row, rounding included, so the
    // pixels inside all three edges are one run: its ends are found by the exact test, and
    // everything between them is inside.
    const auto inside = [&edges, cy](int x) {
      const double cx = x + 0.5;
      return edges[0].Inside(edges[0].At(cx, cy)) && edges[1].Inside(edges[1].At(cx, cy)) &&
             edges[2].Inside(edges[2].At(cx, cy));
    };
    int first = static_cast<int>(spanLeft);
    int last = static_cast<int>(spanRight);
    while (first <= last && !inside(first)) ++first;
    while (last > first && !inside(last)) --last;
    // The texture coordinates' parts that do not change along the row.
    const double uRow = uDy * cy;
    const double vRow = vDy * cy;
    std::uint8_t* const row = target.Row(y);
    const auto plot = [&](int x, int tx, int ty) {
      const std::uint32_t texel =
          LoadPixel<Pixel>(texels + static_cast<std::ptrdiff_t>(ty) * texPitch +
                           sizeof(Pixel) * static_cast<size_t>(tx));
      if ((texel & colourMask) == keyBits) return;
      std::uint8_t* at = row + sizeof(Pixel) * static_cast<size_t>(x);
      if (alpha == 255) {
        StorePixel(at, static_cast<Pixel>(texel & colourMask));
      } else {
        StorePixel(at, static_cast<Pixel>(Blend<Pixel>(texel, LoadPixel<Pixel>(at), alpha)));
      }
    };
    // Two pixels at a time, one in each lane: the same operations on each as one at a time.
    // The centres' x count on in whole steps, exactly.
    int x = first;
    Double2 cx2 = {first + 0.5, first + 1.5};
    const Double2 uDx2 = {uDx, uDx};
    const Double2 vDx2 = {vDx, vDx};
    const Double2 uRow2 = {uRow, uRow};
    const Double2 vRow2 = {vRow, vRow};
    const Double2 uAt02 = {uAt0, uAt0};
    const Double2 vAt02 = {vAt0, vAt0};
    for (; x < last; x += 2, cx2 += 2.0) {
      const Int2 tx = TexelIndex((uDx2 * cx2 + uRow2 + uAt02) * texWidth2, lastColumn2);
      const Int2 ty = TexelIndex((vDx2 * cx2 + vRow2 + vAt02) * texHeight2, lastRow2);
      plot(x, tx[0], ty[0]);
      plot(x + 1, tx[1], ty[1]);
    }
    if (x == last) {
      const double cx = x + 0.5;
      const Int2 tx = TexelIndex(Double2{uDx * cx + uRow + uAt0, 0} * texWidth2, lastColumn2);
      const Int2 ty = TexelIndex(Double2{vDx * cx + vRow + vAt0, 0} * texHeight2, lastRow2);
      plot(x, tx[0], ty[0]);
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
