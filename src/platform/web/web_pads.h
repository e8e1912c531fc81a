// Gamepads in the page: the page script reads the pads in the browser's standard layout and
// hands their raw buttons and left stick over; what they mean is the shared pad mapping's.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

#include "platform/pad_mapping.h"
#include "platform/platform.h"

namespace velko::platform {

// The page's event types for a pad button going down or up; `button` holds its index in the
// standard layout.
inline constexpr int kPadButtonDown = 100;
inline constexpr int kPadButtonUp = 101;

// A button of the standard layout (0 A, 1 B, 2 X, 3 Y, 8 Back, 9 Start, 12-15 the D-pad), or
// nullopt for the others (the shoulders, the triggers, the sticks' presses, the home button).
std::optional<PadButton> PadButtonOfStandardIndex(int index);

// The key event a pad button event of the page stands for in the dialog, to `windowId`;
// nullopt for buttons the dialog has no use for.
std::optional<InputEvent> DialogKeyForPadEvent(int type, int standardIndex, std::uint32_t windowId);

// Marks as held the keys that the controls of every pad the page sees stand for.
void MergeWebPadsInto(std::array<std::uint8_t, 256>& keys);

}  // namespace velko::platform
