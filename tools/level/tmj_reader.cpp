// Tiled's JSON maps (.tmj, .json) and tilesets (.tsj, .json), through nlohmann-json.
#include <nlohmann/json.hpp>

#include "level/layer_data.h"
#include "level/level_error.h"
#include "level/tiled_common.h"

namespace velko::level {
namespace {

using Json = nlohmann::json;

Json ParseJson(std::string_view text, const std::string& path) {
  try {
    return Json::parse(text.begin(), text.end());
  } catch (const Json::parse_error& error) {
    throw LevelError(path + ":" +
                     std::to_string(LineAt(text, static_cast<std::int64_t>(error.byte) - 1)) +
                     ": not valid JSON (" + error.what() + ")");
  } catch (const Json::exception& error) {
    // A number too large for any value, for one.
    throw LevelError(path + ": not usable JSON (" + error.what() + ")");
  }
}

class Fields {
 public:
  Fields(const Json& object, std::string where) : object_(object), where_(std::move(where)) {
    if (!object_.is_object()) throw LevelError(where_ + ": expected a JSON object");
  }
  const std::string& Where() const { return where_; }
  bool Has(const char* name) const { return object_.contains(name) && !object_[name].is_null(); }
  const Json& Get(const char* name) const { return object_[name]; }
  std::string Text(const char* name, const std::string& fallback = {}) const {
    if (!Has(name)) return fallback;
    if (!object_[name].is_string()) throw LevelError(where_ + ": \"" + name + "\" is not text");
    return object_[name].get<std::string>();
  }
  std::int64_t Int(const char* name, std::int64_t fallback) const {
    if (!Has(name)) return fallback;
    const Json& v = object_[name];
    if (v.is_number_integer()) return v.get<std::int64_t>();
    if (v.is_number_unsigned() && v.get<std::uint64_t>() <= 0x7FFFFFFFFFFFFFFFull) {
      return static_cast<std::int64_t>(v.get<std::uint64_t>());
    }
    throw LevelError(where_ + ": \"" + name + "\" is not a whole number");
  }
  int SmallInt(const char* name, int fallback) const {
    const std::int64_t v = Int(name, fallback);
    if (v < -(std::int64_t{1} << 30) || v > (std::int64_t{1} << 30)) {
      throw LevelError(where_ + ": \"" + name + "\" out of range");
    }
    return static_cast<int>(v);
  }
  double Real(const char* name, double fallback) const {
    if (!Has(name)) return fallback;
    if (!object_[name].is_number()) throw LevelError(where_ + ": \"" + name + "\" is not a number");
    return object_[name].get<double>();
  }
  bool Bool(const char* name, bool fallback) const {
    if (!Has(name)) return fallback;
    if (!object_[name].is_boolean())
      throw LevelError(where_ + ": \"" + name + "\" is not true or false");
    return object_[name].get<bool>();
  }
  const Json& Array(const char* name) const {
    static const Json kEmpty = Json::array();
    if (!Has(name)) return kEmpty;
    if (!object_[name].is_array()) throw LevelError(where_ + ": \"" + name + "\" is not a list");
    return object_[name];
  }

 private:
  const Json& object_;
  std::string where_;
};

Properties ReadProperties(const Fields& owner) {
  Properties out;
  for (const Json& item : owner.Array("properties")) {
    const Fields p(item, owner.Where() + ": property");
    Property property;
    property.type = p.Text("type", "string");
    if (p.Has("value")) {
      const Json& v = p.Get("value");
      property.value = v.is_string() ? v.get<std::string>() : v.dump();
    }
    out[p.Text("name")] = property;
  }
  return out;
}

TiledTileset ReadTilesetObject(const Json& json, const std::string& path, std::uint32_t firstGid) {
  const Fields f(json, path + ": tileset");
  TiledTileset t;
  t.where = path;
  t.firstGid = firstGid;
  t.name = f.Text("name");
  t.tileWidth = f.SmallInt("tilewidth", 0);
  t.tileHeight = f.SmallInt("tileheight", 0);
  t.margin = f.SmallInt("margin", 0);
  t.spacing = f.SmallInt("spacing", 0);
  t.columns = f.SmallInt("columns", 0);
  t.tileCount = f.SmallInt("tilecount", 0);
  t.properties = ReadProperties(f);
  if (f.Has("image")) {
    t.image = Beside(path, f.Text("image"));
    t.imageWidth = f.SmallInt("imagewidth", 0);
    t.imageHeight = f.SmallInt("imageheight", 0);
  }
  if (f.Has("transparentcolor")) t.trans = ParseColour(f.Text("transparentcolor"), f.Where());
  for (const Json& item : f.Array("tiles")) {
    const Fields tile(item, path + ": tile");
    const std::int64_t id = tile.Int("id", -1);
    if (id < 0 || id >= (std::int64_t{1} << 28)) {
      throw LevelError(path + ": tile id " + std::to_string(id) + " out of range");
    }
    TiledTile& out = t.tiles[id];
    out.properties = ReadProperties(tile);
    if (tile.Has("image")) {
      out.image = Beside(path, tile.Text("image"));
      out.imageWidth = tile.SmallInt("imagewidth", 0);
      out.imageHeight = tile.SmallInt("imageheight", 0);
    }
  }
  if (t.image.empty()) t.tileCount = static_cast<int>(t.tiles.size());
  FinishTileset(t);
  return t;
}

std::vector<std::uint32_t> ReadGids(const Fields& holder, const std::string& encoding,
                                    const std::string& compression, std::int64_t count,
                                    const std::string& where) {
  if (!holder.Has("data")) throw LevelError(where + ": no data");
  const Json& data = holder.Get("data");
  if (data.is_string()) {
    if (encoding != "base64") {
      throw LevelError(where + ": text data with encoding \"" + encoding + "\"");
    }
    return DecodeBase64Gids(data.get<std::string>(), compression, count, where);
  }
  if (!data.is_array()) throw LevelError(where + ": data is neither a list nor text");
  if (static_cast<std::int64_t>(data.size()) != count) {
    throw LevelError(where + ": data holds " + std::to_string(data.size()) + " gids for " +
                     std::to_string(count) + " cells");
  }
  std::vector<std::uint32_t> gids;
  gids.reserve(static_cast<size_t>(count));
  for (const Json& v : data) {
    if (!v.is_number_unsigned() || v.get<std::uint64_t>() > 0xFFFFFFFFu) {
      throw LevelError(where + ": a gid that is not a number from 0 to 4294967295");
    }
    gids.push_back(static_cast<std::uint32_t>(v.get<std::uint64_t>()));
  }
  return gids;
}

void ReadLayers(const Fields& parent, double opacity, TiledMap& map, Budget& budget, int depth) {
  if (depth > kMaxGroupDepth) throw LevelError(parent.Where() + ": groups nested too deep");
  int index = 0;
  for (const Json& item : parent.Array("layers")) {
    const Fields f(item, map.file + ": layer " + std::to_string(index++));
    const std::string type = f.Text("type");
    const std::string name = f.Text("name");
    const std::string where = map.file + ": layer \"" + name + "\"";
    const bool visible = f.Bool("visible", true);
    const double layerOpacity = opacity * f.Real("opacity", 1.0);
    if (type == "objectgroup") {
      for (const Json& objectJson : f.Array("objects")) {
        const Fields object(objectJson, where + ": object");
        map.objects.push_back({object.Text("name"), object.Real("x", 0), object.Real("y", 0),
                               object.Bool("point", false)});
      }
      continue;
    }
    if (type != "tilelayer" && type != "group") continue;
    if (!visible) {
      ++map.hiddenLayers;
      continue;
    }
    if (type == "group") {
      ReadLayers(Fields(item, where), layerOpacity, map, budget, depth + 1);
      continue;
    }
    TiledLayer layer;
    layer.name = name;
    layer.opacity = layerOpacity;
    const std::string encoding = f.Text("encoding", "csv");
    const std::string compression = f.Text("compression");
    if (map.infinite) {
      int chunkIndex = 0;
      for (const Json& chunkJson : f.Array("chunks")) {
        const std::string chunkWhere = where + " chunk " + std::to_string(chunkIndex++);
        const Fields c(chunkJson, chunkWhere);
        Chunk chunk;
        chunk.x = c.Int("x", 0);
        chunk.y = c.Int("y", 0);
        chunk.width = c.SmallInt("width", 0);
        chunk.height = c.SmallInt("height", 0);
        CheckChunk(chunk, budget, chunkWhere);
        chunk.gids = ReadGids(c, encoding, compression, std::int64_t{chunk.width} * chunk.height,
                              chunkWhere);
        layer.chunks.push_back(std::move(chunk));
      }
    } else {
      Chunk chunk;
      chunk.width = static_cast<int>(map.width);
      chunk.height = static_cast<int>(map.height);
      CheckChunk(chunk, budget, where);
      chunk.gids = ReadGids(f, encoding, compression, map.width * map.height, where);
      layer.chunks.push_back(std::move(chunk));
    }
    map.layers.push_back(std::move(layer));
  }
}

}  // namespace

TiledTileset ReadTsj(std::string_view text, const std::string& path, std::uint32_t firstGid) {
  return ReadTilesetObject(ParseJson(text, path), path, firstGid);
}

TiledMap ReadTmj(std::string_view text, const std::string& path, const FileSource& files,
                 Budget& budget) {
  const Json json = ParseJson(text, path);
  const Fields root(json, path);
  TiledMap map;
  map.file = path;
  map.orientation = root.Text("orientation");
  map.tileWidth = root.SmallInt("tilewidth", 0);
  map.tileHeight = root.SmallInt("tileheight", 0);
  map.width = root.Int("width", 0);
  map.height = root.Int("height", 0);
  map.infinite = root.Bool("infinite", false);
  map.properties = ReadProperties(root);
  if (map.orientation != "orthogonal") {
    throw LevelError(path + ": a map of orientation \"" + map.orientation +
                     "\"; the game's maps are orthogonal");
  }
  if (map.tileWidth != 50 || map.tileHeight != 50) {
    throw LevelError(path + ": a map of " + std::to_string(map.tileWidth) + " x " +
                     std::to_string(map.tileHeight) + " tiles; the game's tiles are 50 x 50");
  }
  if (!map.infinite) CheckMapSize(map, budget);
  for (const Json& item : root.Array("tilesets")) {
    const Fields f(item, path + ": tileset");
    const std::int64_t firstGid = f.Int("firstgid", 1);
    if (firstGid < 1 || firstGid > 0x0FFFFFFF) {
      throw LevelError(path + ": firstgid " + std::to_string(firstGid) + " out of range");
    }
    if (f.Has("source")) {
      map.tilesets.push_back(ReadExternalTileset(files, Beside(path, f.Text("source")),
                                                 static_cast<std::uint32_t>(firstGid), budget));
    } else {
      map.tilesets.push_back(ReadTilesetObject(item, path, static_cast<std::uint32_t>(firstGid)));
    }
  }
  ReadLayers(root, 1.0, map, budget, 0);
  return map;
}

}  // namespace velko::level
