#include "velko_sim/sim_keys.h"

#include <gtest/gtest.h>

#include <array>

#include "platform/scan_codes.h"
#include "support/temp_dir.h"

namespace velko::sim {
namespace {

constexpr size_t kEscape = platform::scan::kEscape;
constexpr size_t kUp = platform::scan::kUp;

bool Held(platform::KeyScript& script, int64_t frame, size_t code) {
  std::array<std::uint8_t, 256> keys{};
  script.Snapshot(frame, keys);
  return keys[code] == 0x80;
}

TEST(SimKeysTest, EscapeIsHeldInTheCappingFrameWithoutAnyScript) {
  std::string error;
  std::optional<platform::KeyScript> script = LoadKeyScript(SimOptions{}, error);
  ASSERT_TRUE(script) << error;
  EXPECT_FALSE(Held(*script, 1, kEscape));
  EXPECT_FALSE(Held(*script, kFrameCap - 1, kEscape));
  EXPECT_TRUE(Held(*script, kFrameCap, kEscape));
}

TEST(SimKeysTest, FramesHoldsEscapeEvenWhenTheScriptLetsItGoThen) {
  testing::TempDir dir;
  dir.Write("k", "2 UP down\n0 UP down\n5 ESCAPE down\n5 ESCAPE up\n6 UP up\n");
  SimOptions options;
  options.keysFile = dir.File("k").string();
  options.frames = 5;
  std::string error;
  std::optional<platform::KeyScript> script = LoadKeyScript(options, error);
  ASSERT_TRUE(script) << error;
  EXPECT_TRUE(Held(*script, 1, kUp));  // frame 0 means frame 1
  EXPECT_FALSE(Held(*script, 4, kEscape));
  EXPECT_TRUE(Held(*script, 5, kEscape));
  EXPECT_TRUE(Held(*script, 5, kUp));
  EXPECT_FALSE(Held(*script, 6, kUp));
}

TEST(SimKeysTest, UnreadableOrBadScriptsAreRefused) {
  SimOptions options;
  options.keysFile = "/nonexistent/keys";
  std::string error;
  EXPECT_FALSE(LoadKeyScript(options, error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
  testing::TempDir dir;
  dir.Write("k", "1 UP down\nthree UP down\n");
  options.keysFile = dir.File("k").string();
  EXPECT_FALSE(LoadKeyScript(options, error));
  EXPECT_NE(error.find("line 2"), std::string::npos) << error;
}

}  // namespace
}  // namespace velko::sim
