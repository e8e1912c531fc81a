#include "platform/frame_fitting.h"

#include <gtest/gtest.h>

namespace velko::platform {
namespace {

TEST(FrameFittingTest, AScaledFrameKeepsItsAspectCentred) {
  struct Case {
    int outputWidth, outputHeight;
    Rect expected;
  };
  const Case cases[] = {
      {800, 600, {0, 0, 800, 600}},        // the mode granted: 1:1
      {1280, 1024, {0, 32, 1280, 960}},    // bands above and below
      {1920, 1080, {240, 0, 1440, 1080}},  // bands left and right
      {1366, 768, {171, 0, 1024, 768}},    // odd margins round down
      {400, 300, {0, 0, 400, 300}},        // smaller than the frame
      {0, 600, {0, 0, 800, 600}},          // no output: the frame as it is
  };
  for (const Case& c : cases) {
    const Rect fit = FitWithAspect(800, 600, c.outputWidth, c.outputHeight);
    EXPECT_EQ(fit.x, c.expected.x) << c.outputWidth << "x" << c.outputHeight;
    EXPECT_EQ(fit.y, c.expected.y) << c.outputWidth << "x" << c.outputHeight;
    EXPECT_EQ(fit.width, c.expected.width) << c.outputWidth << "x" << c.outputHeight;
    EXPECT_EQ(fit.height, c.expected.height) << c.outputWidth << "x" << c.outputHeight;
  }
}

TEST(FrameFittingTest, Rgb565WidensWithFullIntensityKept) {
  const std::pair<std::uint16_t, std::uint32_t> cases[] = {
      {0x0000, 0x000000}, {0xFFFF, 0xFFFFFF}, {0xF800, 0xFF0000}, {0x07E0, 0x00FF00},
      {0x001F, 0x0000FF}, {0x8410, 0x848284}, {0x0821, 0x080408},
  };
  for (const auto& [pixel, rgb] : cases) EXPECT_EQ(RgbFrom565(pixel), rgb) << std::hex << pixel;
}

}  // namespace
}  // namespace velko::platform
