#include "level/tile_pictures.h"

#include "level/image_codec.h"
#include "level/level_error.h"
#include "level/tiled_common.h"

namespace velko::level {

int CollisionFromProperty(const Property& property, const std::string& where) {
  if (property.type == "string") {
    if (property.value == "libre") return 0;
    if (property.value == "solide") return 1;
    if (property.value == "demi-gauche") return 2;
    if (property.value == "demi-droite") return 3;
  }
  if (property.type == "int" || property.type == "string") {
    std::int64_t value = 0;
    try {
      value = ParseInteger(property.value, where + ": collision");
    } catch (const LevelError&) {
      throw LevelError(where + ": collision \"" + property.value.substr(0, 40) +
                       "\" is none of libre, solide, demi-gauche, demi-droite or a number");
    }
    if (value < -128 || value > 127) {
      throw LevelError(where + ": collision " + std::to_string(value) +
                       " does not fit the game's signed byte (-128 to 127)");
    }
    return static_cast<int>(value);
  }
  throw LevelError(where + ": collision is a " + property.type + " property; use int or string");
}

std::optional<TileRef> TilePictures::Find(std::uint32_t gid) const {
  gid &= ~kGidFlags;
  if (gid == 0) return std::nullopt;
  for (int i = static_cast<int>(map_.tilesets.size()) - 1; i >= 0; --i) {
    const TiledTileset& t = map_.tilesets[static_cast<size_t>(i)];
    if (gid < t.firstGid) continue;
    const std::int64_t id = gid - t.firstGid;
    const bool holds = t.image.empty() ? t.tiles.count(id) != 0 : id < t.tileCount;
    if (!holds) return std::nullopt;
    return TileRef{i, id};
  }
  return std::nullopt;
}

std::optional<int> TilePictures::Collision(const TileRef& tile) const {
  const TiledTileset& t = map_.tilesets[static_cast<size_t>(tile.tileset)];
  const auto found = t.tiles.find(tile.id);
  if (found == t.tiles.end()) return std::nullopt;
  const auto property = found->second.properties.find("collision");
  if (property == found->second.properties.end()) return std::nullopt;
  return CollisionFromProperty(
      property->second, t.where + ": tileset \"" + t.name + "\" tile " + std::to_string(tile.id));
}

const RgbaPicture& TilePictures::Image(const std::string& path, const std::optional<Rgb>& trans,
                                       const std::string& where) {
  std::string key = path;
  if (trans) key.append("#").append(std::to_string(trans->r * 65536 + trans->g * 256 + trans->b));
  const auto found = images_.find(key);
  if (found != images_.end()) return found->second;
  RgbaPicture picture = DecodeImage(files_.Read(path, budget_.limits.maxFileBytes), path,
                                    budget_.limits.maxPictureSide, budget_.limits.maxPicturePixels);
  budget_.TakePixels(std::int64_t{picture.width} * picture.height, where);
  if (trans) {
    for (Rgba& p : picture.pixels) {
      if (p.r == trans->r && p.g == trans->g && p.b == trans->b) p.a = 0;
    }
  }
  return images_.emplace(key, std::move(picture)).first->second;
}

const RgbaPicture& TilePictures::TilesetImage(int tileset) {
  const TiledTileset& t = map_.tilesets[static_cast<size_t>(tileset)];
  return Image(t.image, t.trans, t.where + ": tileset \"" + t.name + "\"");
}

const RgbaPicture& TilePictures::Picture(const TileRef& tile) {
  const auto key = std::make_pair(tile.tileset, tile.id);
  const auto found = tiles_.find(key);
  if (found != tiles_.end()) return found->second;
  const TiledTileset& t = map_.tilesets[static_cast<size_t>(tile.tileset)];
  const std::string where =
      t.where + ": tileset \"" + t.name + "\" tile " + std::to_string(tile.id);
  RgbaPicture out(kTileSide, kTileSide);
  if (t.image.empty()) {
    const TiledTile& own = t.tiles.at(tile.id);
    if (own.image.empty()) throw LevelError(where + " has no picture");
    const RgbaPicture& image = Image(own.image, t.trans, where);
    if (image.width != kTileSide || image.height != kTileSide) {
      throw LevelError(where + ": its picture is " + std::to_string(image.width) + " x " +
                       std::to_string(image.height) + "; the game's tiles are 50 x 50");
    }
    out = image;
  } else {
    const RgbaPicture& image = TilesetImage(tile.tileset);
    const int columns = t.columns > 0
                            ? t.columns
                            : (image.width - 2 * t.margin + t.spacing) / (kTileSide + t.spacing);
    if (columns <= 0) throw LevelError(where + ": the tileset's picture holds no whole tile");
    const std::int64_t x = t.margin + (tile.id % columns) * std::int64_t{kTileSide + t.spacing};
    const std::int64_t y = t.margin + (tile.id / columns) * std::int64_t{kTileSide + t.spacing};
    if (x + kTileSide > image.width || y + kTileSide > image.height) {
      throw LevelError(where + " lies outside the tileset's " + std::to_string(image.width) +
                       " x " + std::to_string(image.height) + " picture");
    }
    for (int yy = 0; yy < kTileSide; ++yy)
      for (int xx = 0; xx < kTileSide; ++xx)
        out.At(xx, yy) = image.At(static_cast<int>(x) + xx, static_cast<int>(y) + yy);
  }
  return tiles_.emplace(key, std::move(out)).first->second;
}

}  // namespace velko::level
