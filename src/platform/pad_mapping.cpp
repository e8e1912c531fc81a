#include "platform/pad_mapping.h"

#include "platform/scan_codes.h"

namespace velko::platform {

void MergePadInto(const PadState& pad, std::array<std::uint8_t, 256>& keys) {
  const auto hold = [&keys](int code, bool held) {
    if (held) keys[static_cast<std::size_t>(code)] = scan::kHeld;
  };
  hold(scan::kLeft, pad.Held(PadButton::DpadLeft) || pad.leftStickX < -kPadThreshold);
  hold(scan::kRight, pad.Held(PadButton::DpadRight) || pad.leftStickX > kPadThreshold);
  hold(scan::kUp, pad.Held(PadButton::A) || pad.rightTrigger > kPadThreshold);
  hold(scan::kDown, pad.Held(PadButton::B) || pad.leftTrigger > kPadThreshold);
  hold(scan::kF12, pad.Held(PadButton::Y));
  hold(scan::kEscape, pad.Held(PadButton::Back));
}

std::optional<DialogKey> DialogKeyForPadButton(PadButton button) {
  switch (button) {
    case PadButton::DpadUp:
      return DialogKey{scan::kTab, true};
    case PadButton::DpadDown:
      return DialogKey{scan::kTab, false};
    case PadButton::A:
      return DialogKey{scan::kSpace, false};
    default:
      return std::nullopt;
  }
}

}  // namespace velko::platform
