// The rotated sprite's quad: four pre-transformed vertices, the corner turn with the game's own
// constants, and a software rasteriser giving the picture the 3D device gives.
#pragma once

#include <array>
#include <cstdint>

#include "services/screen/pixel_buffer.h"

namespace velko {

// A pre-transformed, lit vertex: screen position, depth, reciprocal w, diffuse and specular
// colours (ARGB), texture coordinates.
struct TexturedVertex {
  float x = 0;
  float y = 0;
  float z = 0;
  float rhw = 1.0f;
  std::uint32_t diffuse = 0xFFFFFFFF;
  std::uint32_t specular = 0;
  float u = 0;
  float v = 0;
};

using TexturedQuad = std::array<TexturedVertex, 4>;

// Vertex 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right of a quadWidth x quadHeight
// quad, the texture spanning it from 0 to 1.
TexturedQuad InitialCorners(int quadWidth, int quadHeight);

// Turns the corners' x and y about the picture's centre to `degrees` (clockwise on the screen).
// sizeSource 0 takes the half sizes from the quad size, otherwise from vertex 3 as it stands.
void RotateCorners(TexturedQuad& quad, int quadWidth, int quadHeight, int degrees, int sizeSource);

// Draws the quad as the triangle strip 0, 1, 2, 3 onto `target`, sampling `texture` by point,
// leaving out texels equal to `keyColour` and blending the rest as
// texel x alpha + target x (1 - alpha). Both surfaces must have the same depth (16 or 32).
void DrawTexturedQuad(const Surface& target, const TexturedQuad& quad, const Surface& texture,
                      std::uint32_t keyColour, std::uint8_t alpha);

}  // namespace velko
