// TMX maps and TSX tilesets, through pugixml.
#include <pugixml.hpp>

#include "level/layer_data.h"
#include "level/level_error.h"
#include "level/tiled_common.h"

namespace velko::level {
namespace {

class XmlText {
 public:
  XmlText(std::string_view text, std::string path) : text_(text), path_(std::move(path)) {
    const pugi::xml_parse_result result =
        document_.load_buffer(text.data(), text.size(), pugi::parse_default, pugi::encoding_utf8);
    if (!result) {
      throw LevelError(path_ + ":" + std::to_string(LineAt(text, result.offset)) +
                       ": not valid XML (" + result.description() + ")");
    }
  }
  const pugi::xml_document& Document() const { return document_; }
  // "file:line" of a node, for messages.
  std::string At(const pugi::xml_node& node) const {
    return path_ + ":" + std::to_string(LineAt(text_, node.offset_debug()));
  }
  std::int64_t Int(const pugi::xml_node& node, const char* name, std::int64_t fallback) const {
    const pugi::xml_attribute a = node.attribute(name);
    if (!a) return fallback;
    return ParseInteger(a.value(), At(node) + ": attribute " + name);
  }
  int SmallInt(const pugi::xml_node& node, const char* name, int fallback) const {
    const std::int64_t v = Int(node, name, fallback);
    if (v < -(std::int64_t{1} << 30) || v > (std::int64_t{1} << 30)) {
      throw LevelError(At(node) + ": attribute " + std::string(name) + " out of range");
    }
    return static_cast<int>(v);
  }
  double Real(const pugi::xml_node& node, const char* name, double fallback) const {
    const pugi::xml_attribute a = node.attribute(name);
    if (!a) return fallback;
    return ParseReal(a.value(), At(node) + ": attribute " + name);
  }
  const std::string& Path() const { return path_; }

 private:
  std::string_view text_;
  std::string path_;
  pugi::xml_document document_;
};

Properties ReadProperties(const pugi::xml_node& owner) {
  Properties out;
  for (const pugi::xml_node p : owner.child("properties").children("property")) {
    Property property;
    property.type = p.attribute("type") ? p.attribute("type").value() : "string";
    property.value = p.attribute("value") ? p.attribute("value").value() : p.text().get();
    out[p.attribute("name").value()] = property;
  }
  return out;
}

TiledTileset ReadTilesetNode(const XmlText& xml, const pugi::xml_node& node,
                             std::uint32_t firstGid) {
  TiledTileset t;
  t.where = xml.Path();
  t.firstGid = firstGid;
  t.name = node.attribute("name").value();
  t.tileWidth = xml.SmallInt(node, "tilewidth", 0);
  t.tileHeight = xml.SmallInt(node, "tileheight", 0);
  t.margin = xml.SmallInt(node, "margin", 0);
  t.spacing = xml.SmallInt(node, "spacing", 0);
  t.columns = xml.SmallInt(node, "columns", 0);
  t.tileCount = xml.SmallInt(node, "tilecount", 0);
  t.properties = ReadProperties(node);
  if (const pugi::xml_node image = node.child("image")) {
    t.image = Beside(xml.Path(), image.attribute("source").value());
    t.imageWidth = xml.SmallInt(image, "width", 0);
    t.imageHeight = xml.SmallInt(image, "height", 0);
    if (image.attribute("trans")) {
      t.trans = ParseColour(image.attribute("trans").value(), xml.At(image));
    }
  }
  for (const pugi::xml_node tile : node.children("tile")) {
    const std::int64_t id = xml.Int(tile, "id", -1);
    if (id < 0 || id >= (std::int64_t{1} << 28)) {
      throw LevelError(xml.At(tile) + ": tile id " + std::to_string(id) + " out of range");
    }
    TiledTile& out = t.tiles[id];
    out.properties = ReadProperties(tile);
    if (const pugi::xml_node image = tile.child("image")) {
      out.image = Beside(xml.Path(), image.attribute("source").value());
      out.imageWidth = xml.SmallInt(image, "width", 0);
      out.imageHeight = xml.SmallInt(image, "height", 0);
      if (image.attribute("trans") && !t.trans) {
        t.trans = ParseColour(image.attribute("trans").value(), xml.At(image));
      }
    }
  }
  if (t.image.empty()) t.tileCount = static_cast<int>(t.tiles.size());
  FinishTileset(t);
  return t;
}

// The gids inside one <data> or <chunk>: CSV, base64 (maybe compressed) or <tile> elements.
std::vector<std::uint32_t> ReadGids(const XmlText& xml, const pugi::xml_node& data,
                                    const pugi::xml_node& holder, std::int64_t count,
                                    const std::string& where) {
  const std::string encoding = data.attribute("encoding").value();
  const std::string compression = data.attribute("compression").value();
  const char* text = holder.text().get();
  if (encoding == "csv") return DecodeCsvGids(text, count, where);
  if (encoding == "base64") return DecodeBase64Gids(text, compression, count, where);
  if (!encoding.empty()) throw LevelError(where + ": unknown layer encoding \"" + encoding + "\"");
  std::vector<std::uint32_t> gids;
  gids.reserve(static_cast<size_t>(count));
  for (const pugi::xml_node tile : holder.children("tile")) {
    if (static_cast<std::int64_t>(gids.size()) == count) break;
    const std::int64_t gid = xml.Int(tile, "gid", 0);
    if (gid < 0 || gid > 0xFFFFFFFFLL) throw LevelError(xml.At(tile) + ": gid out of range");
    gids.push_back(static_cast<std::uint32_t>(gid));
  }
  gids.resize(static_cast<size_t>(count), 0);
  return gids;
}

void ReadLayers(const XmlText& xml, const pugi::xml_node& parent, double opacity, TiledMap& map,
                Budget& budget, int depth) {
  if (depth > kMaxGroupDepth) throw LevelError(xml.At(parent) + ": groups nested too deep");
  for (const pugi::xml_node node : parent.children()) {
    const std::string kind = node.name();
    if (kind != "layer" && kind != "group" && kind != "objectgroup") continue;
    const bool visible = xml.Int(node, "visible", 1) != 0;
    const double layerOpacity = opacity * xml.Real(node, "opacity", 1.0);
    if (kind == "objectgroup") {
      for (const pugi::xml_node object : node.children("object")) {
        map.objects.push_back({object.attribute("name").value(), xml.Real(object, "x", 0),
                               xml.Real(object, "y", 0), static_cast<bool>(object.child("point"))});
      }
      continue;
    }
    if (!visible) {
      ++map.hiddenLayers;
      continue;
    }
    if (kind == "group") {
      ReadLayers(xml, node, layerOpacity, map, budget, depth + 1);
      continue;
    }
    TiledLayer layer;
    layer.name = node.attribute("name").value();
    layer.opacity = layerOpacity;
    const std::string where = xml.At(node) + ": layer \"" + layer.name + "\"";
    const pugi::xml_node data = node.child("data");
    if (map.infinite) {
      for (const pugi::xml_node chunkNode : data.children("chunk")) {
        Chunk chunk;
        chunk.x = xml.Int(chunkNode, "x", 0);
        chunk.y = xml.Int(chunkNode, "y", 0);
        chunk.width = xml.SmallInt(chunkNode, "width", 0);
        chunk.height = xml.SmallInt(chunkNode, "height", 0);
        const std::string chunkWhere = xml.At(chunkNode) + ": layer \"" + layer.name + "\" chunk";
        CheckChunk(chunk, budget, chunkWhere);
        chunk.gids =
            ReadGids(xml, data, chunkNode, std::int64_t{chunk.width} * chunk.height, chunkWhere);
        layer.chunks.push_back(std::move(chunk));
      }
    } else {
      Chunk chunk;
      chunk.width = static_cast<int>(map.width);
      chunk.height = static_cast<int>(map.height);
      CheckChunk(chunk, budget, where);
      chunk.gids = ReadGids(xml, data, data, map.width * map.height, where);
      layer.chunks.push_back(std::move(chunk));
    }
    map.layers.push_back(std::move(layer));
  }
}

}  // namespace

TiledTileset ReadTsx(std::string_view text, const std::string& path, std::uint32_t firstGid) {
  const XmlText xml(text, path);
  const pugi::xml_node node = xml.Document().child("tileset");
  if (!node) throw LevelError(path + ": no <tileset> in this file");
  return ReadTilesetNode(xml, node, firstGid);
}

TiledMap ReadTmx(std::string_view text, const std::string& path, const FileSource& files,
                 Budget& budget) {
  const XmlText xml(text, path);
  const pugi::xml_node root = xml.Document().child("map");
  if (!root) throw LevelError(path + ": no <map> in this file");
  TiledMap map;
  map.file = path;
  map.orientation = root.attribute("orientation").value();
  map.tileWidth = xml.SmallInt(root, "tilewidth", 0);
  map.tileHeight = xml.SmallInt(root, "tileheight", 0);
  map.width = xml.Int(root, "width", 0);
  map.height = xml.Int(root, "height", 0);
  map.infinite = xml.Int(root, "infinite", 0) != 0;
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
  for (const pugi::xml_node node : root.children("tileset")) {
    const std::int64_t firstGid = xml.Int(node, "firstgid", 1);
    if (firstGid < 1 || firstGid > 0x0FFFFFFF) {
      throw LevelError(xml.At(node) + ": firstgid " + std::to_string(firstGid) + " out of range");
    }
    if (node.attribute("source")) {
      map.tilesets.push_back(ReadExternalTileset(files,
                                                 Beside(path, node.attribute("source").value()),
                                                 static_cast<std::uint32_t>(firstGid), budget));
    } else {
      map.tilesets.push_back(ReadTilesetNode(xml, node, static_cast<std::uint32_t>(firstGid)));
    }
  }
  ReadLayers(xml, root, 1.0, map, budget, 0);
  return map;
}

}  // namespace velko::level
