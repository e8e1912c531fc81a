// The Win32 platform's own pieces: text conversions, the program's path, the clock, GDI text,
// and the key state kept from key messages (these two on a display).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "platform/win32/win32_platform.h"

namespace velko::platform {
namespace {

TEST(Win32PlatformTest, TextReachesTheSystemAsUtf16AndComesBackAsUtf8) {
  EXPECT_EQ(WideFromCp1252("Mode fenestr\xE9 \x80"), L"Mode fenestr\u00E9 \u20AC");
  const std::string folder = "C:\\Jeux vid\xC3\xA9o\\\xE2\x82\xAC";
  EXPECT_EQ(WideFromUtf8(folder), L"C:\\Jeux vid\u00E9o\\\u20AC");
  EXPECT_EQ(Utf8FromWide(WideFromUtf8(folder)), folder);
}

TEST(Win32PlatformTest, KnowsItsProgramAndItsClock) {
  Win32Platform platform;
  const std::string utf8 = platform.ExecutablePath();
  const std::filesystem::path path(std::u8string(utf8.begin(), utf8.end()));
  EXPECT_TRUE(std::filesystem::is_regular_file(path)) << utf8;
  EXPECT_EQ(path.extension(), ".exe") << utf8;

  // The sleep lasts at least what was asked, on the precise counter; the millisecond counter
  // moves on too (it only ever goes forward, wrapping aside).
  ASSERT_GT(platform.PerformanceFrequency(), 0);
  const std::uint32_t tick = platform.TickCount();
  const std::int64_t count = platform.PerformanceCounter();
  platform.SleepMilliseconds(20);
  const std::int64_t slept =
      (platform.PerformanceCounter() - count) * 1000 / platform.PerformanceFrequency();
  EXPECT_GE(slept, 19);
  EXPECT_LT(platform.TickCount() - tick, 60'000u);
}

TEST(Win32PlatformTest, TextIsInkCoverageInASystemFont) {
  Win32Platform platform;
  EXPECT_TRUE(platform.RasterizeText("").coverage.empty());
  const TextRaster ok = platform.RasterizeText("OK");
  const TextRaster label = platform.RasterizeText("Mode fenestr\xE9 (800*600)");
  for (const TextRaster* raster : {&ok, &label}) {
    ASSERT_GT(raster->width, 0);
    EXPECT_GE(raster->height, 12);  // a 13-pixel em
    EXPECT_LE(raster->height, 20);
    ASSERT_EQ(raster->coverage.size(),
              static_cast<std::size_t>(raster->width) * static_cast<std::size_t>(raster->height));
    std::size_t ink = 0;
    for (std::uint8_t c : raster->coverage) ink += c >= 128 ? 1 : 0;
    // Glyphs, not a blank or a filled box.
    EXPECT_GT(ink, raster->coverage.size() / 20);
    EXPECT_LT(ink, raster->coverage.size() / 2);
    EXPECT_EQ(*std::min_element(raster->coverage.begin(), raster->coverage.end()), 0);
  }
  EXPECT_GT(label.width, ok.width * 4);
}

TEST(Win32PlatformTest, KeysAreHeldFromTheirMessagesOnlyWhileTheGameHasTheFocus) {
  Win32Platform platform;
  WindowRequest request;
  request.title = "Velko";
  request.clientWidth = 80;
  request.clientHeight = 60;
  std::unique_ptr<NativeWindow> window = platform.CreateWindow(request);
  ASSERT_NE(window, nullptr);
  window->Raise();
  HWND handle = ::FindWindowW(kWindowClassName, L"Velko");
  ASSERT_NE(handle, nullptr);

  std::array<std::uint8_t, 256> keys{};
  ::PostMessageW(handle, WM_KEYDOWN, VK_UP, (0x48 << 16) | (1 << 24) | 1);
  ASSERT_TRUE(platform.ReadKeys(keys));
  ASSERT_TRUE(window->HasFocus());
  EXPECT_EQ(keys[0xC8], 0x80);
  EXPECT_EQ(keys[0x48], 0);

  ::PostMessageW(handle, WM_KEYUP, VK_UP, (0x48 << 16) | (1 << 24) | (3u << 30) | 1);
  ASSERT_TRUE(platform.ReadKeys(keys));
  EXPECT_EQ(keys[0xC8], 0);

  // Focus goes elsewhere with the key down: it reads as released, and stays so.
  ::PostMessageW(handle, WM_KEYDOWN, VK_UP, (0x48 << 16) | (1 << 24) | 1);
  ::PostMessageW(handle, WM_KILLFOCUS, 0, 0);
  ASSERT_TRUE(platform.ReadKeys(keys));
  EXPECT_EQ(keys[0xC8], 0);

  // The close box is a close request from then on (the keyboard service reads it as Escape).
  EXPECT_FALSE(platform.CloseRequested());
  ::PostMessageW(handle, WM_CLOSE, 0, 0);
  ASSERT_TRUE(platform.ReadKeys(keys));
  EXPECT_TRUE(platform.CloseRequested());
  ASSERT_TRUE(platform.ReadKeys(keys));
  EXPECT_TRUE(platform.CloseRequested());
}

}  // namespace
}  // namespace velko::platform
