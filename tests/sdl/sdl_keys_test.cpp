#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <array>
#include <map>
#include <optional>
#include <string>

#include "platform/sdl/sdl_platform.h"
#include "sdl/scoped_env.h"

namespace velko::platform {
namespace {

// SDL scancodes are the USB keyboard usage numbers; written out here so the test needs no SDL.
TEST(DikFromSdlScancodeTest, KeysOfThePcKeyboard) {
  struct Case {
    const char* key;
    int sdl;
    int dik;
  };
  const Case cases[] = {
      // The game's own keys.
      {"Escape", 41, 1},
      {"F12", 69, 88},
      {"Up", 82, 200},
      {"Left", 80, 203},
      {"Right", 79, 205},
      {"Down", 81, 208},
      // A sample of the others.
      {"A", 4, 30},
      {"Q", 20, 16},
      {"Z", 29, 44},
      {"M", 16, 50},
      {"1", 30, 2},
      {"0", 39, 11},
      {"Enter", 40, 28},
      {"Backspace", 42, 14},
      {"Tab", 43, 15},
      {"Space", 44, 57},
      {"F1", 58, 59},
      {"F10", 67, 68},
      {"F11", 68, 87},
      {"Insert", 73, 210},
      {"Home", 74, 199},
      {"Page Up", 75, 201},
      {"Delete", 76, 211},
      {"End", 77, 207},
      {"Page Down", 78, 209},
      {"Num Lock", 83, 69},
      {"Keypad /", 84, 181},
      {"Keypad *", 85, 55},
      {"Keypad -", 86, 74},
      {"Keypad +", 87, 78},
      {"Keypad Enter", 88, 156},
      {"Keypad 1", 89, 79},
      {"Keypad 5", 93, 76},
      {"Keypad 9", 97, 73},
      {"Keypad 0", 98, 82},
      {"Keypad .", 99, 83},
      {"Caps Lock", 57, 58},
      {"Left Ctrl", 224, 29},
      {"Left Shift", 225, 42},
      {"Left Alt", 226, 56},
      {"Left Windows", 227, 219},
      {"Right Ctrl", 228, 157},
      {"Right Shift", 229, 54},
      {"Right Alt", 230, 184},
      {"Print Screen", 70, 183},
      {"Scroll Lock", 71, 70},
      {"Pause", 72, 197},
      {"ISO extra key", 100, 86},
  };
  for (const Case& c : cases) EXPECT_EQ(DikFromSdlScancode(c.sdl), c.dik) << c.key;
}

TEST(DikFromSdlScancodeTest, EveryKeyHasItsOwnCode) {
  std::map<int, int> sdlByDik;
  int mapped = 0;
  for (int sdl = 0; sdl < 512; ++sdl) {
    const int dik = DikFromSdlScancode(sdl);
    ASSERT_GE(dik, 0) << sdl;
    ASSERT_LE(dik, 255) << sdl;
    if (dik == 0) continue;
    ++mapped;
    const auto [it, fresh] = sdlByDik.emplace(dik, sdl);
    // Backslash (49) and the ISO key beside Enter (50) are one key position to DirectInput.
    if (!fresh) {
      EXPECT_TRUE(it->second == 49 && sdl == 50) << sdl << " and " << it->second << " give " << dik;
    }
  }
  // 104 keys of a full PC keyboard at the least.
  EXPECT_GE(mapped, 104);
}

TEST(DikFromSdlScancodeTest, UnknownAndOutOfRangeGiveZero) {
  for (int sdl : {0, -1, 512, 100000, -100000}) EXPECT_EQ(DikFromSdlScancode(sdl), 0) << sdl;
}

using testing::ScopedEnv;

TEST(SdlReadKeysTest, WithoutAnyWindowNothingIsHeld) {
  SdlPlatform platform;
  std::array<std::uint8_t, 256> keys;
  keys.fill(0x80);
  EXPECT_TRUE(platform.ReadKeys(keys));
  for (int code = 0; code < 256; ++code) EXPECT_EQ(keys[static_cast<size_t>(code)], 0) << code;
}

// A quit request (here SDL's own, from a termination signal) ends the game as Escape does,
// and stays in force on every later read.
TEST(SdlReadKeysTest, QuitRequestHoldsEscape) {
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
  EXPECT_EQ(keys[1], 0);
  ::raise(SIGTERM);
  for (int read = 0; read < 3; ++read) {
    ASSERT_TRUE(platform.ReadKeys(keys));
    EXPECT_EQ(keys[1], 0x80) << read;
    for (int code = 2; code < 256; ++code) EXPECT_EQ(keys[static_cast<size_t>(code)], 0) << code;
  }
}

}  // namespace
}  // namespace velko::platform
