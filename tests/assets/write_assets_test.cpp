// The generator's output files are exactly the assets it makes, under the game's names.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

#include "assetgen/game_assets.h"
#include "support/temp_dir.h"

namespace velko::assetgen {
namespace {

std::string AsString(const Bytes& b) {
  return std::string(b.begin(), b.end());
}

TEST(WriteGameAssets, WritesTheFiveFilesBesideTheGame) {
  velko::testing::TempDir dir;
  std::string failed;
  ASSERT_TRUE(WriteGameAssets(dir.Path(), failed));
  const GameAssets made = MakeGameAssets();
  EXPECT_EQ(dir.Read("level.map"), AsString(made.levelMap));
  EXPECT_EQ(dir.Read("level.bpb"), AsString(made.levelPackage));
  EXPECT_EQ(dir.Read("car.bmp"), AsString(made.carBmp));
  EXPECT_EQ(dir.Read("car.bpb"), AsString(made.carPackage));
  EXPECT_EQ(dir.Read("choc.wav"), AsString(made.crashWave));
  // The names the build installs, packs and copies are the names written.
  std::string names;
  for (const std::string& name : GameAssetNames()) names += (names.empty() ? "" : " ") + name;
  EXPECT_EQ(names, VELKO_DATA_FILES);
}

TEST(WriteGameAssets, RepairsMissingAndChangedFilesAndLeavesIntactOnesAlone) {
  velko::testing::TempDir dir;
  std::string failed;
  ASSERT_TRUE(WriteGameAssets(dir.Path(), failed));
  // Whole seconds: every file system keeps them exactly.
  const auto old = std::chrono::floor<std::chrono::seconds>(
      std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
  for (const char* name : {"level.map", "level.bpb", "car.bmp", "car.bpb", "choc.wav"}) {
    std::filesystem::last_write_time(dir.File(name), old);
  }
  std::filesystem::remove(dir.File("level.map"));
  dir.Write("level.bpb", "");  // as an old open-for-reading left it
  dir.Write("choc.wav", "RIFF");
  ASSERT_TRUE(WriteGameAssets(dir.Path(), failed));
  const GameAssets made = MakeGameAssets();
  EXPECT_EQ(dir.Read("level.map"), AsString(made.levelMap));
  EXPECT_EQ(dir.Read("level.bpb"), AsString(made.levelPackage));
  EXPECT_EQ(dir.Read("choc.wav"), AsString(made.crashWave));
  EXPECT_EQ(std::filesystem::last_write_time(dir.File("car.bmp")), old);
  EXPECT_EQ(std::filesystem::last_write_time(dir.File("car.bpb")), old);
}

TEST(WriteGameAssets, NamesTheFileItCouldNotWrite) {
  velko::testing::TempDir dir;
  std::string failed;
  EXPECT_FALSE(WriteGameAssets(dir.File("no-such-folder"), failed));
  EXPECT_EQ(failed, "level.map");
}

}  // namespace
}  // namespace velko::assetgen
