// Key messages as the game's key codes. A key message carries the keyboard's own scan code,
// and DirectInput's codes are those scan codes with 0x80 added for the extended (E0-prefixed)
// keys, so most keys need no table at all.
#include "platform/win32/win32_platform.h"

namespace velko::platform {
namespace {

constexpr int kDikNumLock = 0x45;
constexpr int kDikPause = 0xC5;
// Shift presses the keyboard makes up around an extended key (E0 2A, E0 36); no key of their
// own.
constexpr int kFakeLeftShift = 0xAA;
constexpr int kFakeRightShift = 0xB6;

}  // namespace

int DikFromKeyMessage(WPARAM virtualKey, LPARAM lParam) {
  // Pause and Num Lock share scan code 0x45 and carry the extended bit the other way round
  // from DirectInput's codes for them.
  if (virtualKey == VK_PAUSE) return kDikPause;
  if (virtualKey == VK_NUMLOCK) return kDikNumLock;
  int scanCode = static_cast<int>((lParam >> 16) & 0xFF);
  bool extended = ((lParam >> 24) & 1) != 0;
  if (scanCode == 0) {
    // Keys sent by programs may come without a scan code: take the keyboard's for the key.
    const UINT mapped = ::MapVirtualKeyW(static_cast<UINT>(virtualKey), MAPVK_VK_TO_VSC_EX);
    scanCode = static_cast<int>(mapped & 0xFF);
    extended = extended || (mapped & 0xFF00) == 0xE000;
  }
  if (scanCode == 0) return 0;
  const int dik = scanCode | (extended ? 0x80 : 0);
  if (dik == kFakeLeftShift || dik == kFakeRightShift) return 0;
  return dik;
}

}  // namespace velko::platform
