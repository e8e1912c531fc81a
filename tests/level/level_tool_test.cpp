// velko-level end to end: export then import gives the same bytes back (the generated circuit,
// and levels holding what Tiled has no place for), bad maps are refused with the file and the
// place named and nothing written, and check reports each kind of problem.
#include <gtest/gtest.h>

#include "level/level_support.h"
#include "support/temp_dir.h"

namespace velko::level {
namespace {

using namespace velko::level::testing;

std::string Quote(const std::filesystem::path& path) {
  return "'" + path.string() + "'";
}

void WriteLevel(const std::filesystem::path& dir, const LevelFiles& level) {
  std::filesystem::create_directories(dir);
  const Bytes map = EncodeLevelMap(level);
  const Bytes package = EncodeLevelPackage(level);
  WriteText(dir / "level.map", std::string(map.begin(), map.end()));
  WriteText(dir / "level.bpb", std::string(package.begin(), package.end()));
}

// A level of `columns` x `rows` cells over a picture of `pictureColumns` x `pictureRows` tiles
// (plus `extraHeight` pixels), each tile its own colour, cells naming tiles in turn.
LevelFiles MakeLevel(int columns, int rows, int pictureColumns, int pictureRows, int records,
                     int extraHeight = 0) {
  LevelFiles level;
  level.columns = static_cast<std::int16_t>(columns);
  level.rows = static_cast<std::int16_t>(rows);
  const int tiles = pictureColumns * pictureRows;
  for (int i = 0; i < columns * rows; ++i)
    level.cells.push_back({static_cast<std::int16_t>(i % tiles), 0});
  for (int k = 0; k < records; ++k)
    level.collisionTypes.push_back(static_cast<std::int8_t>(k % 3 == 1));
  level.picture = RgbPicture(pictureColumns * 50, pictureRows * 50 + extraHeight);
  for (int y = 0; y < level.picture.height; ++y)
    for (int x = 0; x < level.picture.width; ++x)
      level.picture.At(x, y) = (x + y) % 7 == 0
                                   ? kKey
                                   : Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y),
                                         static_cast<std::uint8_t>(x / 50 * 40 + y / 50 * 90)};
  level.pictureWidth = static_cast<std::int16_t>(level.picture.width);
  level.pictureHeight = static_cast<std::int16_t>(level.picture.height);
  return level;
}

struct RoundTrip {
  const char* name;
  LevelFiles (*make)();
};

LevelFiles Generated() {
  velko::testing::TempDir dir;
  EXPECT_EQ(RunCommand(std::string("'") + VELKO_ASSETGEN + "' " + Quote(dir.Path())).status, 0);
  return ReadLevelDir(dir.Path());
}

LevelFiles Odd() {
  // Everything Tiled has no place for: header bytes, cells' extra field, tiles no gid names,
  // records past the picture, a picture height of no whole tiles, bytes after both files.
  LevelFiles level = MakeLevel(17, 13, 2, 1, 5, 25);
  level.reserved[0] = 7;
  level.reserved[1] = 200;
  level.cells[3].extra = -5;
  level.cells[40].extra = 1234;
  level.cells[7].tile = -3;
  level.cells[8].tile = 99;
  level.collisionTypes[4] = -128;
  level.mapTrailer = {1, 2, 3};
  level.packageTrailer = {0xFF};
  return level;
}

LevelFiles FewerRecords() {
  return MakeLevel(16, 12, 3, 2, 2);
}

class ExportImport : public ::testing::TestWithParam<RoundTrip> {};

TEST_P(ExportImport, GivesTheSameBytesBack) {
  velko::testing::TempDir dir;
  const LevelFiles level = GetParam().make();
  WriteLevel(dir.File("original"), level);
  ASSERT_EQ(
      RunLevelTool("export " + Quote(dir.File("original")) + " " + Quote(dir.File("tiled"))).status,
      0);
  std::vector<std::string> maps = {"level.tmx"};
  if (HaveTiled()) {
    // Saved again by Tiled itself, as a player's edit would: the properties must survive it.
    const std::string from = Quote(dir.File("tiled") / "level.tmx");
    ASSERT_TRUE(RunTiled(
        "tiled", "--export-map tmx " + from + " " + Quote(dir.File("tiled") / "resaved.tmx")));
    ASSERT_TRUE(RunTiled(
        "tiled", "--export-map json " + from + " " + Quote(dir.File("tiled") / "resaved.tmj")));
    maps.insert(maps.end(), {"resaved.tmx", "resaved.tmj"});
  }
  for (const std::string& map : maps) {
    SCOPED_TRACE(map);
    const ToolRun run = RunLevelTool("import " + Quote(dir.File("tiled") / map) + " " +
                                     Quote(dir.File(map + ".out")));
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(dir.File(map + ".out") / "level.map"),
              ReadBytes(dir.File("original") / "level.map"));
    EXPECT_EQ(ReadBytes(dir.File(map + ".out") / "level.bpb"),
              ReadBytes(dir.File("original") / "level.bpb"));
  }
}

INSTANTIATE_TEST_SUITE_P(Levels, ExportImport,
                         ::testing::Values(RoundTrip{"generated_circuit", Generated},
                                           RoundTrip{"odd", Odd},
                                           RoundTrip{"fewer_records", FewerRecords}),
                         [](const auto& info) { return std::string(info.param.name); });

// One tileset of two 50 x 50 tiles: tile 0 red and solid, tile 1 a half tile (2) with a patch
// of opaque pure green.
void WriteTileset(const velko::testing::TempDir& dir) {
  RgbaPicture picture(100, 50);
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x)
      picture.At(x, y) = x >= 60 && x < 70 && y < 10
                             ? Rgba{0, 255, 0, 255}
                             : Rgba{200, 0, static_cast<std::uint8_t>(x), 255};
  WritePng(dir.File("t.png"), picture);
  WriteText(dir.File("t.tsx"),
            "<tileset name=\"t\" tilewidth=\"50\" tileheight=\"50\" tilecount=\"2\" columns=\"2\">"
            "<image source=\"t.png\" width=\"100\" height=\"50\"/>"
            "<tile id=\"0\"><properties><property name=\"collision\" "
            "value=\"solide\"/></properties></tile>"
            "<tile id=\"1\"><properties><property name=\"collision\" type=\"int\" "
            "value=\"2\"/></properties></tile>"
            "</tileset>");
}

std::string Tmx(const std::string& attributes, const std::string& data,
                const std::string& layer = "") {
  return "<?xml version=\"1.0\"?>\n<map orientation=\"orthogonal\" width=\"2\" height=\"1\" "
         "tilewidth=\"50\" "
         "tileheight=\"50\" " +
         attributes +
         ">\n<tileset firstgid=\"1\" source=\"t.tsx\"/>\n"
         "<layer name=\"sol\" width=\"2\" height=\"1\"" +
         layer + "><data encoding=\"csv\">" + data + "</data></layer>\n</map>\n";
}

struct BadMap {
  const char* name;
  const char* file;
  std::string text;
  const char* message;  // what stderr must name
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

std::vector<BadMap> BadMaps() {
  return {
      {"isometric", "m.tmx", Replaced(Tmx("", "1,2"), "orthogonal", "isometric"), "isometric"},
      {"small_tiles", "m.tmx",
       "<map orientation=\"orthogonal\" width=\"1\" height=\"1\" tilewidth=\"32\" "
       "tileheight=\"32\"/>",
       "32 x 32"},
      {"half_tile_flipped_up", "m.tmx", Tmx("", "1," + std::to_string(2u | 0x40000000u)),
       "cell (1, 0)"},
      {"unknown_gid", "m.tmx", Tmx("", "1,9"), "gid 9"},
      {"short_layer", "m.tmx", Tmx("", "1"), "layer \"sol\""},
      {"broken_xml", "m.tmx", "<map>\n<layer>\n</map", "m.tmx:3"},
      {"too_wide", "m.tmx", Replaced(Tmx("", "1,1"), "width=\"2\"", "width=\"40000\""), "32767"},
      {"json_orientation", "m.tmj",
       "{\"orientation\": \"hexagonal\", \"tilewidth\": 50, \"tileheight\": 50}", "hexagonal"},
      {"json_broken", "m.tmj", "{\"orientation\": \n\n [", "m.tmj:3"},
      {"bad_collision", "m.tmj",
       "{\"orientation\":\"orthogonal\",\"tilewidth\":50,\"tileheight\":50,\"width\":1,\"height\":"
       "1,"
       "\"layers\":[{\"type\":\"tilelayer\",\"name\":\"sol\",\"data\":[1]}],\"tilesets\":[{"
       "\"firstgid\":1,"
       "\"name\":\"x\",\"tilewidth\":50,\"tileheight\":50,\"image\":\"t.png\",\"imagewidth\":100,"
       "\"imageheight\":50,"
       "\"tiles\":[{\"id\":0,\"properties\":[{\"name\":\"collision\",\"type\":\"int\",\"value\":"
       "300}]}]}]}",
       "-128 to 127"},
  };
}

class Refused : public ::testing::TestWithParam<BadMap> {};

TEST_P(Refused, WithTheFileAndPlaceNamedAndNothingWritten) {
  velko::testing::TempDir dir;
  WriteTileset(dir);
  WriteText(dir.File(GetParam().file), GetParam().text);
  const ToolRun run =
      RunLevelTool("import " + Quote(dir.File(GetParam().file)) + " " + Quote(dir.File("out")));
  EXPECT_EQ(run.status, 2);
  EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
  EXPECT_NE(run.err.find(GetParam().file), std::string::npos) << run.err;
  EXPECT_FALSE(dir.Exists("out/level.map"));
  EXPECT_FALSE(dir.Exists("out/level.bpb"));
}

INSTANTIATE_TEST_SUITE_P(Maps, Refused, ::testing::ValuesIn(BadMaps()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(Import, FlipsHalfTilesOnlySidewaysAndWarnsOncePerTileOfOpaqueGreen) {
  velko::testing::TempDir dir;
  WriteTileset(dir);
  // Tile 1 (a half tile, 2) flipped sideways becomes the other half (3); empty cells are black.
  WriteText(dir.File("m.tmx"), Tmx("", "2," + std::to_string(2u | 0x80000000u)));
  const ToolRun run =
      RunLevelTool("import " + Quote(dir.File("m.tmx")) + " " + Quote(dir.File("out")));
  ASSERT_EQ(run.status, 0) << run.err;
  const LevelFiles level = ReadLevelDir(dir.File("out"));
  EXPECT_EQ(level.collisionTypes.at(static_cast<size_t>(level.At(0, 0).tile)), 2);
  EXPECT_EQ(level.collisionTypes.at(static_cast<size_t>(level.At(1, 0).tile)), 3);
  // Both cells' tiles hold the green patch: one warning each.
  size_t warnings = 0;
  for (size_t at = run.err.find("pure green"); at != std::string::npos;
       at = run.err.find("pure green", at + 1))
    ++warnings;
  EXPECT_EQ(warnings, 2u) << run.err;
  EXPECT_NE(run.out.find("2 x 1 cells"), std::string::npos) << run.out;
}

struct CheckCase {
  const char* name;
  LevelFiles (*make)();
  std::vector<std::string> problems;  // each must appear; none when empty (exit 0)
};

std::vector<CheckCase> CheckCases() {
  return {
      {"clean", [] { return MakeLevel(16, 12, 2, 2, 4); }, {}},
      {"tile_not_in_table",
       [] {
         LevelFiles l = MakeLevel(16, 12, 2, 2, 4);
         l.cells[5].tile = 9;
         l.cells[6].tile = -1;
         return l;
       },
       {"tile 9 is not in the table", "tile -1 is not in the table", "tile 9 has no picture"}},
      {"tile_without_picture",
       [] {
         LevelFiles l = MakeLevel(16, 12, 2, 1, 6);
         l.cells[0].tile = 4;
         return l;
       },
       {"tile 4 has no picture"}},
      {"solid_start",
       [] {
         LevelFiles l = MakeLevel(16, 12, 2, 1, 2);
         l.collisionTypes[static_cast<size_t>(l.At(6, 8).tile)] = 1;
         return l;
       },
       {"starts on a blocking tile"}},
      {"small_map",
       [] { return MakeLevel(15, 11, 2, 2, 4); },
       {"narrower than the screen", "lower than the screen"}},
      {"stray_pixels", [] { return MakeLevel(16, 12, 2, 2, 4, 20); }, {"belong to no tile"}},
  };
}

class Check : public ::testing::TestWithParam<CheckCase> {};

TEST_P(Check, ReportsEachProblemOnItsOwnLine) {
  velko::testing::TempDir dir;
  WriteLevel(dir.Path(), GetParam().make());
  const ToolRun run = RunLevelTool("check " + Quote(dir.Path()));
  EXPECT_EQ(run.status, GetParam().problems.empty() ? 0 : 1) << run.out;
  for (const std::string& problem : GetParam().problems) {
    EXPECT_NE(run.out.find(problem), std::string::npos) << run.out;
  }
  const size_t lines = static_cast<size_t>(std::count(run.out.begin(), run.out.end(), '\n'));
  EXPECT_EQ(lines, GetParam().problems.size()) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Levels, Check, ::testing::ValuesIn(CheckCases()),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace velko::level
