#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <array>
#include <map>
#include <optional>
#include <string>

#include "platform/sdl/sdl_platform.h"
#include "support/scoped_env.h"

namespace velko::platform {
namespace {

using testing::ScopedEnv;

TEST(SdlReadKeysTest, WithoutAnyWindowNothingIsHeld) {
  SdlPlatform platform;
  std::array<std::uint8_t, 256> keys;
  keys.fill(0x80);
  EXPECT_TRUE(platform.ReadKeys(keys));
  for (int code = 0; code < 256; ++code) EXPECT_EQ(keys[static_cast<size_t>(code)], 0) << code;
}

// A quit request (here SDL's own, from a termination signal) is a close request, in force on
// every later read; the keys themselves stay as they are (the keyboard service makes it Escape).
TEST(SdlReadKeysTest, QuitSignalIsACloseRequest) {
  ScopedEnv driver("SDL_VIDEODRIVER", "dummy");
  SdlPlatform platform;
  if (!platform.EnsureVideo()) GTEST_SKIP() << "no dummy video driver";
  struct sigaction current {};
  ::sigaction(SIGTERM, nullptr, &current);
  if (current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN) {
    GTEST_SKIP() << "SDL did not take the termination signal";
  }
  std::array<std::uint8_t, 256> keys{};
  ASSERT_TRUE(platform.ReadKeys(keys));
  EXPECT_FALSE(platform.CloseRequested());
  ::raise(SIGTERM);
  for (int read = 0; read < 3; ++read) {
    ASSERT_TRUE(platform.ReadKeys(keys));
    EXPECT_TRUE(platform.CloseRequested()) << read;
    for (int code = 0; code < 256; ++code) EXPECT_EQ(keys[static_cast<size_t>(code)], 0) << code;
  }
}

}  // namespace
}  // namespace velko::platform
