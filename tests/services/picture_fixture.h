// A started screen over the headless platform, with its program directory in a fresh
// temporary folder, and BMP fixtures built byte by byte.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "services/services.h"
#include "support/temp_dir.h"

namespace velko::testing {

class PictureTest : public ::testing::Test {
 protected:
  explicit PictureTest(int depth = 16) : depth_(depth) {}

  void SetUp() override {
    platform::HeadlessOptions options;
    options.executablePath = dir_.ExecutablePath();
    options.echoMessages = false;
    platform_ = std::make_unique<platform::HeadlessPlatform>(options);
    services_ = std::make_unique<Services>(*platform_);
    services_->StartUp();
    ASSERT_NE(services_->ScreenStart(), 0);
    ASSERT_EQ(services_->ScreenOpen(800, 600, depth_, "test"), 1);
  }

  Surface Back() { return services_->Screen().BackBuffer()->View(); }
  Surface SpriteView(int32_t number) {
    const SpriteRecord* record = services_->Sprites().Find(number);
    if (record == nullptr || record->surface == nullptr) return {};
    return record->surface->View();
  }

  int depth_;
  TempDir dir_;
  std::unique_ptr<platform::HeadlessPlatform> platform_;
  std::unique_ptr<Services> services_;
};

// A bottom-up, uncompressed BMP: `pixel(x, y)` gives the stored bytes of one pixel (y counted
// from the top), rows padded to 4 bytes.
template <typename PixelBytes>
std::vector<std::uint8_t> MakeBmp(int width, int height, int bitCount, PixelBytes pixel) {
  const int rowBytes = (width * bitCount + 31) / 32 * 4;
  std::vector<std::uint8_t> file(54, 0);
  auto put32 = [&](size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
      file[at + static_cast<size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(2, static_cast<std::uint32_t>(54 + rowBytes * height));
  put32(10, 54);
  put32(14, 40);
  put32(18, static_cast<std::uint32_t>(width));
  put32(22, static_cast<std::uint32_t>(height));
  file[26] = 1;
  file[28] = static_cast<std::uint8_t>(bitCount);
  for (int r = 0; r < height; ++r) {
    std::vector<std::uint8_t> row;
    for (int x = 0; x < width; ++x) {
      const std::vector<std::uint8_t> bytes = pixel(x, height - 1 - r);
      row.insert(row.end(), bytes.begin(), bytes.end());
    }
    row.resize(static_cast<size_t>(rowBytes), 0);
    file.insert(file.end(), row.begin(), row.end());
  }
  return file;
}

inline std::vector<std::uint8_t> UniformBmp(int width, int height, int bitCount,
                                            std::vector<std::uint8_t> bytes) {
  return MakeBmp(width, height, bitCount, [&](int, int) { return bytes; });
}

}  // namespace velko::testing
