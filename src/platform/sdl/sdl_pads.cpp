#include "platform/sdl/sdl_pads.h"

#include "platform/pad_mapping.h"
#include "platform/sdl/sdl_platform.h"

namespace velko::platform {
namespace {

constexpr float kAxisScale = 1.0f / 32768.0f;

std::optional<PadButton> PadButtonOf(Uint8 sdlButton) {
  switch (sdlButton) {
    case SDL_CONTROLLER_BUTTON_A:
      return PadButton::A;
    case SDL_CONTROLLER_BUTTON_B:
      return PadButton::B;
    case SDL_CONTROLLER_BUTTON_X:
      return PadButton::X;
    case SDL_CONTROLLER_BUTTON_Y:
      return PadButton::Y;
    case SDL_CONTROLLER_BUTTON_BACK:
      return PadButton::Back;
    case SDL_CONTROLLER_BUTTON_START:
      return PadButton::Start;
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
      return PadButton::DpadUp;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
      return PadButton::DpadDown;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
      return PadButton::DpadLeft;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
      return PadButton::DpadRight;
    default:
      return std::nullopt;
  }
}

PadState StateOf(SDL_GameController* pad) {
  PadState state;
  for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; ++b) {
    const auto button = static_cast<SDL_GameControllerButton>(b);
    if (const std::optional<PadButton> padButton = PadButtonOf(static_cast<Uint8>(b))) {
      state.Set(*padButton, SDL_GameControllerGetButton(pad, button) != 0);
    }
  }
  state.leftStickX =
      static_cast<float>(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX)) * kAxisScale;
  state.leftTrigger =
      static_cast<float>(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERLEFT)) *
      kAxisScale;
  state.rightTrigger =
      static_cast<float>(SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_TRIGGERRIGHT)) *
      kAxisScale;
  return state;
}

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
  const std::optional<PadButton> button = PadButtonOf(event.cbutton.button);
  const std::optional<DialogKey> dialogKey = button ? DialogKeyForPadButton(*button) : std::nullopt;
  if (!dialogKey) return std::nullopt;
  InputEvent key;
  key.type = event.type == SDL_CONTROLLERBUTTONDOWN ? EventType::KeyDown : EventType::KeyUp;
  key.scanCode = dialogKey->scanCode;
  key.shift = dialogKey->shift;
  // To the window the keys go to.
  SDL_Window* focused = SDL_GetKeyboardFocus();
  key.windowId = focused != nullptr ? SDL_GetWindowID(focused) : 0;
  return key;
}

void SdlPads::MergeInto(std::array<std::uint8_t, 256>& keys) const {
  for (const auto& [id, pad] : pads_) MergePadInto(StateOf(pad), keys);
}

}  // namespace velko::platform
