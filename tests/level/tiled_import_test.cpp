// Maps written by the real Tiled, in every layer encoding, with external (TSX, JSON) and
// embedded tilesets, two tilesets (one an image collection), flips, several layers and an
// infinite map. Each import is checked by its meaning: for every cell, the tile it names in
// level.bpb shows what Tiled's own rasterizer draws there, and its collision type is the one
// the map's tiles give.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>

#include "level/image_codec.h"
#include "level/level_support.h"
#include "level/tiled_map.h"
#include "support/temp_dir.h"

namespace velko::level {
namespace {

using namespace velko::level::testing;

constexpr std::uint32_t H = kFlipH, V = kFlipV, D = kFlipD;

// Tileset "a": four tiles in a picture with a margin of 1 and spacing of 2, magenta
// transparent. Tileset "b" (first gid 10): an image collection, tile 0 a BMP, tile 5 a PNG
// whose left half is transparent.
RgbaPicture TilesetA() {
  RgbaPicture picture(104, 104);
  for (Rgba& p : picture.pixels) p = {9, 9, 9, 255};
  for (int k = 0; k < 4; ++k)
    for (int y = 0; y < 50; ++y)
      for (int x = 0; x < 50; ++x) {
        const bool hole = k == 3 && x >= 10 && x < 20 && y >= 10 && y < 20;
        picture.At(1 + (k % 2) * 52 + x, 1 + (k / 2) * 52 + y) =
            hole ? Rgba{255, 0, 255, 255}
                 : Rgba{static_cast<std::uint8_t>(30 + 50 * k),
                        static_cast<std::uint8_t>(4 * x + 10),
                        static_cast<std::uint8_t>(4 * y + 10), 255};
      }
  return picture;
}

RgbaPicture Tile(int kind) {
  RgbaPicture picture(50, 50);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 50; ++x)
      picture.At(x, y) =
          kind == 0
              ? Rgba{200, static_cast<std::uint8_t>(5 * x), static_cast<std::uint8_t>(100 + y), 255}
              : Rgba{10, static_cast<std::uint8_t>(200 - 3 * y), static_cast<std::uint8_t>(4 * x),
                     static_cast<std::uint8_t>(x < 25 ? 0 : 255)};
  return picture;
}

std::string Collision(const char* type, const char* value) {
  return std::string("<properties><property name=\"collision\"") +
         (type ? " type=\"" + std::string(type) + "\"" : "") + " value=\"" + value +
         "\"/></properties>";
}

std::string TilesetABody() {
  return "<image source=\"a.png\" trans=\"ff00ff\" width=\"104\" height=\"104\"/>"
         "<tile id=\"0\">" +
         Collision("int", "1") +
         "</tile>"
         "<tile id=\"1\">" +
         Collision(nullptr, "demi-gauche") +
         "</tile>"
         "<tile id=\"3\">" +
         Collision("int", "4") + "</tile>";
}
constexpr char kTilesetAHead[] =
    "name=\"a\" tilewidth=\"50\" tileheight=\"50\" spacing=\"2\" margin=\"1\" tilecount=\"4\" "
    "columns=\"2\"";
std::string TilesetBBody() {
  return "<grid orientation=\"orthogonal\" width=\"1\" height=\"1\"/>"
         "<tile id=\"0\">" +
         Collision("string", "solide") +
         "<image width=\"50\" height=\"50\" source=\"b0.bmp\"/></tile>"
         "<tile id=\"5\"><image width=\"50\" height=\"50\" source=\"b5.png\"/></tile>";
}
constexpr char kTilesetBHead[] =
    "name=\"b\" tilewidth=\"50\" tileheight=\"50\" tilecount=\"2\" columns=\"0\"";

// What each base gid sets: the test's own reading of the tilesets above.
std::optional<int> CollisionOf(std::uint32_t gid) {
  static const std::map<std::uint32_t, int> kTypes{{1, 1}, {2, 2}, {4, 4}, {10, 1}};
  const auto found = kTypes.find(gid & ~(H | V | D));
  if (found == kTypes.end()) return std::nullopt;
  int type = found->second;
  if (type >= 2 && type <= 5 && (gid & H) != 0) type ^= 1;  // 2 <-> 3, 4 <-> 5
  return type;
}

struct Layer {
  std::vector<std::uint32_t> gids;  // row by row
  bool visible = true;
  double opacity = 1.0;
  bool inGroup = false;
};

struct Case {
  const char* name;
  const char* encoding;
  const char* compression;
  const char* tilesets;  // "tsx", "tsj" or "embedded"
  std::vector<Layer> layers;
  bool infinite = false;
};

constexpr int kColumns = 4, kRows = 3;
const std::vector<std::uint32_t> kBase = {1, 2, 3, 4, 10, 15, 0, 1, 4, 3, 2, 10};
const std::vector<std::uint32_t> kFlipped = {1 | H,     2 | H,  3 | V, 4 | H,  3 | D,     3 | H | V,
                                             3 | D | H, 10 | V, 0,     15 | H, 1 | D | V, 2};

std::vector<Case> Cases() {
  const Layer over{{15, 15, 0, 0, 0, 3, 15, 0, 0, 0, 0, 15}, true, 0.6};
  const Layer hidden{std::vector<std::uint32_t>(12, 1), false};
  const Layer grouped{{0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 4 | H}, true, 1.0, true};
  return {
      {"csv", "csv", "", "tsx", {{kBase}}},
      {"base64", "base64", "", "tsx", {{kBase}}},
      {"zlib", "base64", "zlib", "tsx", {{kBase}}},
      {"gzip", "base64", "gzip", "tsx", {{kBase}}},
      {"zstd", "base64", "zstd", "tsx", {{kBase}}},
      {"embedded", "csv", "", "embedded", {{kBase}}},
      {"json_tilesets", "base64", "zlib", "tsj", {{kBase}}},
      {"flips", "csv", "", "tsx", {{kFlipped}}},
      {"layers", "base64", "gzip", "embedded", {{kBase}, over, hidden, grouped}},
      {"infinite", "csv", "", "tsx", {{kFlipped}, over}, true},
  };
}

std::string LayerXml(const Case& c, const Layer& layer, int id) {
  std::string xml =
      "<layer id=\"" + std::to_string(id) + "\" name=\"l" + std::to_string(id) + "\" width=\"" +
      std::to_string(kColumns) + "\" height=\"" + std::to_string(kRows) + "\"" +
      (layer.visible ? "" : " visible=\"0\"") +
      (layer.opacity != 1.0 ? " opacity=\"" + std::to_string(layer.opacity) + "\"" : "") + ">";
  xml += std::string("<data encoding=\"") + c.encoding + "\"" +
         (*c.compression ? std::string(" compression=\"") + c.compression + "\"" : "") + ">";
  if (c.infinite) {
    // Two chunks, left of and at the origin: the map's bounds are theirs.
    for (int chunkX : {-16, 0}) {
      std::vector<std::uint32_t> gids(256, 0);
      for (int r = 0; r < kRows; ++r)
        for (int col = 0; col < kColumns; ++col)
          gids[static_cast<size_t>((r + 2) * 16 + col + (chunkX < 0 ? 12 : 1))] =
              layer.gids[static_cast<size_t>(r * kColumns + col)];
      xml += "<chunk x=\"" + std::to_string(chunkX) + "\" y=\"0\" width=\"16\" height=\"16\">" +
             EncodeGids(gids, c.encoding, c.compression) + "</chunk>";
    }
  } else {
    xml += EncodeGids(layer.gids, c.encoding, c.compression);
  }
  return xml + "</data></layer>";
}

std::string MapXml(const Case& c) {
  std::string xml =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.8\" orientation=\"orthogonal\" "
      "renderorder=\"right-down\" width=\"" +
      std::to_string(kColumns) + "\" height=\"" + std::to_string(kRows) +
      "\" tilewidth=\"50\" tileheight=\"50\" infinite=\"" + (c.infinite ? "1" : "0") +
      "\" nextlayerid=\"9\" nextobjectid=\"1\">\n";
  const std::string kind = c.tilesets;
  if (kind == "embedded") {
    xml += std::string("<tileset firstgid=\"1\" ") + kTilesetAHead + ">" + TilesetABody() +
           "</tileset>";
    xml += std::string("<tileset firstgid=\"10\" ") + kTilesetBHead + ">" + TilesetBBody() +
           "</tileset>";
  } else {
    const std::string ext = kind == "tsj" ? ".tsj" : ".tsx";
    xml += "<tileset firstgid=\"1\" source=\"a" + ext + "\"/><tileset firstgid=\"10\" source=\"b" +
           ext + "\"/>";
  }
  int id = 1;
  bool inGroup = false;
  for (const Layer& layer : c.layers) {
    if (layer.inGroup && !inGroup) xml += "<group id=\"8\" name=\"g\">";
    inGroup = layer.inGroup;
    xml += LayerXml(c, layer, id++);
  }
  if (inGroup) xml += "</group>";
  return xml + "</map>\n";
}

class TiledImport : public ::testing::TestWithParam<Case> {};

TEST_P(TiledImport, EveryCellShowsWhatTiledDrawsWithItsCollisionType) {
  if (!HaveTiled()) GTEST_SKIP() << "tiled is not installed";
  const Case& c = GetParam();
  velko::testing::TempDir dir;
  const auto at = [&](const std::string& name) { return (dir.Path() / name).string(); };
  WritePng(at("a.png"), TilesetA());
  WriteBmp24(at("b0.bmp"), Tile(0));
  WritePng(at("b5.png"), Tile(5));
  WriteText(at("a.tsx"), std::string("<?xml version=\"1.0\"?>\n<tileset version=\"1.8\" ") +
                             kTilesetAHead + ">" + TilesetABody() + "</tileset>\n");
  WriteText(at("b.tsx"), std::string("<?xml version=\"1.0\"?>\n<tileset version=\"1.8\" ") +
                             kTilesetBHead + ">" + TilesetBBody() + "</tileset>\n");
  if (std::string(c.tilesets) == "tsj") {
    ASSERT_TRUE(RunTiled("tiled", "--export-tileset json " + at("a.tsx") + " " + at("a.tsj")));
    ASSERT_TRUE(RunTiled("tiled", "--export-tileset json " + at("b.tsx") + " " + at("b.tsj")));
  }
  WriteText(at("source.tmx"), MapXml(c));
  // Tiled writes both formats; the rasterizer draws what Tiled shows.
  ASSERT_TRUE(RunTiled("tiled", "--export-map tmx " + at("source.tmx") + " " + at("saved.tmx")));
  ASSERT_TRUE(RunTiled("tiled", "--export-map json " + at("source.tmx") + " " + at("saved.tmj")));
  ASSERT_TRUE(
      RunTiled("tmxrasterizer", "--no-smoothing " + at("saved.tmx") + " " + at("shown.png")));
  if (*c.compression) {
    EXPECT_NE(dir.Read("saved.tmx").find(std::string("compression=\"") + c.compression),
              std::string::npos);
  }
  const RgbaPicture shown = DecodeImage(ReadBytes(at("shown.png")), "shown.png", 32767, 1 << 24);

  for (const char* saved : {"saved.tmx", "saved.tmj"}) {
    SCOPED_TRACE(saved);
    const std::string out = at(std::string("out-") + saved);
    const ToolRun imported = RunLevelTool("import " + at(saved) + " " + out);
    ASSERT_EQ(imported.status, 0) << imported.err;
    const LevelFiles level = ReadLevelDir(out);
    const int columns = c.infinite ? 32 : kColumns;
    const int rows = c.infinite ? 16 : kRows;
    ASSERT_EQ(level.columns, columns);
    ASSERT_EQ(level.rows, rows);
    ASSERT_EQ(shown.width, columns * 50);
    ASSERT_EQ(shown.height, rows * 50);
    int mismatches = 0;
    for (int col = 0; col < columns; ++col) {
      for (int r = 0; r < rows; ++r) {
        const int tile = level.At(col, r).tile;
        ASSERT_GE(tile, 0);
        ASSERT_LT(tile, level.PictureTiles());
        const RgbPicture picture = TilePicture(level, tile);
        for (int y = 0; y < 50; ++y) {
          for (int x = 0; x < 50; ++x) {
            const Rgba want = shown.At(col * 50 + x, r * 50 + y);
            const Rgb got = picture.At(x, y);
            // Over the game's black ground: kept from alpha 128, else the key colour.
            const bool keyed = want.a < 128;
            const auto near = [&](int a, int b) { return std::abs(a * want.a / 255 - b) <= 3; };
            const bool same =
                keyed ? got == kKey
                      : near(want.r, got.r) && near(want.g, got.g) && near(want.b, got.b);
            if (!same && mismatches++ < 3) {
              ADD_FAILURE() << "cell (" << col << ", " << r << ") pixel (" << x << ", " << y
                            << "): Tiled shows " << int(want.r) << "," << int(want.g) << ","
                            << int(want.b) << "/" << int(want.a) << ", tile " << tile << " holds "
                            << int(got.r) << "," << int(got.g) << "," << int(got.b);
            }
          }
        }
        // The collision type: the topmost visible tile that sets one.
        std::optional<int> want;
        const int sourceColumn = c.infinite ? col - (col >= 16 ? 17 : 12) : col;
        const int sourceRow = c.infinite ? r - 2 : r;
        if (sourceColumn >= 0 && sourceColumn < kColumns && sourceRow >= 0 && sourceRow < kRows) {
          for (auto layer = c.layers.rbegin(); layer != c.layers.rend() && !want; ++layer) {
            const std::uint32_t gid =
                layer->gids[static_cast<size_t>(sourceRow * kColumns + sourceColumn)];
            if (layer->visible && gid != 0) want = CollisionOf(gid);
          }
        }
        EXPECT_EQ(level.collisionTypes.at(static_cast<size_t>(tile)), want.value_or(0))
            << "cell (" << col << ", " << r << ")";
      }
    }
    EXPECT_EQ(mismatches, 0);
  }
}

INSTANTIATE_TEST_SUITE_P(Maps, TiledImport, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velko::level
