// Gamepads through SDL's game controller API: any pad SDL knows, plugged in before or during
// the game. In the game a pad's controls read as the keys they stand for, merged into the
// same key state; in the dialog its D-pad moves the focus and A presses, as Shift+Tab, Tab
// and Space do.
#pragma once

#include <SDL.h>

#include <array>
#include <cstdint>
#include <map>
#include <optional>

#include "platform/platform.h"

namespace velko::platform {

class SdlPads {
 public:
  SdlPads() = default;
  ~SdlPads();
  SdlPads(const SdlPads&) = delete;
  SdlPads& operator=(const SdlPads&) = delete;

  // Opens and closes pads as they come and go; call for every SDL event read.
  void Handle(const SDL_Event& event);
  // The key a pad button stands for in the dialog, as a key event; nullopt for the others.
  static std::optional<InputEvent> DialogKeyFor(const SDL_Event& event);
  // Marks as held (0x80) the keys that the controls of every open pad stand for.
  void MergeInto(std::array<std::uint8_t, 256>& keys) const;
  int Count() const { return static_cast<int>(pads_.size()); }

 private:
  std::map<SDL_JoystickID, SDL_GameController*> pads_;
};

}  // namespace velko::platform
