#include "services/keyboard/keyboard_service.h"

namespace velko {
namespace {

// The last code a question about "any key" looks at: 255 is not a key of the keyboard.
constexpr size_t kLastAnyKey = 254;

bool IsKeyCode(int32_t code) {
  return code >= 0 && code <= 255;
}

}  // namespace

KeyboardService::KeyboardService(platform::Platform& platform) : platform_(platform) {}

int32_t KeyboardService::KeyboardStart() {
  // The platform always has a keyboard; it is only bound to the game's window when read.
  started_ = true;
  return 1;
}

int32_t KeyboardService::KeyboardPoll() {
  if (!started_) return 0;
  std::array<uint8_t, 256> keys{};
  if (!platform_.ReadKeys(keys)) return 0;
  // Closing the game's window, or being told to end, quits the way Escape does.
  if (platform_.CloseRequested()) keys[static_cast<size_t>(dik::kEscape)] = kHeld;
  snapshot_ = keys;
  return 1;
}

int32_t KeyboardService::KeyIsDown(int32_t code) const {
  if (code == kAnyKey) {
    for (size_t i = 0; i <= kLastAnyKey; ++i) {
      if ((snapshot_[i] & kHeld) != 0) return 1;
    }
    return 0;
  }
  if (!IsKeyCode(code)) return 0;
  return snapshot_[static_cast<size_t>(code)] & kHeld;
}

int32_t KeyboardService::LetGoStep(size_t code) {
  if ((snapshot_[code] & kHeld) != 0) {
    latch_[code] = 1;
    return 0;
  }
  if (latch_[code] != 0) {
    latch_[code] = 0;
    return 1;
  }
  return 0;
}

int32_t KeyboardService::KeyWasLetGo(int32_t code) {
  if (code == kAnyKey) {
    int32_t released = 0;
    // Every key takes its step, so one call settles all latches at once.
    for (size_t i = 0; i <= kLastAnyKey; ++i) released |= LetGoStep(i);
    return released;
  }
  if (!IsKeyCode(code)) return 0;
  return LetGoStep(static_cast<size_t>(code));
}

void KeyboardService::KeyboardStop() {
  // The snapshot and the latches live for the whole run.
  started_ = false;
}

}  // namespace velko
