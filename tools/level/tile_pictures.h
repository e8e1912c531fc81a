// The 50 x 50 picture of any tile of a map's tilesets, read from their pictures on first use
// (the tileset's transparent colour made transparent), and the collision type each tile sets.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "level/file_source.h"
#include "level/picture.h"
#include "level/tiled_map.h"

namespace velko::level {

struct TileRef {
  int tileset = -1;  // index in the map's tilesets
  std::int64_t id = 0;
};

class TilePictures {
 public:
  TilePictures(const FileSource& files, const TiledMap& map, Budget& budget)
      : files_(files), map_(map), budget_(budget) {}

  // The tile a gid names (flags removed), or nothing when no tileset holds it.
  std::optional<TileRef> Find(std::uint32_t gid) const;
  // Its picture, RGBA, 50 x 50.
  const RgbaPicture& Picture(const TileRef& tile);
  // Its `collision` property, or nothing when it sets none.
  std::optional<int> Collision(const TileRef& tile) const;
  // The whole picture of a tileset with one image, as read.
  const RgbaPicture& TilesetImage(int tileset);

 private:
  const RgbaPicture& Image(const std::string& path, const std::optional<Rgb>& trans,
                           const std::string& where);

  const FileSource& files_;
  const TiledMap& map_;
  Budget& budget_;
  std::map<std::string, RgbaPicture> images_;
  std::map<std::pair<int, std::int64_t>, RgbaPicture> tiles_;
};

// The collision type a property gives: an int from -128 to 127, or libre, solide, demi-gauche,
// demi-droite.
int CollisionFromProperty(const Property& property, const std::string& where);

}  // namespace velko::level
