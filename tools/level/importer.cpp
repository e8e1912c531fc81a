#include "level/importer.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <sstream>
#include <unordered_map>

#include "level/level_error.h"
#include "level/tile_pictures.h"
#include "level/tiled_common.h"

namespace velko::level {
namespace {

constexpr int kTilesPerRowAtLeast = 8;

struct Grid {
  std::int64_t originX = 0;  // map cell of the grid's column 0 (infinite maps may start anywhere)
  std::int64_t originY = 0;
  int columns = 0;
  int rows = 0;
};

std::string CellName(std::int64_t c, std::int64_t r) {
  return "cell (" + std::to_string(c) + ", " + std::to_string(r) + ")";
}

Grid GridOf(const TiledMap& map, const ImportLimits& limits) {
  Grid grid;
  if (!map.infinite) {
    grid.columns = static_cast<int>(map.width);
    grid.rows = static_cast<int>(map.height);
    return grid;
  }
  // An infinite map's bounds are those of the chunks its visible layers hold.
  bool any = false;
  std::int64_t x0 = 0, y0 = 0, x1 = 0, y1 = 0;
  for (const TiledLayer& layer : map.layers) {
    for (const Chunk& chunk : layer.chunks) {
      if (chunk.width == 0 || chunk.height == 0) continue;
      if (!any) {
        x0 = chunk.x, y0 = chunk.y, x1 = chunk.x + chunk.width, y1 = chunk.y + chunk.height;
        any = true;
      }
      x0 = std::min(x0, chunk.x);
      y0 = std::min(y0, chunk.y);
      x1 = std::max(x1, chunk.x + chunk.width);
      y1 = std::max(y1, chunk.y + chunk.height);
    }
  }
  TiledMap bounds;
  bounds.file = map.file;
  bounds.width = x1 - x0;
  bounds.height = y1 - y0;
  Budget check{limits};
  CheckMapSize(bounds, check);
  grid = {x0, y0, static_cast<int>(bounds.width), static_cast<int>(bounds.height)};
  return grid;
}

const Property* Find(const Properties& properties, const char* name) {
  const auto found = properties.find(name);
  return found == properties.end() ? nullptr : &found->second;
}

// "1,2,3;4,5,6": groups of whole numbers.
std::vector<std::vector<std::int64_t>> NumberGroups(const std::string& text, size_t size,
                                                    const std::string& where) {
  std::vector<std::vector<std::int64_t>> groups;
  std::stringstream all(text);
  std::string group;
  while (std::getline(all, group, ';')) {
    if (group.find_first_not_of(" \n\r\t") == std::string::npos) continue;
    std::vector<std::int64_t> numbers;
    std::stringstream parts(group);
    std::string part;
    while (std::getline(parts, part, ',')) {
      const size_t a = part.find_first_not_of(" \n\r\t");
      const size_t b = part.find_last_not_of(" \n\r\t");
      numbers.push_back(
          ParseInteger(a == std::string::npos ? "" : part.substr(a, b - a + 1), where));
    }
    if (numbers.size() != size) {
      throw LevelError(where + ": \"" + group.substr(0, 40) + "\" should hold " +
                       std::to_string(size) + " numbers");
    }
    groups.push_back(std::move(numbers));
  }
  return groups;
}

Bytes FromHex(const std::string& text, const std::string& where) {
  Bytes out;
  std::string digits;
  for (char c : text)
    if (!std::isspace(static_cast<unsigned char>(c))) digits += c;
  if (digits.size() % 2 != 0) throw LevelError(where + ": odd number of hex digits");
  for (size_t i = 0; i < digits.size(); i += 2) {
    unsigned value = 0;
    const auto [end, error] = std::from_chars(digits.data() + i, digits.data() + i + 2, value, 16);
    if (error != std::errc() || end != digits.data() + i + 2) {
      throw LevelError(where + ": not hex digits");
    }
    out.push_back(static_cast<std::uint8_t>(value));
  }
  return out;
}

std::int16_t Int16In(std::int64_t value, const std::string& where) {
  if (value < -32768 || value > 32767)
    throw LevelError(where + ": " + std::to_string(value) + " is not a 16-bit value");
  return static_cast<std::int16_t>(value);
}

// A pixel as the game will hold it: opaque enough (alpha from 128) keeps its colour over the
// black ground, the rest becomes the key colour.
Rgb Settle(double r, double g, double b, double alpha) {
  if (alpha < 0.5) return kKey;
  const auto byte = [](double v) {
    return static_cast<std::uint8_t>(std::clamp(std::lround(v), 0L, 255L));
  };
  return {byte(r), byte(g), byte(b)};
}

// Where (x, y) of a tile shown turned by the gid's flags reads its picture from. Tiled swaps
// the axes first, then flips: undone here in the reverse order.
std::pair<int, int> Source(int x, int y, std::uint32_t flags) {
  constexpr int last = kTileSide - 1;
  if ((flags & kFlipV) != 0) y = last - y;
  if ((flags & kFlipH) != 0) x = last - x;
  if ((flags & kFlipD) != 0) std::swap(x, y);
  return {x, y};
}

class Importer {
 public:
  Importer(const FileSource& files, const std::string& path, const ImportLimits& limits)
      : budget_{limits} {
    map_ = ReadTiledMap(files, path, budget_);
    grid_ = GridOf(map_, limits);
    pictures_.emplace(files, map_, budget_);
  }

  ImportResult Run() {
    LevelFiles& level = result_.level;
    level.columns = static_cast<std::int16_t>(grid_.columns);
    level.rows = static_cast<std::int16_t>(grid_.rows);
    level.cells.assign(static_cast<size_t>(level.CellCount()), Cell{});
    if (!BuildPlain()) BuildStacks();
    ApplyProperties();
    if (level.picture.width > 0) {
      level.pictureWidth = static_cast<std::int16_t>(level.picture.width);
      level.pictureHeight = static_cast<std::int16_t>(level.picture.height);
    }
    NoteStart();
    result_.summary = Summarise(level);
    return std::move(result_);
  }

 private:
  const Properties& Props() const { return map_.properties; }

  // A single layer over one tileset of whole tiles, nothing turned: the tile numbers are the
  // tileset's and its picture is the level's picture, as they are.
  bool BuildPlain() {
    if (map_.infinite || map_.layers.size() != 1 || map_.tilesets.size() != 1) return false;
    const TiledTileset& t = map_.tilesets.front();
    const TiledLayer& layer = map_.layers.front();
    if (t.image.empty() || t.margin != 0 || t.spacing != 0 || layer.opacity != 1.0) return false;
    const auto oddCells = OddCells();
    const Chunk& chunk = layer.chunks.front();
    for (std::int64_t i = 0; i < std::ssize(chunk.gids); ++i) {
      const std::uint32_t gid = chunk.gids[static_cast<size_t>(i)];
      const std::int64_t c = i % chunk.width;
      const std::int64_t r = i / chunk.width;
      if (gid == 0 && oddCells.count({c, r}) != 0) continue;
      if ((gid & kGidFlags) != 0 || gid < t.firstGid ||
          gid - t.firstGid >= static_cast<std::uint32_t>(t.tileCount)) {
        return false;
      }
    }
    const RgbaPicture& image = pictures_->TilesetImage(0);
    if (t.columns != image.width / kTileSide) return false;
    if (std::int64_t{t.tileCount} > std::int64_t{t.columns} * (image.height / kTileSide))
      return false;

    LevelFiles& level = result_.level;
    level.picture = RgbPicture(image.width, image.height);
    for (size_t i = 0; i < image.pixels.size(); ++i) {
      const Rgba p = image.pixels[i];
      const double a = p.a / 255.0;
      level.picture.pixels[i] = Settle(p.r * a, p.g * a, p.b * a, a);
    }
    for (int k = 0; k < level.PictureTiles(); ++k)
      WarnGreen(level.picture, k, "tile " + std::to_string(k));
    for (std::int64_t i = 0; i < std::ssize(chunk.gids); ++i) {
      const std::uint32_t gid = chunk.gids[static_cast<size_t>(i)];
      if (gid == 0) continue;
      Cell& cell =
          level.cells[static_cast<size_t>((i % chunk.width) * grid_.rows + i / chunk.width)];
      cell.tile = static_cast<std::int16_t>(gid - t.firstGid);
    }
    std::int64_t records = t.tileCount;
    if (const Property* p = Find(Props(), kPropTileRecords)) {
      records = ParseInteger(p->value, map_.file + ": property " + kPropTileRecords);
      if (records < 0 || records > 32767)
        throw LevelError(map_.file + ": property " + std::string(kPropTileRecords) +
                         " out of range");
    }
    level.collisionTypes.assign(static_cast<size_t>(records), 0);
    for (std::int64_t k = 0; k < std::min<std::int64_t>(records, t.tileCount); ++k) {
      level.collisionTypes[static_cast<size_t>(k)] =
          static_cast<std::int8_t>(pictures_->Collision({0, k}).value_or(0));
    }
    if (const Property* p = Find(Props(), kPropMoreRecords)) {
      const std::string where = map_.file + ": property " + kPropMoreRecords;
      std::int64_t k = t.tileCount;
      std::string list = p->value;
      std::replace(list.begin(), list.end(), ',', ';');
      for (const auto& group : NumberGroups(list, 1, where)) {
        if (k >= records) throw LevelError(where + ": more records than " + kPropTileRecords);
        if (group[0] < -128 || group[0] > 127) throw LevelError(where + ": not a signed byte");
        level.collisionTypes[static_cast<size_t>(k++)] = static_cast<std::int8_t>(group[0]);
      }
    }
    for (const auto& [cell, tile] : oddCells) {
      result_.level.cells[static_cast<size_t>(cell.first * grid_.rows + cell.second)].tile = tile;
    }
    return true;
  }

  // Cells whose tile no gid can name (exported from a level that had them).
  std::map<std::pair<std::int64_t, std::int64_t>, std::int16_t> OddCells() const {
    std::map<std::pair<std::int64_t, std::int64_t>, std::int16_t> out;
    const Property* p = Find(Props(), kPropCellTiles);
    if (p == nullptr) return out;
    const std::string where = map_.file + ": property " + kPropCellTiles;
    for (const auto& g : NumberGroups(p->value, 3, where)) {
      if (g[0] < 0 || g[1] < 0 || g[0] >= grid_.columns || g[1] >= grid_.rows) {
        throw LevelError(where + ": " + CellName(g[0], g[1]) + " lies outside the map");
      }
      out[{g[0], g[1]}] = Int16In(g[2], where);
    }
    return out;
  }

  struct StackKey {
    std::int32_t parent;
    std::uint32_t gid;
    std::uint64_t opacity;
    friend bool operator==(const StackKey&, const StackKey&) = default;
  };
  struct StackHash {
    size_t operator()(const StackKey& k) const {
      return std::hash<std::uint64_t>()(
          (std::uint64_t{static_cast<std::uint32_t>(k.parent)} << 32 | k.gid) ^
          (k.opacity * 0x9E3779B97F4A7C15ull));
    }
  };
  struct StackNode {
    std::int32_t parent;
    std::uint32_t gid;
    double opacity;
    std::int16_t layerWithCollision;
  };

  // Every distinct stack of tiles met in a cell, bottom to top, becomes one tile.
  void BuildStacks() {
    LevelFiles& level = result_.level;
    std::vector<std::int32_t> stackOf(level.cells.size(), 0);
    nodes_.push_back({-1, 0, 1.0, -1});  // the empty stack
    std::unordered_map<StackKey, std::int32_t, StackHash> interned;
    const std::int64_t maxNodes = std::max<std::int64_t>(budget_.limits.maxTiles * 64, 65536);
    for (const TiledLayer& layer : map_.layers) {
      std::uint64_t opacityBits = 0;
      static_assert(sizeof(double) == sizeof(std::uint64_t));
      std::memcpy(&opacityBits, &layer.opacity, sizeof opacityBits);
      for (const Chunk& chunk : layer.chunks) {
        for (std::int64_t i = 0; i < std::ssize(chunk.gids); ++i) {
          const std::uint32_t gid = chunk.gids[static_cast<size_t>(i)];
          if (gid == 0) continue;
          const std::int64_t c = chunk.x + i % chunk.width - grid_.originX;
          const std::int64_t r = chunk.y + i / chunk.width - grid_.originY;
          if (!pictures_->Find(gid)) {
            throw LevelError(map_.file + ": layer \"" + layer.name + "\" " + CellName(c, r) +
                             ": gid " + std::to_string(gid & ~kGidFlags) +
                             " names no tile of the map's tilesets");
          }
          std::int32_t& stack = stackOf[static_cast<size_t>(c * grid_.rows + r)];
          const StackKey key{stack, gid & ~kRotateHex, opacityBits};
          const auto [found, added] =
              interned.emplace(key, static_cast<std::int32_t>(nodes_.size()));
          if (added) {
            if (std::ssize(nodes_) >= maxNodes) {
              throw LevelError(map_.file + ": layer \"" + layer.name +
                               "\": too many different stacks of tiles");
            }
            nodes_.push_back({stack, gid & ~kRotateHex, layer.opacity, -1});
          }
          stack = found->second;
        }
      }
    }
    // Numbered in the order the file stores the cells (column by column).
    std::unordered_map<std::int32_t, std::int16_t> tileOf;
    std::vector<std::int32_t> stacks;
    std::vector<std::pair<int, int>> firstCell;
    for (int c = 0; c < grid_.columns; ++c) {
      for (int r = 0; r < grid_.rows; ++r) {
        const std::int32_t stack = stackOf[static_cast<size_t>(c) * grid_.rows + r];
        auto found = tileOf.find(stack);
        if (found == tileOf.end()) {
          const std::int64_t limit = std::min<std::int64_t>(
              budget_.limits.maxTiles, budget_.limits.maxPicturePixels / (kTileSide * kTileSide));
          if (std::ssize(stacks) >= limit) {
            throw LevelError(map_.file + ": more than " + std::to_string(limit) +
                             " different tiles (the game's limit: 16-bit tile numbers and a tile "
                             "picture of at most " +
                             std::to_string(budget_.limits.maxPicturePixels) + " pixels)");
          }
          found = tileOf.emplace(stack, static_cast<std::int16_t>(stacks.size())).first;
          stacks.push_back(stack);
          firstCell.push_back({c, r});
        }
        level.cells[static_cast<size_t>(c) * grid_.rows + r].tile = found->second;
      }
    }
    const int count = static_cast<int>(stacks.size());
    // Roughly square, at least 8 tiles a row, and within the game's picture limits.
    int perRow = std::clamp(count, 1, kTilesPerRowAtLeast);
    while (perRow * perRow < count) ++perRow;
    const auto rowsFor = [&](int columns) { return std::max(1, (count + columns - 1) / columns); };
    const std::int64_t tilePixels = kTileSide * kTileSide;
    while (std::int64_t{perRow} * rowsFor(perRow) * tilePixels > budget_.limits.maxPicturePixels ||
           std::int64_t{rowsFor(perRow)} * kTileSide > budget_.limits.maxPictureSide) {
      if (std::int64_t{perRow + 1} * kTileSide > budget_.limits.maxPictureSide) {
        throw LevelError(map_.file + ": " + std::to_string(count) +
                         " different tiles do not fit in one tile picture of the game");
      }
      ++perRow;
    }
    const int pictureRows = rowsFor(perRow);
    level.picture = RgbPicture(perRow * kTileSide, pictureRows * kTileSide, kKey);
    level.collisionTypes.assign(static_cast<size_t>(count), 0);
    for (int k = 0; k < count; ++k) {
      ComposeTile(stacks[static_cast<size_t>(k)], k, firstCell[static_cast<size_t>(k)], perRow);
    }
  }

  void ComposeTile(std::int32_t stack, int k, std::pair<int, int> cell, int perRow) {
    std::vector<const StackNode*> layers;  // top first
    for (std::int32_t at = stack; at > 0; at = nodes_[static_cast<size_t>(at)].parent) {
      layers.push_back(&nodes_[static_cast<size_t>(at)]);
    }
    const std::string where =
        map_.file + ": " + CellName(cell.first + grid_.originX, cell.second + grid_.originY);
    // Collision: the topmost tile that sets one; half tiles only turn by a horizontal flip.
    std::optional<int> collision;
    for (const StackNode* node : layers) {
      const TileRef tile = *pictures_->Find(node->gid);
      std::optional<int> type = pictures_->Collision(tile);
      if (!type) continue;
      const std::uint32_t flags = node->gid & kGidFlags;
      if (*type >= 2 && *type <= 5 && flags != 0) {
        if (flags != kFlipH) {
          throw LevelError(
              where + ": a half tile (collision " + std::to_string(*type) +
              ") turned other than by a horizontal flip; the game has no such half tile");
        }
        type = *type % 2 == 0 ? *type + 1 : *type - 1;
      }
      if (!collision) collision = type;
    }
    result_.level.collisionTypes[static_cast<size_t>(k)] =
        static_cast<std::int8_t>(collision.value_or(0));

    std::vector<double> red(kTileSide * kTileSide, 0.0), green(red), blue(red), alpha(red);
    for (auto it = layers.rbegin(); it != layers.rend(); ++it) {
      const StackNode& node = **it;
      const RgbaPicture& picture = pictures_->Picture(*pictures_->Find(node.gid));
      const std::uint32_t flags = node.gid & kGidFlags;
      for (int y = 0; y < kTileSide; ++y) {
        for (int x = 0; x < kTileSide; ++x) {
          const auto [sx, sy] = Source(x, y, flags);
          const Rgba p = picture.At(sx, sy);
          const double a = p.a / 255.0 * std::clamp(node.opacity, 0.0, 1.0);
          const size_t i = static_cast<size_t>(y) * kTileSide + x;
          red[i] = red[i] * (1 - a) + p.r * a;
          green[i] = green[i] * (1 - a) + p.g * a;
          blue[i] = blue[i] * (1 - a) + p.b * a;
          alpha[i] = alpha[i] + a * (1 - alpha[i]);
        }
      }
    }
    RgbPicture& out = result_.level.picture;
    const int x0 = (k % perRow) * kTileSide;
    const int y0 = (k / perRow) * kTileSide;
    for (int y = 0; y < kTileSide; ++y) {
      for (int x = 0; x < kTileSide; ++x) {
        const size_t i = static_cast<size_t>(y) * kTileSide + x;
        out.At(x0 + x, y0 + y) = Settle(red[i], green[i], blue[i], alpha[i]);
      }
    }
    for (int y = 0; y < kTileSide; ++y) {
      for (int x = 0; x < kTileSide; ++x) {
        const size_t i = static_cast<size_t>(y) * kTileSide + x;
        if (alpha[i] >= 0.5 && out.At(x0 + x, y0 + y) == kKey) {
          result_.warnings.push_back(
              where + " (tile " + std::to_string(k) +
              "): opaque pure green (0, 255, 0) pixels show black in the game");
          return;
        }
      }
    }
  }

  // For a picture taken as it is: pure green is the key there, but only a transparent pixel of
  // the tileset should have become it.
  void WarnGreen(const RgbPicture& picture, int k, const std::string& what) {
    const TiledTileset& t = map_.tilesets.front();
    const RgbaPicture& image = pictures_->TilesetImage(0);
    const int perRow = picture.width / kTileSide;
    const int x0 = (k % perRow) * kTileSide;
    const int y0 = (k / perRow) * kTileSide;
    for (int y = y0; y < y0 + kTileSide; ++y) {
      for (int x = x0; x < x0 + kTileSide; ++x) {
        const Rgba p = image.At(x, y);
        if (p.a >= 128 && p.r == 0 && p.g == 255 && p.b == 0 && !t.trans) {
          result_.warnings.push_back(
              t.where + ": " + what +
              ": opaque pure green (0, 255, 0) pixels show black in the game");
          return;
        }
      }
    }
  }

  void ApplyProperties() {
    LevelFiles& level = result_.level;
    if (const Property* p = Find(Props(), kPropReserved)) {
      const std::string where = map_.file + ": property " + kPropReserved;
      const auto groups = NumberGroups(p->value, 2, where);
      if (groups.size() != 1) throw LevelError(where + ": expected two bytes");
      for (int i = 0; i < 2; ++i) {
        if (groups[0][i] < 0 || groups[0][i] > 255) throw LevelError(where + ": not a byte");
        level.reserved[i] = static_cast<std::uint8_t>(groups[0][i]);
      }
    }
    if (const Property* p = Find(Props(), kPropExtra)) {
      const std::string where = map_.file + ": property " + kPropExtra;
      for (const auto& g : NumberGroups(p->value, 3, where)) {
        if (g[0] < 0 || g[1] < 0 || g[0] >= grid_.columns || g[1] >= grid_.rows) {
          throw LevelError(where + ": " + CellName(g[0], g[1]) + " lies outside the map");
        }
        level.cells[static_cast<size_t>(g[0] * grid_.rows + g[1])].extra = Int16In(g[2], where);
      }
    }
    if (const Property* p = Find(Props(), kPropMapTrailer)) {
      level.mapTrailer = FromHex(p->value, map_.file + ": property " + kPropMapTrailer);
    }
    if (const Property* p = Find(Props(), kPropPackageTrailer)) {
      level.packageTrailer = FromHex(p->value, map_.file + ": property " + kPropPackageTrailer);
    }
  }

  void NoteStart() {
    for (const TiledObject& object : map_.objects) {
      if (object.name != "depart") continue;
      const double x = object.x - grid_.originX * kTileSide;
      const double y = object.y - grid_.originY * kTileSide;
      if (std::abs(x - kStartX) > 1 || std::abs(y - kStartY) > 1) {
        std::ostringstream text;
        text << map_.file << ": the depart point lies at (" << x << ", " << y
             << ") of the map; the game always starts the car's centre at (" << kStartX << ", "
             << kStartY << ")";
        result_.warnings.push_back(text.str());
      }
    }
  }

  Budget budget_;
  TiledMap map_;
  Grid grid_;
  std::optional<TilePictures> pictures_;
  std::vector<StackNode> nodes_;
  ImportResult result_;
};

}  // namespace

ImportResult ImportMap(const FileSource& files, const std::string& path,
                       const ImportLimits& limits) {
  return Importer(files, path, limits).Run();
}

std::string Summarise(const LevelFiles& level) {
  std::map<int, std::int64_t> byType;
  std::map<int, bool> used;
  for (const Cell& cell : level.cells) {
    used[cell.tile] = true;
    const int type = cell.tile >= 0 && cell.tile < std::ssize(level.collisionTypes)
                         ? level.collisionTypes[static_cast<size_t>(cell.tile)]
                         : 0;
    ++byType[type];
  }
  std::ostringstream out;
  out << level.columns << " x " << level.rows << " cells, " << used.size() << " tiles used (of "
      << level.collisionTypes.size() << "); cells by collision:";
  for (const auto& [type, count] : byType) {
    const std::string name = CollisionName(type);
    out << ' ' << type << (name.empty() ? "" : " " + name) << ": " << count << ';';
  }
  const int c = kStartX / kTileSide;
  const int r = kStartY / kTileSide;
  out << " start (" << kStartX << ", " << kStartY << ") ";
  if (c < level.columns && r < level.rows) {
    const Cell& cell = level.At(c, r);
    const int type = cell.tile >= 0 && cell.tile < std::ssize(level.collisionTypes)
                         ? level.collisionTypes[static_cast<size_t>(cell.tile)]
                         : 0;
    const std::string name = CollisionName(type);
    out << "on " << CellName(c, r) << ", tile " << cell.tile << ", collision " << type
        << (name.empty() ? "" : " " + name);
  } else {
    out << "outside the map";
  }
  return out.str();
}

}  // namespace velko::level
