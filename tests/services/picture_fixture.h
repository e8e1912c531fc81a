// A started screen over the headless platform, with its program directory in a fresh
// temporary folder.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "services/services.h"
#include "support/bmp_builder.h"
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

}  // namespace velko::testing
