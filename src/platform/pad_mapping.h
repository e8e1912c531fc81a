// What a gamepad does in the game, once for every backend: the pad's controls in the common
// layout (A, B, X, Y, Back, Start, the shoulders, the D-pad, two sticks and two triggers), read
// as the keys of the keyboard state.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

namespace velko::platform {

enum class PadButton { A, B, X, Y, Back, Start, DpadUp, DpadDown, DpadLeft, DpadRight, Count };

struct PadState {
  std::array<bool, static_cast<std::size_t>(PadButton::Count)> buttons{};
  float leftStickX = 0.0f;    // -1 left .. 1 right
  float leftTrigger = 0.0f;   // 0 .. 1
  float rightTrigger = 0.0f;  // 0 .. 1

  bool Held(PadButton button) const { return buttons[static_cast<std::size_t>(button)]; }
  void Set(PadButton button, bool held) { buttons[static_cast<std::size_t>(button)] = held; }
};

// A stick or trigger pushed further than half way counts as the key held.
inline constexpr float kPadThreshold = 0.5f;

// Holds the keys the pad's controls stand for: the D-pad or the left stick steers, A or the
// right trigger accelerates, B or the left trigger brakes, Y takes a screenshot, Back quits.
void MergePadInto(const PadState& pad, std::array<std::uint8_t, 256>& keys);

// In the dialog the D-pad moves between the controls (up is Shift+Tab, down is Tab) and A
// presses (Space); other buttons do nothing there.
struct DialogKey {
  int scanCode = 0;
  bool shift = false;
};
std::optional<DialogKey> DialogKeyForPadButton(PadButton button);

}  // namespace velko::platform
