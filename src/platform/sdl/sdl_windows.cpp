#include <SDL.h>

#include "platform/sdl/sdl_platform.h"

namespace velko::platform {

// Placeholder until native windows are built.
FrameInsets SdlPlatform::InsetsFor(const WindowSpec&) {
  return {};
}
std::unique_ptr<NativeWindow> SdlPlatform::CreateWindow(const WindowSpec&) {
  return nullptr;
}
std::unique_ptr<NativeWindow> SdlPlatform::CreateFullScreen(const DisplayMode&, std::string_view) {
  return nullptr;
}
bool SdlPlatform::PollEvent(InputEvent&) {
  return false;
}
bool SdlPlatform::WaitEvent(InputEvent&) {
  return false;
}

}  // namespace velko::platform
