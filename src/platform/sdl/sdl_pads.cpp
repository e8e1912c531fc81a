#include "platform/sdl/sdl_pads.h"

#include "platform/sdl/sdl_platform.h"

namespace velko::platform {
namespace {

constexpr std::uint8_t kHeld = 0x80;
constexpr int kDikEscape = 0x01;
constexpr int kDikTab = 0x0F;
constexpr int kDikSpace = 0x39;
constexpr int kDikF12 = 0x58;
constexpr int kDikUp = 0xC8;
constexpr int kDikLeft = 0xCB;
constexpr int kDikRight = 0xCD;
constexpr int kDikDown = 0xD0;
// Half way: a stick or trigger pushed further than this counts as the key held.
constexpr Sint16 kThreshold = 16384;

}  // namespace

SdlPads::~SdlPads() {
  for (const auto& [id, pad] : pads_) SDL_GameControllerClose(pad);
}

void SdlPads::Handle(const SDL_Event& event) {
  if (event.type == SDL_CONTROLLERDEVICEADDED) {
    // The event names a device index; pads already there at start come this way too.
    SDL_GameController* pad = SDL_GameControllerOpen(event.cdevice.which);
    if (pad == nullptr) {
      ReportSdlFailure("SDL_GameControllerOpen");
      return;
    }
    const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
    if (!pads_.emplace(id, pad).second) SDL_GameControllerClose(pad);  // already open
  } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
    const auto found = pads_.find(event.cdevice.which);
    if (found == pads_.end()) return;
    // Buttons held on a pad that goes away are let go, in the dialog too.
    for (const SDL_GameControllerButton button :
         {SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
          SDL_CONTROLLER_BUTTON_A}) {
      if (SDL_GameControllerGetButton(found->second, button) == 0) continue;
      SDL_Event up{};
      up.type = SDL_CONTROLLERBUTTONUP;
      up.cbutton.which = found->first;
      up.cbutton.button = static_cast<Uint8>(button);
      up.cbutton.state = SDL_RELEASED;
      SDL_PushEvent(&up);
    }
    SDL_GameControllerClose(found->second);
    pads_.erase(found);
  }
}

std::optional<InputEvent> SdlPads::DialogKeyFor(const SDL_Event& event) {
  if (event.type != SDL_CONTROLLERBUTTONDOWN && event.type != SDL_CONTROLLERBUTTONUP) {
    return std::nullopt;
  }
  InputEvent key;
  key.type = event.type == SDL_CONTROLLERBUTTONDOWN ? EventType::KeyDown : EventType::KeyUp;
  switch (event.cbutton.button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      key.scanCode = kDikTab;
      key.shift = true;
      break;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      key.scanCode = kDikTab;
      break;
    case SDL_CONTROLLER_BUTTON_A:
      key.scanCode = kDikSpace;
      break;
    default:
      return std::nullopt;
  }
  // To the window the keys go to.
  SDL_Window* focused = SDL_GetKeyboardFocus();
  key.windowId = focused != nullptr ? SDL_GetWindowID(focused) : 0;
  return key;
}

void SdlPads::MergeInto(std::array<std::uint8_t, 256>& keys) const {
  for (const auto& [id, pad] : pads_) {
    auto button = [pad](SDL_GameControllerButton b) {
      return SDL_GameControllerGetButton(pad, b) != 0;
    };
    auto axis = [pad](SDL_GameControllerAxis a) { return SDL_GameControllerGetAxis(pad, a); };
    const auto hold = [&keys](int dik, bool held) {
      if (held) keys[static_cast<std::size_t>(dik)] = kHeld;
    };
    hold(kDikLeft,
         button(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || axis(SDL_CONTROLLER_AXIS_LEFTX) < -kThreshold);
    hold(kDikRight,
         button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || axis(SDL_CONTROLLER_AXIS_LEFTX) > kThreshold);
    hold(kDikUp,
         button(SDL_CONTROLLER_BUTTON_A) || axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT) > kThreshold);
    hold(kDikDown,
         button(SDL_CONTROLLER_BUTTON_B) || axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT) > kThreshold);
    hold(kDikF12, button(SDL_CONTROLLER_BUTTON_Y));
    hold(kDikEscape, button(SDL_CONTROLLER_BUTTON_BACK));
  }
}

}  // namespace velko::platform
