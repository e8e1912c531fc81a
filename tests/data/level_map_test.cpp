#include "data/level_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "services/files/file_service.h"
#include "services/files/program_directory.h"
#include "services/services.h"
#include "support/recording_operations.h"
#include "support/temp_dir.h"

namespace velko {
namespace {

using testing::RecordingOperations;
using testing::TempDir;

// Little-endian bytes of a level map, written field by field.
class MapBytes {
 public:
  MapBytes& Int16(int v) {
    bytes.push_back(static_cast<unsigned char>(v & 0xFF));
    bytes.push_back(static_cast<unsigned char>((v >> 8) & 0xFF));
    return *this;
  }
  MapBytes& Int8(int v) {
    bytes.push_back(static_cast<unsigned char>(v & 0xFF));
    return *this;
  }
  std::vector<unsigned char> bytes;
};

class LevelMapTest : public ::testing::Test {
 protected:
  LevelMapTest()
      : directory_(ProgramDirectory::FromExecutablePath(dir_.ExecutablePath())),
        files_(directory_) {
    ops_.files = &files_;
  }

  bool Read(const MapBytes& map) {
    dir_.Write("level.map", map.bytes);
    return LevelMapRead(ops_, level_, error_);
  }

  TempDir dir_;
  ProgramDirectory directory_;
  FileService files_;
  RecordingOperations ops_;
  LevelData level_;
  std::string error_;
};

TEST_F(LevelMapTest, CellsComeColumnByColumn) {
  MapBytes map;
  map.Int16(2).Int16(3).Int8(0x55).Int8(-7);  // reserved bytes: anything
  for (int i = 0; i < 6; ++i) map.Int16(10 + i).Int16(-(20 + i));
  map.Int16(0);
  ASSERT_TRUE(Read(map));
  EXPECT_EQ(level_.grid.columns, 2);
  EXPECT_EQ(level_.grid.rows, 3);
  // (0,0), (0,1), (0,2), (1,0), (1,1), (1,2)
  const int expectedOrder[2][3] = {{10, 11, 12}, {13, 14, 15}};
  for (int c = 0; c < 2; ++c) {
    for (int r = 0; r < 3; ++r) {
      const TileCell* cell = CellAt(level_.grid, c, r);
      ASSERT_NE(cell, nullptr);
      EXPECT_EQ(cell->tile, expectedOrder[c][r]) << c << "," << r;
      EXPECT_EQ(cell->extra, -(expectedOrder[c][r] + 10)) << c << "," << r;
    }
  }
  // Column-major storage: cell (c, r) is element c * (H + 1) + r.
  EXPECT_EQ(level_.grid.cells.At(4)->tile, 13);
  EXPECT_EQ(level_.grid.cells.At(5)->tile, 14);
  // The spare column and row hold tile 0.
  for (int r = 0; r <= 3; ++r) EXPECT_EQ(CellAt(level_.grid, 2, r)->tile, 0);
  for (int c = 0; c <= 2; ++c) EXPECT_EQ(CellAt(level_.grid, c, 3)->tile, 0);
  EXPECT_EQ(CellAt(level_.grid, 3, 0), nullptr);
  EXPECT_EQ(CellAt(level_.grid, 0, 4), nullptr);
  EXPECT_TRUE(ops_.log.back() == "DataFileClose 1");
}

TEST_F(LevelMapTest, FourTilesMakeFiveRecords) {
  MapBytes map;
  map.Int16(1).Int16(1).Int8(0).Int8(0).Int16(3).Int16(0);
  map.Int16(4).Int8(1).Int8(-1).Int8(5).Int8(127);
  map.Int8(99);  // ignored
  ASSERT_TRUE(Read(map));
  EXPECT_EQ(level_.tiles.Count(), 4);
  const int8_t expected[5] = {1, -1, 5, 127, 0};
  for (int t = 0; t <= 4; ++t) {
    ASSERT_NE(TileDefAt(level_, t), nullptr);
    EXPECT_EQ(TileDefAt(level_, t)->collisionType, expected[t]);
    EXPECT_EQ(TileDefAt(level_, t)->spriteNumber, 0);
  }
  EXPECT_EQ(TileDefAt(level_, 5), nullptr);
  EXPECT_EQ(TileDefAt(level_, -1), nullptr);
  EXPECT_EQ(CollisionTypeAt(level_, 0, 0), 127);
}

TEST_F(LevelMapTest, TilesOutsideTheTableAreFreeGround) {
  MapBytes map;
  map.Int16(3).Int16(1).Int8(0).Int8(0);
  map.Int16(5).Int16(0).Int16(-3).Int16(0).Int16(1).Int16(0);
  map.Int16(2).Int8(1).Int8(1);  // records 0..2; 2 is type 0
  ASSERT_TRUE(Read(map));
  EXPECT_EQ(CollisionTypeAt(level_, 0, 0), 0);  // tile 5
  EXPECT_EQ(CollisionTypeAt(level_, 1, 0), 0);  // tile -3
  EXPECT_EQ(CollisionTypeAt(level_, 2, 0), 1);  // tile 1
}

struct SizeCase {
  const char* name;
  int width;
  int height;
  int tiles;
  int32_t storedColumns;
  int32_t storedRows;
};

class NothingToReadTest : public LevelMapTest, public ::testing::WithParamInterface<SizeCase> {};

TEST_P(NothingToReadTest, ReadsNoCells) {
  const SizeCase& c = GetParam();
  MapBytes map;
  map.Int16(c.width).Int16(c.height).Int8(0).Int8(0);
  // Straight after the header comes the tile count, then its types.
  map.Int16(c.tiles).Int8(2).Int8(3);
  ASSERT_TRUE(Read(map)) << c.name;
  EXPECT_EQ(level_.grid.columns, c.width);
  EXPECT_EQ(level_.grid.rows, c.height);
  EXPECT_EQ(level_.grid.storedColumns, c.storedColumns);
  EXPECT_EQ(level_.grid.storedRows, c.storedRows);
  for (int32_t col = 0; col < c.storedColumns; ++col) {
    for (int32_t row = 0; row < c.storedRows; ++row) {
      EXPECT_EQ(CellAt(level_.grid, col, row)->tile, 0);
    }
  }
  EXPECT_EQ(level_.tiles.Count(), c.tiles);
  if (c.tiles >= 2) {
    EXPECT_EQ(TileDefAt(level_, 0)->collisionType, 2);
    EXPECT_EQ(TileDefAt(level_, 1)->collisionType, 3);
  } else {
    EXPECT_EQ(TileDefAt(level_, 1), nullptr);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, NothingToReadTest,
    ::testing::Values(SizeCase{"zero width", 0, 5, 2, 1, 6}, SizeCase{"zero height", 4, 0, 2, 5, 1},
                      SizeCase{"negative width", -3, 5, 2, 1, 6},
                      SizeCase{"most negative width", -32768, 5, 2, 1, 6},
                      SizeCase{"most negative height", 3, -32768, 2, 4, 1},
                      SizeCase{"no tiles", 0, 0, 0, 1, 1},
                      SizeCase{"negative tile count", 0, 0, -1, 1, 1},
                      SizeCase{"most negative tile count", 0, 0, -32768, 1, 1}));

TEST_F(LevelMapTest, MissingFileGivesAnEmptyMap) {
  ASSERT_TRUE(LevelMapRead(ops_, level_, error_));
  EXPECT_FALSE(dir_.Exists("level.map"));  // reading never creates the file
  EXPECT_EQ(level_.grid.columns, 0);
  EXPECT_EQ(level_.grid.rows, 0);
  ASSERT_NE(CellAt(level_.grid, 0, 0), nullptr);
  EXPECT_EQ(CellAt(level_.grid, 1, 0), nullptr);
  EXPECT_EQ(level_.tiles.Count(), 0);
  ASSERT_NE(TileDefAt(level_, 0), nullptr);
  EXPECT_EQ(TileDefAt(level_, 0)->collisionType, 0);
}

TEST_F(LevelMapTest, ShortFileRepeatsTheLastValueRead) {
  MapBytes map;
  map.Int16(2).Int16(2).Int8(0).Int8(0).Int16(5).Int16(0x0106);  // one cell of four
  ASSERT_TRUE(Read(map));
  EXPECT_EQ(CellAt(level_.grid, 0, 0)->tile, 5);
  // Every later word read gives 0x0106 again, every byte 0x06.
  EXPECT_EQ(CellAt(level_.grid, 0, 1)->tile, 0x0106);
  EXPECT_EQ(CellAt(level_.grid, 1, 1)->extra, 0x0106);
  EXPECT_EQ(level_.tiles.Count(), 0x0106);
  EXPECT_EQ(TileDefAt(level_, 0)->collisionType, 6);
  EXPECT_EQ(TileDefAt(level_, 0x0105)->collisionType, 6);
  EXPECT_EQ(TileDefAt(level_, 0x0106)->collisionType, 0);
}

// The file service's rule, byte by byte: each read moves what the file still has into a
// two-byte transfer cell that keeps its old bytes where nothing came.
class ReadModel {
 public:
  explicit ReadModel(std::vector<unsigned char> bytes) : bytes_(std::move(bytes)) {}
  int16_t Int16() {
    for (int i = 0; i < 2 && at_ < bytes_.size(); ++i) cell_[i] = bytes_[at_++];
    return static_cast<int16_t>(cell_[0] | cell_[1] << 8);
  }
  int8_t Int8() {
    if (at_ < bytes_.size()) cell_[0] = bytes_[at_++];
    return static_cast<int8_t>(cell_[0]);
  }

 private:
  std::vector<unsigned char> bytes_;
  size_t at_ = 0;
  unsigned char cell_[2] = {0, 0};
};

// A map cut short at every length: each cell, and each tile record, holds what reading it
// value by value gives, whether the cell was read or stands for the reads past the end.
TEST_F(LevelMapTest, EveryCellOfAShortMapHoldsWhatItsReadsGive) {
  MapBytes full;
  full.Int16(3).Int16(4).Int8(1).Int8(2);
  for (int i = 0; i < 12; ++i) full.Int16(0x0101 * (i + 1)).Int16(-(i + 1));
  full.Int16(3).Int8(1).Int8(-2).Int8(3);
  for (size_t length = 0; length <= full.bytes.size(); ++length) {
    const std::vector<unsigned char> bytes(full.bytes.begin(), full.bytes.begin() + length);
    dir_.Write("level.map", bytes);
    FileService files(directory_);
    RecordingOperations ops;
    ops.files = &files;
    LevelData level;
    ASSERT_TRUE(LevelMapRead(ops, level, error_)) << length;
    ReadModel model(bytes);
    const int16_t width = model.Int16();
    const int16_t height = model.Int16();
    model.Int8();
    model.Int8();
    ASSERT_EQ(level.grid.columns, width) << length;
    ASSERT_EQ(level.grid.rows, height) << length;
    for (int c = 0; c < width; ++c) {
      for (int r = 0; r < height; ++r) {
        const int16_t tile = model.Int16();
        const int16_t extra = model.Int16();
        ASSERT_NE(CellAt(level.grid, c, r), nullptr);
        EXPECT_EQ(CellAt(level.grid, c, r)->tile, tile) << length << ": " << c << "," << r;
        EXPECT_EQ(CellAt(level.grid, c, r)->extra, extra) << length << ": " << c << "," << r;
      }
    }
    const int16_t count = model.Int16();
    ASSERT_EQ(level.tiles.Count(), count) << length;
    for (int t = 0; t < count; ++t) {
      EXPECT_EQ(TileDefAt(level, t)->collisionType, model.Int8()) << length << ": " << t;
    }
    // The spare column and row stay free ground.
    EXPECT_EQ(CellAt(level.grid, std::max<int>(width, 0), 0)->tile, 0) << length;
  }
}

// Headers that announce millions of values past a file's end: the values stay the stale
// ones, and the end, once met, is not asked of the system again.
struct StaleHeaderCase {
  const char* name;
  std::vector<unsigned char> bytes;
  int columns;
  int rows;
  int16_t cellTile;
  int tileCount;
  int8_t collisionType;
};

void PrintTo(const StaleHeaderCase& c, std::ostream* os) {
  *os << c.name;
}

class StaleHeaderTest : public LevelMapTest,
                        public ::testing::WithParamInterface<StaleHeaderCase> {};

TEST_P(StaleHeaderTest, ReadsTheEndOnceAndKeepsTheStaleValues) {
  const StaleHeaderCase& c = GetParam();
  MapBytes map;
  map.bytes = c.bytes;
  ASSERT_TRUE(Read(map));
  EXPECT_EQ(level_.grid.columns, c.columns);
  EXPECT_EQ(level_.grid.rows, c.rows);
  EXPECT_EQ(CellAt(level_.grid, c.columns - 1, c.rows - 1)->tile, c.cellTile);
  EXPECT_EQ(level_.tiles.Count(), c.tileCount);
  EXPECT_EQ(TileDefAt(level_, c.tileCount - 1)->collisionType, c.collisionType);
  // One read for the bytes, one that meets the end; millions of values cost nothing more.
  EXPECT_LE(files_.SystemReads(), 2);
  // Nor are they held: the one column the file reaches.
  EXPECT_LE(level_.grid.cells.Size(), static_cast<size_t>(c.rows) + 1);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, StaleHeaderTest,
    ::testing::Values(
        // The height and everything after repeat 0x0704: 1796 x 1796 cells.
        StaleHeaderCase{"TwoBytes", {0x04, 0x07}, 0x0704, 0x0704, 0x0704, 0x0704, 0x04},
        // 32767 x 127 from the header alone, then the reserved byte 0x7F over and over.
        StaleHeaderCase{"FourBytes", {0xFF, 0x7F, 0x7F, 0x00}, 32767, 127, 0x007F, 0x007F, 0x7F}),
    [](const auto& info) { return std::string(info.param.name); });

struct HugeCase {
  int width;
  int height;
};

class HugeHeaderTest : public LevelMapTest, public ::testing::WithParamInterface<HugeCase> {};

TEST_P(HugeHeaderTest, IsRefusedNamingTheFile) {
  MapBytes map;
  map.Int16(GetParam().width).Int16(GetParam().height).Int8(0).Int8(0).Int16(1).Int16(0);
  level_.grid.columns = 77;  // left alone
  EXPECT_FALSE(Read(map));
  EXPECT_NE(error_.find("level.map"), std::string::npos) << error_;
  EXPECT_EQ(level_.grid.columns, 77);
  EXPECT_EQ(ops_.log.back(), "DataFileClose 1");
}

// 2049 x 2049 stored cells is the first square above 4,194,304.
INSTANTIATE_TEST_SUITE_P(Sizes, HugeHeaderTest,
                         ::testing::Values(HugeCase{32767, 32767}, HugeCase{2048, 2048},
                                           HugeCase{32767, 200}));

TEST_F(LevelMapTest, WideGridWithinTheLimitIsRead) {
  MapBytes map;
  map.Int16(2047).Int16(1).Int8(0).Int8(0);  // 2048 x 2 stored cells, all past the end
  ASSERT_TRUE(Read(map));
  EXPECT_EQ(level_.grid.storedColumns, 2048);
}

TEST(TilesCutTest, PictureOf175By110GivesSixTiles) {
  RecordingOperations ops;
  ops.sprites[0] = {175, 110};
  LevelData level;
  level.tiles = DimArray<TileDef>::Create1D(9);
  int32_t next = 100;
  TilesCut(ops, level, next);
  EXPECT_EQ(next, 106);
  const std::vector<std::string> grabs = {
      "SpriteGrab 100 0 0 50 50",  "SpriteGrab 101 50 0 50 50",  "SpriteGrab 102 100 0 50 50",
      "SpriteGrab 103 0 50 50 50", "SpriteGrab 104 50 50 50 50", "SpriteGrab 105 100 50 50 50"};
  std::vector<std::string> seen;
  for (const std::string& e : ops.log) {
    if (e.rfind("SpriteGrab", 0) == 0) seen.push_back(e);
  }
  EXPECT_EQ(seen, grabs);
  EXPECT_EQ(ops.CountPrefix("SpriteSetKeyColour"), 6u);
  EXPECT_EQ(ops.CountPrefix("SpriteSetKeyColour 105 0 255 0"), 1u);
  for (int t = 0; t <= 5; ++t) EXPECT_EQ(level.tiles.At(t)->spriteNumber, 100 + t);
  for (int t = 6; t <= 9; ++t) EXPECT_EQ(level.tiles.At(t)->spriteNumber, 0);
  // The back buffer's handle is learnt first, then the picture is selected for the grabs.
  const std::vector<std::string> head(ops.log.begin(), ops.log.begin() + 2);
  EXPECT_EQ(head, (std::vector<std::string>{"ScreenSelectTarget -1", "ScreenSelectTarget 0"}));
  const std::vector<std::string> tail(ops.log.end() - 2, ops.log.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"ScreenSelectTarget -1", "SpriteFree 0"}));
  EXPECT_EQ(ops.sprites.count(0), 0u);
}

TEST(TilesCutTest, TilesBeyondTheTableAreNotCut) {
  RecordingOperations ops;
  ops.sprites[0] = {200, 100};  // eight tiles
  LevelData level;
  level.tiles = DimArray<TileDef>::Create1D(2);  // records 0..2
  int32_t next = 100;
  TilesCut(ops, level, next);
  EXPECT_EQ(next, 103);
  EXPECT_EQ(ops.CountPrefix("SpriteGrab"), 3u);
  for (int t = 0; t <= 2; ++t) EXPECT_EQ(level.tiles.At(t)->spriteNumber, 100 + t);
  EXPECT_EQ(level.tiles.At(3)->spriteNumber, 0);  // the array's spare element stays untouched
  LevelData empty;
  empty.tiles = DimArray<TileDef>::Create1D(-1);  // no records at all
  next = 100;
  ops.sprites[0] = {200, 100};
  TilesCut(ops, empty, next);
  EXPECT_EQ(next, 100);
}

TEST(TilesCutTest, NoPictureCutsNothing) {
  RecordingOperations ops;
  LevelData level;
  level.tiles = DimArray<TileDef>::Create1D(3);
  int32_t next = 100;
  TilesCut(ops, level, next);
  EXPECT_EQ(next, 100);
  EXPECT_EQ(ops.CountPrefix("SpriteGrab"), 0u);
  EXPECT_EQ(ops.CountPrefix("SpriteFree 0"), 1u);
}

// A picture too large to make leaves a record with the size asked for but no pixels: over
// the real services, nothing is cut from the back buffer in its place.
TEST(TilesCutTest, APictureThatCouldNotBeMadeCutsNothing) {
  TempDir dir;
  platform::HeadlessOptions options;
  options.executablePath = dir.ExecutablePath();
  options.echoMessages = false;
  platform::HeadlessPlatform platform(options);
  Services services(platform);
  services.StartUp();
  ASSERT_NE(services.ScreenStart(), 0);
  ASSERT_NE(services.ScreenOpen(800, 600, 32, "t"), 0);
  ASSERT_EQ(services.SpriteCreate(0, 32767, 32767, 0), 0u);
  ASSERT_EQ(services.SpriteGetWidth(0), 32767);
  LevelData level;
  level.tiles = DimArray<TileDef>::Create1D(30000);
  int32_t next = 100;
  TilesCut(services, level, next);
  EXPECT_EQ(next, 100);
  EXPECT_EQ(services.SpriteGetWidth(100), 0);
}

}  // namespace
}  // namespace velko
