// Paints the 50 x 50 picture of a tile, and lays all tiles out as the level's tile picture.
#pragma once

#include <vector>

#include "assetgen/rgb_image.h"
#include "assetgen/tile_set.h"

namespace velko::assetgen {

RgbImage PaintTile(const TileLook& look);

// Tile k at picture column k mod tilesPerRow, row k / tilesPerRow.
RgbImage PaintTilePicture(const std::vector<TileLook>& tiles, int tilesPerRow);

// True where a half tile of this ground is wall: the upper-left half below the diagonal from
// bottom-left to top-right, or the upper-right half above the one from top-left to
// bottom-right. Pixels on the diagonal itself count as wall.
bool HalfTileBlocks(Ground ground, int x, int y);

}  // namespace velko::assetgen
