#include "services/windows/event_state.h"

namespace velko::gadgets {
namespace {

// The window messages of the events a platform delivers.
constexpr int32_t kSetFocus = 0x0007;
constexpr int32_t kKillFocus = 0x0008;
constexpr int32_t kPaint = 0x000F;
constexpr int32_t kClose = 0x0010;
constexpr int32_t kKeyDown = 0x0100;
constexpr int32_t kKeyUp = 0x0101;
constexpr int32_t kSysKeyDown = 0x0104;
constexpr int32_t kSysKeyUp = 0x0105;
constexpr int32_t kMouseMove = 0x0200;
constexpr int32_t kLeftButtonDown = 0x0201;
constexpr int32_t kRightButtonDown = 0x0204;
constexpr int32_t kMiddleButtonDown = 0x0207;
constexpr int32_t kUser = 0x0400;  // anything without a counterpart

int32_t ButtonMessage(int button, bool up) {
  const int32_t down = button == 3   ? kRightButtonDown
                       : button == 2 ? kMiddleButtonDown
                                     : kLeftButtonDown;
  return up ? down + 1 : down;
}

}  // namespace

int32_t MessageNumberFor(const platform::InputEvent& event, bool altHeld) {
  using platform::EventType;
  switch (event.type) {
    case EventType::MouseMove:
      return kMouseMove;
    case EventType::MouseDown:
      return ButtonMessage(event.button, false);
    case EventType::MouseUp:
      return ButtonMessage(event.button, true);
    case EventType::KeyDown:
      return altHeld ? kSysKeyDown : kKeyDown;
    case EventType::KeyUp:
      return altHeld ? kSysKeyUp : kKeyUp;
    case EventType::Close:
      return kClose;
    case EventType::FocusGained:
      return kSetFocus;
    case EventType::FocusLost:
      return kKillFocus;
    default:
      break;
  }
  if (event.type == EventType::Exposed) return kPaint;
  return kUser;
}

int64_t SecondParameterFor(const platform::InputEvent& event) {
  using platform::EventType;
  if (event.type == EventType::KeyDown || event.type == EventType::KeyUp) return event.shift;
  // Mouse position packed as the low and high words.
  return static_cast<int64_t>(((event.y & 0xFFFF) << 16) | (event.x & 0xFFFF));
}

}  // namespace velko::gadgets
