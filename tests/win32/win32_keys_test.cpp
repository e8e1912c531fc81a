// Key messages to the game's key codes, as the keyboard sends them.
#include <gtest/gtest.h>

#include "platform/win32/win32_platform.h"

namespace velko::platform {
namespace {

// lParam of a key message: the scan code in bits 16-23, the extended-key flag in bit 24.
LPARAM KeyParameter(int scanCode, bool extended) {
  return static_cast<LPARAM>((scanCode << 16) | (extended ? 1 << 24 : 0) | 1);
}

TEST(DikFromKeyMessageTest, GivesDirectInputCodes) {
  struct Case {
    const char* key;
    WPARAM virtualKey;
    int scanCode;
    bool extended;
    int dik;
  };
  const Case cases[] = {
      {"Escape", VK_ESCAPE, 0x01, false, 0x01},
      {"F12", VK_F12, 0x58, false, 0x58},
      {"Up", VK_UP, 0x48, true, 0xC8},
      {"Left", VK_LEFT, 0x4B, true, 0xCB},
      {"Right", VK_RIGHT, 0x4D, true, 0xCD},
      {"Down", VK_DOWN, 0x50, true, 0xD0},
      {"keypad 8 is not Up", VK_NUMPAD8, 0x48, false, 0x48},
      {"Tab", VK_TAB, 0x0F, false, 0x0F},
      {"Space", VK_SPACE, 0x39, false, 0x39},
      {"left Alt", VK_MENU, 0x38, false, 0x38},
      {"right Alt", VK_MENU, 0x38, true, 0xB8},
      {"right Control", VK_CONTROL, 0x1D, true, 0x9D},
      {"right Shift", VK_SHIFT, 0x36, false, 0x36},
      {"keypad Enter", VK_RETURN, 0x1C, true, 0x9C},
      {"keypad divide", VK_DIVIDE, 0x35, true, 0xB5},
      {"Delete", VK_DELETE, 0x53, true, 0xD3},
      {"left Windows", VK_LWIN, 0x5B, true, 0xDB},
      {"Pause", VK_PAUSE, 0x45, false, 0xC5},
      {"Num Lock", VK_NUMLOCK, 0x45, true, 0x45},
      {"made-up Shift around an extended key", VK_SHIFT, 0x2A, true, 0},
      {"sent without a scan code", VK_F12, 0, false, 0x58},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DikFromKeyMessage(c.virtualKey, KeyParameter(c.scanCode, c.extended)), c.dik)
        << c.key;
  }
}

}  // namespace
}  // namespace velko::platform
