// The keyboard as one snapshot of 256 keys per frame, by DirectInput scan code.
#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"
#include "platform/scan_codes.h"

namespace velko {

// The keys the game reads, by their scan codes.
namespace dik = platform::scan;
// Asks about every key at once (code 255 left out).
inline constexpr int32_t kAnyKey = -1;

class KeyboardService {
 public:
  explicit KeyboardService(platform::Platform& platform);

  int32_t KeyboardStart();
  // Takes one snapshot: 1 when fresh, 0 when the keys could not be read (the last snapshot
  // stays in force).
  int32_t KeyboardPoll();
  // The snapshot in force, and one taken from elsewhere in its place (a demo played back).
  const std::array<uint8_t, 256>& Snapshot() const { return snapshot_; }
  void Take(const std::array<uint8_t, 256>& keys) { snapshot_ = keys; }
  // 128 when the key is held in the snapshot, else 0; for kAnyKey, 1 when any key is held.
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
