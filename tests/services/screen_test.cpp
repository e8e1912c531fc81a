#include <gtest/gtest.h>

#include <algorithm>

#include <deque>

#include "services/picture_fixture.h"
#include "services/screen/frame_pacer.h"
#include "services/screen/pixel_ops.h"
#include "services/screen/screen_service.h"

namespace velko::testing {
namespace {

class ScreenTest : public PictureTest {};

TEST_F(ScreenTest, FillPacksTheColourForTheDepth) {
  struct Case {
    int depth;
    int red, green, blue;
    std::uint32_t expected;
  };
  const Case cases[] = {
      {16, 255, 255, 255, 0xFFFF},   {16, 0, 255, 0, 0x07E0}, {16, 255, 0, 0, 0xF800},
      {16, 0, 0, 255, 0x001F},       {16, 7, 3, 7, 0x0000},   {32, 0, 255, 0, 0xFF00},
      {32, 255, 255, 255, 0xFFFFFF}, {32, 1, 2, 3, 0x010203},
  };
  for (const Case& c : cases) {
    ASSERT_EQ(services_->ScreenOpen(800, 600, c.depth, "t"), 1);
    services_->ScreenFill(c.red, c.green, c.blue);
    const Surface back = Back();
    for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 599}, {799, 599}, {400, 300}})
      EXPECT_EQ(back.Get(x, y), c.expected) << c.depth << " bits " << x << "," << y;
  }
}

TEST_F(ScreenTest, OpensBlackAtTheAskedSizeAndRefusesOtherDepths) {
  const Surface back = Back();
  EXPECT_EQ(back.width, 800);
  EXPECT_EQ(back.height, 600);
  EXPECT_EQ(back.depth, 16);
  EXPECT_EQ(back.Get(123, 456), 0u);
  EXPECT_EQ(services_->ScreenOpen(800, 600, 24, "t"), 0);
  EXPECT_FALSE(services_->Screen().IsOpen());
  EXPECT_EQ(services_->ScreenOpen(800, 600, 8, "t"), 0);
  EXPECT_EQ(services_->ScreenOpen(0x10000 + 640, 480, 32, "t"), 1) << "sizes cut to 16 bits";
  EXPECT_EQ(services_->Screen().ScreenWidth(), 640);
}

TEST_F(ScreenTest, PresentShowsTheBackBufferAndResetsTheTarget) {
  services_->ScreenFill(0, 255, 0);
  ASSERT_NE(services_->SpriteCreate(5, 4, 4, 0), 0u);
  services_->ScreenSelectTarget(5);
  const SurfaceHandle result = services_->ScreenPresent();
  EXPECT_EQ(result, reinterpret_cast<SurfaceHandle>(services_->Screen().BackBuffer().get()));
  EXPECT_EQ(services_->Screen().TargetWidth(), 800);
  EXPECT_EQ(platform_->FramesPresented(), 1);
  const platform::RecordedFrame& frame = platform_->LastFrame();
  ASSERT_EQ(frame.width, 800);
  ASSERT_EQ(frame.depth, 16);
  EXPECT_EQ(frame.pixels[0] | frame.pixels[1] << 8, 0x07E0);
}

TEST_F(ScreenTest, WindowedScreenSetsTheCapAndShowsInTheClientArea) {
  platform::WindowRequest request;
  request.clientWidth = 800;
  request.clientHeight = 600;
  auto window = platform_->CreateWindow(request);
  ASSERT_EQ(services_->Screen().OpenInNativeWindow(window.get(), 0, 0, 800, 600, 0, 0, 0), 1);
  EXPECT_TRUE(services_->Screen().Windowed());
  EXPECT_TRUE(services_->Screen().Active());
  EXPECT_EQ(services_->Screen().Depth(), 32) << "the desktop's depth";
  services_->ScreenFill(1, 2, 3);
  services_->ScreenPresent();
  const platform::RecordedFrame& frame = platform_->LastFrame();
  EXPECT_EQ(frame.windowId, window->Id());
  EXPECT_EQ(frame.width, 800);
  EXPECT_EQ(frame.pixels[0], 3);
  EXPECT_EQ(frame.pixels[2], 1);
}

TEST_F(ScreenTest, WindowedOffsetAndStretchPlaceTheFrame) {
  platform::WindowRequest request;
  request.clientWidth = 100;
  request.clientHeight = 80;
  auto window = platform_->CreateWindow(request);  // headless frame: 3 around, 23 on top
  ASSERT_EQ(services_->Screen().OpenInNativeWindow(window.get(), 10, 5, 20, 10, 0, 0, 0), 1);
  services_->ScreenFill(255, 255, 255);
  services_->ScreenPresent();
  auto pixelAt = [&](int x, int y) {
    const platform::RecordedFrame& f = platform_->LastFrame();
    const size_t at = static_cast<size_t>(y * f.pitch + x * 4);
    return f.pixels[at] | f.pixels[at + 1] << 8 | f.pixels[at + 2] << 16;
  };
  EXPECT_EQ(platform_->LastFrame().width, 100);
  EXPECT_EQ(pixelAt(10, 5), 0xFFFFFF);
  EXPECT_EQ(pixelAt(29, 14), 0xFFFFFF);
  EXPECT_EQ(pixelAt(30, 14), 0);
  EXPECT_EQ(pixelAt(9, 5), 0);
  // Stretched to the window's outer edges less the margins: right edge at 100 + 3 - 3 = 100.
  ASSERT_EQ(services_->Screen().OpenInNativeWindow(window.get(), 0, 0, 20, 10, 1, 3, 3), 1);
  services_->ScreenFill(255, 255, 255);
  services_->ScreenPresent();
  EXPECT_EQ(pixelAt(0, 0), 0xFFFFFF);
  EXPECT_EQ(pixelAt(99, 79), 0xFFFFFF);
}

TEST_F(ScreenTest, OpenInANullWindowFailsAndLeavesTheScreenClosed) {
  EXPECT_EQ(services_->ScreenOpenInWindow(0, 0, 0, 800, 600, 0, 0, 0), 0);
  EXPECT_EQ(services_->ScreenOpenInWindow(12345, 0, 0, 800, 600, 0, 0, 0), 0);
  EXPECT_FALSE(services_->Screen().Windowed());
  EXPECT_FALSE(services_->Screen().IsOpen());
  services_->ScreenFill(1, 1, 1);  // no target: nothing happens
  services_->ScreenPresent();
  EXPECT_EQ(platform_->FramesPresented(), 0);
}

TEST_F(ScreenTest, HeadlessHasNoCounterSoNoCap) {
  EXPECT_EQ(services_->Screen().ScreenFrameCap(60), 0);
  EXPECT_EQ(services_->Screen().Pacer().FrameCap(), 0);
}

// A counter that moves by a fixed step at each reading and by the slept time.
class CountingPlatform final : public platform::Platform {
 public:
  std::int64_t frequency = 3579545;
  std::int64_t counter = 1000;
  std::int64_t stepPerRead = 100;
  std::int64_t readings = 0;
  std::int64_t sleeps = 0;
  std::int64_t lateBy = 0;  // how far past its deadline each sleep wakes

  std::uint32_t TickCount() override { return 0; }
  std::int64_t PerformanceCounter() override {
    ++readings;
    counter += stepPerRead;
    return counter;
  }
  std::int64_t PerformanceFrequency() override { return frequency; }
  void SleepMilliseconds(std::uint32_t ms) override { counter += frequency * ms / 1000; }
  void SleepUntilCounter(std::int64_t deadline) override {
    ++sleeps;
    counter = std::max(counter, deadline + lateBy);
  }
  std::string ExecutablePath() override { return {}; }
  int MessageBox(std::string_view, std::string_view) override { return 1; }
  platform::DesktopInfo Desktop() override { return {}; }
  platform::FrameInsets InsetsFor(const platform::WindowRequest&) override { return {}; }
  std::unique_ptr<platform::NativeWindow> CreateWindow(const platform::WindowRequest&) override {
    return nullptr;
  }
  std::unique_ptr<platform::NativeWindow> CreateFullScreen(const platform::DisplayMode&,
                                                           std::string_view) override {
    return nullptr;
  }
  bool PollEvent(platform::InputEvent&) override { return false; }
  bool WaitEvent(platform::InputEvent&) override { return false; }
  bool ReadKeys(std::array<std::uint8_t, 256>&) override { return false; }
  std::unique_ptr<platform::AudioDevice> OpenAudio() override { return nullptr; }
  platform::TextRaster RasterizeText(std::string_view) override { return {}; }
};

TEST(FramePacerTest, TicksPerFrameUseTheRatePlusOne) {
  CountingPlatform clock;
  FramePacer pacer(clock);
  ASSERT_EQ(pacer.SetCap(60), 1);
  EXPECT_EQ(pacer.TicksPerFrame(), 58681);
  EXPECT_EQ(pacer.LastPresentStamp(), 0);
  clock.frequency = 0;
  EXPECT_EQ(pacer.SetCap(30), 0);
  EXPECT_EQ(pacer.FrameCap(), 60) << "nothing changes without a counter";
}

TEST(FramePacerTest, SpacesPresentationsByMoreThanAFrameAsleep) {
  for (const std::int64_t lateBy : {0, 50, 3000}) {
    CountingPlatform clock;
    clock.lateBy = lateBy;
    FramePacer pacer(clock);
    ASSERT_EQ(pacer.SetCap(60), 1);
    pacer.Wait();  // the first wait starts the interval
    for (int frame = 0; frame < 5; ++frame) {
      const std::int32_t before = pacer.LastPresentStamp();
      clock.readings = 0;
      clock.sleeps = 0;
      pacer.Wait();
      const std::int64_t interval = pacer.LastPresentStamp() - before;
      EXPECT_GT(interval, 58681) << lateBy;
      // One sleep to just past the deadline, then the reading that ends the wait.
      EXPECT_LE(interval, 58681 + 1 + 2 * clock.stepPerRead + lateBy) << lateBy;
      EXPECT_EQ(clock.sleeps, 1) << lateBy;
      EXPECT_EQ(clock.readings, 2) << lateBy;
    }
  }
}

TEST(FramePacerTest, RestartsWhenTheLowBitsChangeSign) {
  CountingPlatform clock;
  FramePacer pacer(clock);
  ASSERT_EQ(pacer.SetCap(60), 1);
  clock.counter = 0x7FFFFF00;  // just below the sign change of the low 32 bits
  pacer.Wait();
  const std::int32_t stamp = pacer.LastPresentStamp();
  EXPECT_LT(stamp, 0) << "the interval restarted after the wrap and then ran out";
  EXPECT_LT(static_cast<std::int64_t>(stamp) - static_cast<std::int32_t>(0x80000000u),
            58681 + 60000);
}

TEST(PixelOpsTest, CopyRectNeverLeavesEitherBuffer) {
  PixelBuffer from(10, 10, 16);
  PixelBuffer to(8, 8, 16);
  FillSurface(from.View(), 0x1234);
  struct Case {
    int x, y;
    PixelRect source;
    int expectedCount;
  };
  const Case cases[] = {
      {0, 0, {0, 0, 10, 10}, 64},  {-3, -3, {0, 0, 10, 10}, 49}, {6, 6, {0, 0, 10, 10}, 4},
      {0, 0, {-5, -5, 10, 10}, 9}, {0, 0, {8, 8, 10, 10}, 4},    {100, 0, {0, 0, 5, 5}, 0},
      {0, 0, {0, 0, -5, 5}, 0},
  };
  for (const Case& c : cases) {
    FillSurface(to.View(), 0);
    CopyRect(to.View(), c.x, c.y, from.View(), c.source);
    int count = 0;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) count += to.View().Get(x, y) == 0x1234 ? 1 : 0;
    EXPECT_EQ(count, c.expectedCount) << c.x << "," << c.y;
  }
}

}  // namespace
}  // namespace velko::testing
