// Every input a fuzz target ever stopped on, replayed through the target's own entry, and the
// game's generated files taken whole by the same entries (a harness that refused everything
// would fuzz nothing).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz/fuzz_entries.h"

namespace velko::fuzzing {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// tests/fuzz/regressions/<target>/<input>: each kept input of each target.
TEST(FuzzRegressionsTest, EveryKeptInputKeepsTheReadersPromises) {
  const fs::path root = fs::path(VELKO_SOURCE_DIR) / "tests" / "fuzz" / "regressions";
  int replayed = 0;
  for (const fs::directory_entry& folder : fs::directory_iterator(root)) {
    const Entry entry = EntryNamed(folder.path().filename().string());
    ASSERT_NE(entry, nullptr) << "no fuzz target named like " << folder.path();
    for (const fs::directory_entry& file : fs::directory_iterator(folder.path())) {
      const std::vector<std::uint8_t> bytes = ReadFile(file.path());
      EXPECT_EQ(entry(bytes).broken, "") << file.path();
      ++replayed;
    }
  }
  EXPECT_GE(replayed, 2);
}

TEST(FuzzRegressionsTest, ShortMapsReadThePastTheEndValues) {
  // Reads past the end repeat the transfer cell: the missing height, every cell and every
  // collision type take the last bytes read.
  struct Case {
    std::vector<std::uint8_t> bytes;
    int columns, rows, cellValue, tileCount, collisionType;
  };
  const Case cases[] = {
      {{0x04, 0x07}, 1796, 1796, 0x0704, 1796, 4},
      {{0xFF, 0x7F, 0x7F, 0x00}, 32767, 127, 127, 127, 127},
  };
  for (const Case& c : cases) {
    LevelData level;
    const Outcome outcome = ReadLevelMap(c.bytes, level);
    ASSERT_TRUE(outcome.accepted) << outcome.broken;
    EXPECT_EQ(outcome.broken, "");
    EXPECT_EQ(level.grid.columns, c.columns);
    EXPECT_EQ(level.grid.rows, c.rows);
    for (const auto& [column, row] : {std::pair{0, 0}, std::pair{c.columns - 1, c.rows - 1}}) {
      const TileCell* cell = CellAt(level.grid, column, row);
      ASSERT_NE(cell, nullptr);
      EXPECT_EQ(cell->tile, c.cellValue);
      EXPECT_EQ(cell->extra, c.cellValue);
    }
    EXPECT_EQ(level.tiles.Count(), c.tileCount);
    // Records 0 to count - 1 are read; the last record, count, stays free ground.
    for (const int tile : {0, c.tileCount - 1}) {
      ASSERT_NE(TileDefAt(level, tile), nullptr);
      EXPECT_EQ(TileDefAt(level, tile)->collisionType, c.collisionType);
    }
  }
}

TEST(FuzzRegressionsTest, ShortPackagesArePaintedWithinABudget) {
  // Header, then `held` triples: a short package is painted unless it announces more than
  // 1024 x 1024 pixels; one that holds its whole picture loads at any size.
  struct Case {
    int width, height, held;
    bool accepted;
  };
  const Case cases[] = {
      {600, 300, 600 * 300 - 1, true}, {1024, 1024, 0, true}, {1024, 1025, 0, false},
      {2048, 2048, 1, false},          {1, 4096, 4096, true}, {1500, 1500, 1500 * 1500, true},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> bytes = {
        static_cast<std::uint8_t>(c.width), static_cast<std::uint8_t>(c.width >> 8),
        static_cast<std::uint8_t>(c.height), static_cast<std::uint8_t>(c.height >> 8)};
    bytes.resize(bytes.size() + 3 * static_cast<size_t>(c.held), 0x80);
    const Outcome outcome = FuzzPackage(bytes);
    EXPECT_EQ(outcome.accepted, c.accepted) << c.width << " x " << c.height << ", " << c.held;
    EXPECT_EQ(outcome.broken, "") << c.width << " x " << c.height << ", " << c.held;
  }
}

TEST(FuzzRegressionsTest, TheGamesOwnFilesAreTakenWhole) {
  struct Case {
    const char* target;
    const char* file;
  };
  const Case cases[] = {{"bmp", "car.bmp"},
                        {"wav", "choc.wav"},
                        {"levelmap", "level.map"},
                        {"package", "level.bpb"},
                        {"package", "car.bpb"}};
  for (const Case& c : cases) {
    const std::vector<std::uint8_t> bytes = ReadFile(fs::path(VELKO_BINARY_DIR) / c.file);
    ASSERT_FALSE(bytes.empty()) << "the build has no " << c.file;
    const Outcome outcome = EntryNamed(c.target)(bytes);
    EXPECT_TRUE(outcome.accepted) << c.file;
    EXPECT_EQ(outcome.broken, "") << c.file;
  }
  const std::string settings =
      "[ScreenMode]\r\nFullScreen = FALSE\r\nMode = 32\r\nAlternatives Colors = TRUE\r\n"
      "75hz = FALSE\r\n";
  const Outcome outcome =
      FuzzSettings({reinterpret_cast<const std::uint8_t*>(settings.data()), settings.size()});
  EXPECT_TRUE(outcome.accepted);
  EXPECT_EQ(outcome.broken, "");
}

}  // namespace
}  // namespace velko::fuzzing
