#include "sdl/x11_read_back.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace velko::testing {

std::uint32_t ReadBackFromX(SDL_Window* window, int x, int y) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
    return 0xDEADBEEF;
  }
  Display* display = info.info.x11.display;
  XSync(display, False);
  XImage* image = XGetImage(display, info.info.x11.window, x, y, 1, 1, AllPlanes, ZPixmap);
  if (image == nullptr) return 0xDEADBEEF;
  const unsigned long pixel = XGetPixel(image, 0, 0);
  // Each channel scaled to 8 bits from wherever its mask puts it.
  auto channel = [&](unsigned long mask) {
    if (mask == 0) return 0u;
    int shift = 0;
    while (((mask >> shift) & 1) == 0) ++shift;
    return static_cast<unsigned>(((pixel & mask) >> shift) * 255 / (mask >> shift));
  };
  const std::uint32_t rgb =
      channel(image->red_mask) << 16 | channel(image->green_mask) << 8 | channel(image->blue_mask);
  XDestroyImage(image);
  return rgb;
}

bool ProvokeXError(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (window == nullptr || !SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) {
    return false;
  }
  XDestroyWindow(info.info.x11.display, 0x1FFFFFFF);
  XSync(info.info.x11.display, False);
  return true;
}

}  // namespace velko::testing
