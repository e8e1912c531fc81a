// The generator's output files are exactly the assets it makes, under the game's names.
#include <gtest/gtest.h>

#include "assetgen/game_assets.h"
#include "temp_dir.h"

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
}

TEST(WriteGameAssets, NamesTheFileItCouldNotWrite) {
  velko::testing::TempDir dir;
  std::string failed;
  EXPECT_FALSE(WriteGameAssets(dir.File("no-such-folder"), failed));
  EXPECT_EQ(failed, "level.map");
}

}  // namespace
}  // namespace velko::assetgen
