// SDL events turned into the platform's input events: mouse and keys in client coordinates
// and DirectInput scan codes, the close box, focus changes, and lost client areas.
#include <SDL.h>

#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_platform.h"

namespace velko::platform {
namespace {

// How long the dialog's wait naps between looks at the queue.
constexpr Uint32 kWaitNapMs = 10;

// False for SDL events that mean nothing to the game (they are skipped).
bool Translate(const SDL_Event& sdl, InputEvent& event) {
  event = {};
  switch (sdl.type) {
    case SDL_MOUSEMOTION:
      event.type = EventType::MouseMove;
      event.windowId = sdl.motion.windowID;
      event.x = sdl.motion.x;
      event.y = sdl.motion.y;
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      event.type = sdl.type == SDL_MOUSEBUTTONDOWN ? EventType::MouseDown : EventType::MouseUp;
      event.windowId = sdl.button.windowID;
      event.x = sdl.button.x;
      event.y = sdl.button.y;
      // SDL numbers the buttons as we do: 1 left, 2 middle, 3 right.
      event.button = sdl.button.button;
      return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      event.type = sdl.type == SDL_KEYDOWN ? EventType::KeyDown : EventType::KeyUp;
      event.windowId = sdl.key.windowID;
      event.scanCode = DikFromSdlScancode(sdl.key.keysym.scancode);
      event.shift = (sdl.key.keysym.mod & KMOD_SHIFT) != 0;
      event.repeat = sdl.key.repeat != 0;
      return true;
    case SDL_WINDOWEVENT:
      event.windowId = sdl.window.windowID;
      switch (sdl.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          event.type = EventType::Close;
          return true;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          event.type = EventType::FocusGained;
          return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          event.type = EventType::FocusLost;
          return true;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_RESTORED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          InvalidateShownFrame(sdl.window.windowID);
          event.type = EventType::Exposed;
          return true;
        default:
          return false;
      }
    case SDL_QUIT:
      // Follows the close request of the last window, already reported; ending is asked
      // either way.
      event.type = EventType::Quit;
      return true;
    default:
      return false;
  }
}

}  // namespace

bool SdlPlatform::TranslateEvent(const SDL_Event& sdl, InputEvent& event) {
  if (pads_ != nullptr) {
    pads_->Handle(sdl);
    if (const std::optional<InputEvent> key = SdlPads::DialogKeyFor(sdl)) {
      event = *key;
      return true;
    }
  }
  return Translate(sdl, event);
}

bool SdlPlatform::PollEvent(InputEvent& event) {
  if (TakeQuitSignal()) {
    event = {};
    event.type = EventType::Quit;
    return true;
  }
  if (!EnsureVideo()) return false;
  SDL_Event sdl;
  while (SDL_PollEvent(&sdl) != 0) {
    if (TranslateEvent(sdl, event)) return true;
  }
  return false;
}

bool SdlPlatform::WaitEvent(InputEvent& event) {
  if (!EnsureVideo()) return false;
  SDL_Event sdl;
  for (;;) {
    // A signal wakes no wait of SDL's: look for one at every nap.
    if (TakeQuitSignal()) {
      event = {};
      event.type = EventType::Quit;
      return true;
    }
    // Polled, not SDL's own wait: that wait leaves SDL to wake it by sending an X event to a
    // window of ours, and a window closed meanwhile (the dialog) made the X error that ended
    // the game at its shutdown.
    SDL_PumpEvents();
    while (SDL_PollEvent(&sdl) != 0) {
      if (TranslateEvent(sdl, event)) return true;
    }
    SDL_Delay(kWaitNapMs);
  }
}

}  // namespace velko::platform
