#include <SDL.h>

#include "platform/sdl/sdl_platform.h"

namespace velko::platform {

// Placeholder until the keyboard is built.
bool SdlPlatform::ReadKeys(std::array<std::uint8_t, 256>& keys) {
  keys.fill(0);
  return false;
}
int DikFromSdlScancode(int) {
  return 0;
}

}  // namespace velko::platform
