// The keyboard as one snapshot of 256 keys per frame, by DirectInput scan code.
#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"

namespace velko {

// DirectInput scan codes of the keys the game reads.
namespace dik {
inline constexpr int32_t kEscape = 1;
inline constexpr int32_t kF12 = 88;
inline constexpr int32_t kUp = 200;
inline constexpr int32_t kLeft = 203;
inline constexpr int32_t kRight = 205;
inline constexpr int32_t kDown = 208;
// Asks about every key at once (code 255 left out).
inline constexpr int32_t kAny = -1;
}  // namespace dik

class KeyboardService {
 public:
  explicit KeyboardService(platform::Platform& platform);

  int32_t KeyboardStart();
  // Takes one snapshot: 1 when fresh, 0 when the keys could not be read (the last snapshot
  // stays in force).
  int32_t KeyboardPoll();
  // 128 when the key is held in the snapshot, else 0; for dik::kAny, 1 when any key is held.
  int32_t KeyIsDown(int32_t code) const;
  // 1 once per press, at the first call that finds the key up after one that found it held.
  int32_t KeyWasLetGo(int32_t code);
  void KeyboardStop();

 private:
  static constexpr uint8_t kHeld = 0x80;
  int32_t LetGoStep(size_t code);

  platform::Platform& platform_;
  bool started_ = false;
  std::array<uint8_t, 256> snapshot_{};
  std::array<uint8_t, 256> latch_{};
};

}  // namespace velko
