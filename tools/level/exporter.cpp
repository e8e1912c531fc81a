#include "level/exporter.h"

#include <pugixml.hpp>

#include <sstream>

#include "level/image_codec.h"
#include "level/importer.h"
#include "level/level_error.h"

namespace velko::level {
namespace {

void AddProperty(pugi::xml_node properties, const char* name, const char* type,
                 const std::string& value) {
  pugi::xml_node p = properties.append_child("property");
  p.append_attribute("name") = name;
  if (type != nullptr) p.append_attribute("type") = type;
  p.append_attribute("value") = value.c_str();
}

std::string Hex(const Bytes& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::string Xml(const pugi::xml_document& document) {
  std::ostringstream out;
  document.save(out, " ", pugi::format_default, pugi::encoding_utf8);
  return out.str();
}

}  // namespace

ExportedMap ExportLevel(const LevelFiles& level) {
  if (level.picture.width <= 0 || level.picture.height <= 0) {
    throw LevelError("level.bpb: the picture has no pixels (" + std::to_string(level.pictureWidth) +
                     " x " + std::to_string(level.pictureHeight) + "); Tiled needs a picture");
  }
  if (level.columns < 0 || level.rows < 0) {
    throw LevelError("level.map: a map of " + std::to_string(level.columns) + " x " +
                     std::to_string(level.rows) + " cells has no place in Tiled");
  }
  const int pictureTiles = level.PictureTiles();
  const int records = static_cast<int>(level.collisionTypes.size());
  ExportedMap out;

  // The tileset: the picture as it is, green shown transparent as the game shows it.
  pugi::xml_document tsx;
  pugi::xml_node declaration = tsx.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node tileset = tsx.append_child("tileset");
  tileset.append_attribute("version") = "1.8";
  tileset.append_attribute("name") = "level";
  tileset.append_attribute("tilewidth") = kTileSide;
  tileset.append_attribute("tileheight") = kTileSide;
  tileset.append_attribute("tilecount") = pictureTiles;
  tileset.append_attribute("columns") = level.PictureColumns();
  pugi::xml_node image = tileset.append_child("image");
  image.append_attribute("source") = kExportPicture;
  image.append_attribute("trans") = "00ff00";
  image.append_attribute("width") = level.picture.width;
  image.append_attribute("height") = level.picture.height;
  for (int k = 0; k < std::min(pictureTiles, records); ++k) {
    pugi::xml_node tile = tileset.append_child("tile");
    tile.append_attribute("id") = k;
    AddProperty(tile.append_child("properties"), "collision", "int",
                std::to_string(level.collisionTypes[static_cast<size_t>(k)]));
  }
  out.tsx = Xml(tsx);
  out.png = EncodePngRgb(level.picture);

  // The map: one layer of CSV, what Tiled cannot hold in properties, and the start.
  pugi::xml_document tmx;
  declaration = tmx.append_child(pugi::node_declaration);
  declaration.append_attribute("version") = "1.0";
  declaration.append_attribute("encoding") = "UTF-8";
  pugi::xml_node map = tmx.append_child("map");
  map.append_attribute("version") = "1.8";
  map.append_attribute("orientation") = "orthogonal";
  map.append_attribute("renderorder") = "right-down";
  map.append_attribute("width") = level.columns;
  map.append_attribute("height") = level.rows;
  map.append_attribute("tilewidth") = kTileSide;
  map.append_attribute("tileheight") = kTileSide;
  map.append_attribute("infinite") = 0;
  map.append_attribute("backgroundcolor") = "#000000";
  map.append_attribute("nextlayerid") = 3;
  map.append_attribute("nextobjectid") = 2;

  std::string extras;
  std::string oddTiles;
  std::ostringstream csv;
  csv << '\n';
  for (int r = 0; r < level.rows; ++r) {
    for (int c = 0; c < level.columns; ++c) {
      const Cell& cell = level.At(c, r);
      const bool named = cell.tile >= 0 && cell.tile < pictureTiles;
      csv << (named ? cell.tile + 1 : 0);
      if (!named)
        oddTiles +=
            std::to_string(c) + "," + std::to_string(r) + "," + std::to_string(cell.tile) + ";";
      if (cell.extra != 0)
        extras +=
            std::to_string(c) + "," + std::to_string(r) + "," + std::to_string(cell.extra) + ";";
      if (c + 1 < level.columns || r + 1 < level.rows) csv << ',';
    }
    csv << '\n';
  }
  pugi::xml_node properties = map.append_child("properties");
  if (level.reserved[0] != 0 || level.reserved[1] != 0) {
    AddProperty(properties, kPropReserved, nullptr,
                std::to_string(level.reserved[0]) + "," + std::to_string(level.reserved[1]));
  }
  if (!extras.empty()) AddProperty(properties, kPropExtra, nullptr, extras);
  if (!oddTiles.empty()) AddProperty(properties, kPropCellTiles, nullptr, oddTiles);
  if (records != pictureTiles)
    AddProperty(properties, kPropTileRecords, "int", std::to_string(records));
  if (records > pictureTiles) {
    std::string more;
    for (int k = pictureTiles; k < records; ++k) {
      more += std::to_string(level.collisionTypes[static_cast<size_t>(k)]) +
              (k + 1 < records ? "," : "");
    }
    AddProperty(properties, kPropMoreRecords, nullptr, more);
  }
  if (!level.mapTrailer.empty())
    AddProperty(properties, kPropMapTrailer, nullptr, Hex(level.mapTrailer));
  if (!level.packageTrailer.empty()) {
    AddProperty(properties, kPropPackageTrailer, nullptr, Hex(level.packageTrailer));
  }
  if (!properties.first_child()) map.remove_child(properties);

  pugi::xml_node tilesetRef = map.append_child("tileset");
  tilesetRef.append_attribute("firstgid") = 1;
  tilesetRef.append_attribute("source") = kExportTileset;

  pugi::xml_node layer = map.append_child("layer");
  layer.append_attribute("id") = 1;
  layer.append_attribute("name") = "circuit";
  layer.append_attribute("width") = level.columns;
  layer.append_attribute("height") = level.rows;
  pugi::xml_node data = layer.append_child("data");
  data.append_attribute("encoding") = "csv";
  data.append_child(pugi::node_pcdata).set_value(csv.str().c_str());

  pugi::xml_node objects = map.append_child("objectgroup");
  objects.append_attribute("id") = 2;
  objects.append_attribute("name") = "voiture";
  pugi::xml_node start = objects.append_child("object");
  start.append_attribute("id") = 1;
  start.append_attribute("name") = "depart";
  start.append_attribute("x") = kStartX;
  start.append_attribute("y") = kStartY;
  start.append_child("point");
  out.tmx = Xml(tmx);
  return out;
}

}  // namespace velko::level
