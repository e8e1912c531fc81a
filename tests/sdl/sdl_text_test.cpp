// The font the game writes its texts with: the usual file, a sans font from fontconfig where
// that file is missing, and a single word on stderr when there is no font at all.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>

#include "platform/sdl/sdl_platform.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"

namespace velko::platform {
namespace {

using testing::ScopedEnv;

int InkOf(const TextRaster& raster) {
  int ink = 0;
  for (std::uint8_t c : raster.coverage) ink += c == 255 ? 1 : 0;
  return ink;
}

TEST(SdlTextTest, FindsAFontOrSaysOnceThatThereIsNone) {
  velko::testing::TempDir dir;
  // A fontconfig that knows no font at all.
  dir.Write("empty.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
  struct Case {
    const char* what;
    const char* font;  // VELKO_FONT, or null for the usual file
    bool noFontconfigFonts;
    bool ink;
    int stderrLines;
  };
  const Case cases[] = {
      {"the usual file", nullptr, false, true, 0},
      {"file missing: fontconfig's sans", "/nonexistent/font.ttf", false, true, 0},
      {"no font anywhere", "/nonexistent/font.ttf", true, false, 1},
  };
  for (const Case& c : cases) {
    std::optional<ScopedEnv> font;
    if (c.font != nullptr) font.emplace("VELKO_FONT", c.font);
    std::optional<ScopedEnv> config;
    if (c.noFontconfigFonts) config.emplace("FONTCONFIG_FILE", dir.File("empty.conf").string());
    ::testing::internal::CaptureStderr();
    int ink = 0;
    {
      SdlPlatform platform;
      for (int i = 0; i < 3; ++i) ink += InkOf(platform.RasterizeText("Chargement... \xE9t\xE9"));
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(ink > 90, c.ink) << c.what << " ink " << ink;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), c.stderrLines) << c.what << ": " << err;
    if (c.stderrLines > 0) {
      EXPECT_NE(err.find("no font found"), std::string::npos) << err;
    }
  }
}

}  // namespace
}  // namespace velko::platform
