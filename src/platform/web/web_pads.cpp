#include "platform/web/web_pads.h"

#include <emscripten.h>

#include <cstddef>

// Calls into the page script (velko_pads.js): each pad as kStandardButtons "pressed" flags,
// kStandardButtons analog values, then the left stick's x.
EM_JS(int, velko_read_pads, (float* out, int maxPads), { return VelkoPads.read(out, maxPads); });

namespace velko::platform {
namespace {

constexpr int kStandardButtons = 17;
constexpr int kFloatsPerPad = 2 * kStandardButtons + 1;
constexpr int kMaxPads = 4;
// The triggers are analog buttons of the standard layout.
constexpr int kLeftTriggerIndex = 6;
constexpr int kRightTriggerIndex = 7;

PadState StateOf(const float* raw) {
  PadState state;
  for (int index = 0; index < kStandardButtons; ++index) {
    if (const std::optional<PadButton> button = PadButtonOfStandardIndex(index)) {
      state.Set(*button, raw[index] != 0.0f);
    }
  }
  const float* values = raw + kStandardButtons;
  state.leftTrigger = values[kLeftTriggerIndex];
  state.rightTrigger = values[kRightTriggerIndex];
  state.leftStickX = raw[2 * kStandardButtons];
  return state;
}

}  // namespace

std::optional<PadButton> PadButtonOfStandardIndex(int index) {
  switch (index) {
    case 0:
      return PadButton::A;
    case 1:
      return PadButton::B;
    case 2:
      return PadButton::X;
    case 3:
      return PadButton::Y;
    case 8:
      return PadButton::Back;
    case 9:
      return PadButton::Start;
    case 12:
      return PadButton::DpadUp;
    case 13:
      return PadButton::DpadDown;
    case 14:
      return PadButton::DpadLeft;
    case 15:
      return PadButton::DpadRight;
    default:
      return std::nullopt;
  }
}

std::optional<InputEvent> DialogKeyForPadEvent(int type, int standardIndex,
                                               std::uint32_t windowId) {
  const std::optional<PadButton> button = PadButtonOfStandardIndex(standardIndex);
  const std::optional<DialogKey> dialogKey = button ? DialogKeyForPadButton(*button) : std::nullopt;
  if (!dialogKey) return std::nullopt;
  InputEvent key;
  key.type = type == kPadButtonDown ? EventType::KeyDown : EventType::KeyUp;
  key.windowId = windowId;
  key.scanCode = dialogKey->scanCode;
  key.shift = dialogKey->shift;
  return key;
}

void MergeWebPadsInto(std::array<std::uint8_t, 256>& keys) {
  std::array<float, static_cast<std::size_t>(kFloatsPerPad * kMaxPads)> raw{};
  const int count = velko_read_pads(raw.data(), kMaxPads);
  for (int pad = 0; pad < count && pad < kMaxPads; ++pad) {
    MergePadInto(StateOf(raw.data() + static_cast<std::ptrdiff_t>(pad) * kFloatsPerPad), keys);
  }
}

}  // namespace velko::platform
