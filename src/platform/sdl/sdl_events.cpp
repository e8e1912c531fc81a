#include <SDL.h>

#include "platform/sdl/sdl_platform.h"

namespace velko::platform {

// Placeholder until window events are built.
bool SdlPlatform::PollEvent(InputEvent&) {
  return false;
}
bool SdlPlatform::WaitEvent(InputEvent&) {
  return false;
}

}  // namespace velko::platform
