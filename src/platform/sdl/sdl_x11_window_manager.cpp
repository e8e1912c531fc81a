// Whether a window manager runs on the window's X display: one that follows the desktop
// conventions names its own check window on the root window, and on that window again.
#include <SDL.h>
#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>

// Declared in sdl_platform.h, which cannot be included beside Xlib (its macros clash).

namespace velko::platform {
namespace {

// The window named by `property` on `window`, or None.
Window CheckWindowOf(Display* display, Window window, Atom property) {
  Atom type = None;
  int format = 0;
  unsigned long items = 0;
  unsigned long left = 0;
  unsigned char* data = nullptr;
  Window named = None;
  if (XGetWindowProperty(display, window, property, 0, 1, False, XA_WINDOW, &type, &format, &items,
                         &left, &data) == Success &&
      type == XA_WINDOW && format == 32 && items == 1 && data != nullptr) {
    named = static_cast<Window>(*reinterpret_cast<unsigned long*>(data));
  }
  if (data != nullptr) XFree(data);
  return named;
}

}  // namespace

bool WindowManagerRunning(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  // Other than X (Wayland, say), the compositor is the window manager.
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return true;
  Display* display = info.info.x11.display;
  const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
  if (check == None) return false;
  const Window named = CheckWindowOf(display, DefaultRootWindow(display), check);
  // A manager that died leaves the root's property behind; its window names itself no more.
  return named != None && CheckWindowOf(display, named, check) == named;
}

}  // namespace velko::platform
