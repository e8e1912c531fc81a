#include <SDL.h>

#include "platform/sdl/sdl_platform.h"

namespace velko::platform {

// Placeholder until sound is built: no device.
std::unique_ptr<AudioDevice> SdlPlatform::OpenAudio() {
  return nullptr;
}

}  // namespace velko::platform
