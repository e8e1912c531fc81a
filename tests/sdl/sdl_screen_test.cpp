// The screen over real SDL windows. Needs a display: run under xvfb-run by tests.cmake, once
// for each way of showing frames (VELKO_PRESENT), and skipped cleanly wherever no display
// can be had. Pixels are read back from the X server, as the player sees them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>

#include "platform/sdl/sdl_platform.h"
#include "sdl/x11_read_back.h"
#include "services/screen/screen_service.h"
#include "services/services.h"

namespace velko::platform {
namespace {

class SdlScreenTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_ = std::make_unique<SdlPlatform>();
    if (!platform_->VideoAvailable()) GTEST_SKIP() << "no display";
    services_ = std::make_unique<Services>(*platform_);
    services_->StartUp();
    ASSERT_NE(services_->ScreenStart(), 0);
  }
  void TearDown() override {
    services_.reset();
    platform_.reset();
  }

  static std::uint32_t ReadBack(std::uint32_t windowId, int x, int y) {
    return testing::ReadBackFromX(SDL_GetWindowFromID(windowId), x, y);
  }

  std::unique_ptr<SdlPlatform> platform_;
  std::unique_ptr<Services> services_;
};

TEST_F(SdlScreenTest, WindowedScreenPresentsPacedFrames) {
  WindowRequest request;
  request.title = "Project Velko Alpha 0.5";
  request.clientWidth = 800;
  request.clientHeight = 600;
  std::unique_ptr<NativeWindow> window = platform_->CreateWindow(request);
  ASSERT_NE(window, nullptr);
  ASSERT_EQ(services_->Screen().OpenInNativeWindow(window.get(), 0, 0, 800, 600, 0, 0, 0), 1);
  EXPECT_EQ(services_->Screen().Pacer().FrameCap(), 60);
  EXPECT_TRUE(services_->Screen().CapSetByWindow());
  EXPECT_EQ(window->ClientRect().width, 800);
  EXPECT_EQ(window->ClientRect().height, 600);

  services_->ScreenFill(0, 255, 0);
  ASSERT_NE(services_->DrawBegin(services_->ScreenDrawTarget()), 0u);
  services_->DrawString("Chargement...");
  services_->DrawEnd();
  const auto start = std::chrono::steady_clock::now();
  constexpr int kFrames = 13;
  for (int i = 0; i < kFrames; ++i) services_->ScreenPresent();
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_GT(seconds, (kFrames - 1) / 61.0) << "presentations spaced by more than 1/61 s";
  EXPECT_EQ(ReadBack(window->Id(), 400, 300), 0x00FF00u);
  EXPECT_EQ(ReadBack(window->Id(), 1, 1), 0xFFFFFFu) << "the text's white band";
}

TEST_F(SdlScreenTest, FullScreenOpensAndPresents) {
  for (int depth : {16, 32}) {
    ASSERT_EQ(services_->ScreenOpen(800, 600, depth, "Project Velko Alpha 0.5"), 1) << depth;
    EXPECT_EQ(services_->Screen().Depth(), depth);
    services_->ScreenFill(255, 0, 0);
    ASSERT_NE(services_->DrawBegin(services_->ScreenDrawTarget()), 0u);
    services_->DrawString("FPS: 60");
    services_->DrawEnd();
    for (int i = 0; i < 3; ++i) services_->ScreenPresent();
    EXPECT_EQ(services_->Screen().ScreenWidth(), 800);
    EXPECT_TRUE(services_->Screen().Active()) << "the full screen window has the focus";
    // The frame is scaled to fit the display: its centre lands on the display's centre.
    const DesktopInfo desktop = platform_->Desktop();
    SDL_Window* shown =
        SDL_GetGrabbedWindow() != nullptr ? SDL_GetGrabbedWindow() : SDL_GetKeyboardFocus();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(ReadBack(SDL_GetWindowID(shown), desktop.width / 2, desktop.height / 2), 0xFF0000u);
    // The status line's white band at the frame's top-left corner, wherever the frame lands.
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetWindowSize(shown, &outputWidth, &outputHeight);
    const double scale = std::min(outputWidth / 800.0, outputHeight / 600.0);
    const int left = (outputWidth - static_cast<int>(800 * scale)) / 2;
    const int top = (outputHeight - static_cast<int>(600 * scale)) / 2;
    EXPECT_EQ(ReadBack(SDL_GetWindowID(shown), left + 1, top + 1), 0xFFFFFFu) << depth;
  }
  services_->Screen().ScreenClose();
  EXPECT_FALSE(services_->Screen().IsOpen());
}

TEST_F(SdlScreenTest, AnXErrorIsSaidAndTheGameGoesOn) {
  WindowRequest request;
  request.clientWidth = 100;
  request.clientHeight = 100;
  std::unique_ptr<NativeWindow> window = platform_->CreateWindow(request);
  ASSERT_NE(window, nullptr);
  ::testing::internal::CaptureStderr();
  const bool provoked = testing::ProvokeXError(SDL_GetWindowFromID(window->Id()));
  const std::string err = ::testing::internal::GetCapturedStderr();
  if (!provoked) GTEST_SKIP() << "not on X";
  EXPECT_NE(err.find("velko: X error ignored: BadWindow"), std::string::npos) << err;
}

TEST_F(SdlScreenTest, TextIsRasterisedInkOnClear) {
  const TextRaster raster = platform_->RasterizeText("Chargement... \xE9t\xE9");
  ASSERT_GT(raster.width, 50);
  EXPECT_GE(raster.height, 12);
  EXPECT_LE(raster.height, 20);
  int ink = 0;
  int clear = 0;
  for (std::uint8_t c : raster.coverage) {
    ink += c == 255 ? 1 : 0;
    clear += c == 0 ? 1 : 0;
  }
  EXPECT_GT(ink, 30);
  EXPECT_GT(clear, ink);
  EXPECT_EQ(platform_->RasterizeText("").width, 0);
}

}  // namespace
}  // namespace velko::platform
