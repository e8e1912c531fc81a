// The keyboard over SDL: SDL's key state, renamed to DirectInput scan codes, for the focused
// window of the game, with the pads' controls merged in.
#include <SDL.h>

#include <array>

#include "platform/key_table.h"
#include "platform/scan_codes.h"
#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_platform.h"

namespace velko::platform {

// SDL's scancodes are the keys' USB usages.
int DikFromSdlScancode(int sdlScancode) {
  return ScanCodeFromUsage(sdlScancode);
}

bool SdlPlatform::ReadKeys(std::array<std::uint8_t, 256>& keys) {
  keys.fill(0);
  if (videoStarted_) {
    // Nobody else reads events while the game runs: drain them here, so the key state is
    // fresh and a close request is not lost.
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
      if (pads_ != nullptr) pads_->Handle(event);
      if (event.type == SDL_QUIT ||
          (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_CLOSE)) {
        closeRequested_ = true;
      }
      // A window whose contents were lost shows its next frame whole.
      if (event.type == SDL_WINDOWEVENT && (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
                                            event.window.event == SDL_WINDOWEVENT_SHOWN ||
                                            event.window.event == SDL_WINDOWEVENT_RESTORED ||
                                            event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED)) {
        InvalidateShownFrame(event.window.windowID);
      }
    }
  }
  // Without the focus every key reads as released, so nothing sticks while the player is away.
  if (!videoStarted_ || SDL_GetKeyboardFocus() == nullptr) return true;
  int count = 0;
  const Uint8* state = SDL_GetKeyboardState(&count);
  for (int code = 0; code < count; ++code) {
    if (state[code] == 0) continue;
    const int dik = DikFromSdlScancode(code);
    if (dik != 0) keys[static_cast<std::size_t>(dik)] = scan::kHeld;
  }
  if (pads_ != nullptr) pads_->MergeInto(keys);
  return true;
}

bool SdlPlatform::CloseRequested() {
  // A termination signal ends the game as the window's close box does.
  if (QuitSignalCount() != quitSignalsAtStart_) closeRequested_ = true;
  return closeRequested_;
}

}  // namespace velko::platform
