// The DirectInput scan codes of the keys the game, its dialog and the pads name, once for
// every layer: the key state is 256 bytes indexed by these codes, 0x80 for a held key.
#pragma once

#include <cstdint>

namespace velko::platform::scan {

inline constexpr std::uint8_t kHeld = 0x80;

// The game's own keys.
inline constexpr int kEscape = 0x01;
inline constexpr int kF12 = 0x58;
inline constexpr int kUp = 0xC8;
inline constexpr int kLeft = 0xCB;
inline constexpr int kRight = 0xCD;
inline constexpr int kDown = 0xD0;

// The dialog's keys.
inline constexpr int kTab = 0x0F;
inline constexpr int kReturn = 0x1C;
inline constexpr int kLeftAlt = 0x38;
inline constexpr int kSpace = 0x39;
inline constexpr int kF4 = 0x3E;
inline constexpr int kNumpadEnter = 0x9C;
inline constexpr int kRightAlt = 0xB8;
inline constexpr int kHome = 0xC7;
inline constexpr int kPageUp = 0xC9;
inline constexpr int kEnd = 0xCF;
inline constexpr int kPageDown = 0xD1;

}  // namespace velko::platform::scan
