#include "game/screenshot.h"

#include <gtest/gtest.h>

#include "support/recording_operations.h"

namespace velko {
namespace {

using testing::RecordingOperations;

TEST(ScreenshotTest, NamesHaveThreeDigits) {
  EXPECT_EQ(ShotFileName(0), "screenshots\\screen000.bmp");
  EXPECT_EQ(ShotFileName(7), "screenshots\\screen007.bmp");
  EXPECT_EQ(ShotFileName(999), "screenshots\\screen999.bmp");
}

TEST(ScreenshotTest, FillsTheFirstGap) {
  RecordingOperations ops;
  ops.existingFiles = {ShotFileName(0), ShotFileName(2)};
  std::string shotName;
  SaveScreenshot(ops, shotName);
  EXPECT_EQ(shotName, ShotFileName(1));
  SaveScreenshot(ops, shotName);
  EXPECT_EQ(shotName, ShotFileName(3));
  const std::vector<std::string> expected = {ShotFileName(1), ShotFileName(3)};
  EXPECT_EQ(ops.savedShots, expected);
  EXPECT_EQ(ops.CountPrefix("SpriteGrab 2000 0 0 800 600"), 2u);
}

TEST(ScreenshotTest, AFolderOfThatNameCountsAsTaken) {
  RecordingOperations ops;
  ops.folders = {ShotFileName(0)};
  std::string shotName;
  SaveScreenshot(ops, shotName);
  EXPECT_EQ(shotName, ShotFileName(1));
}

TEST(ScreenshotTest, AllNamesTakenWritesNothing) {
  RecordingOperations ops;
  for (int32_t n = 0; n < 1000; ++n) ops.existingFiles.insert(ShotFileName(n));
  std::string shotName = ShotFileName(41);  // from an earlier shot of this run
  SaveScreenshot(ops, shotName);
  EXPECT_TRUE(ops.savedShots.empty());
  EXPECT_EQ(shotName, ShotFileName(41));
  EXPECT_FALSE(FirstFreeShotName(ops).has_value());
}

}  // namespace
}  // namespace velko
