// An X error ends the process under Xlib's default handler. The ones a game meets are about
// windows that went away while a request about them was on its way (a wake-up sent by SDL to
// the closed dialog, for one): they are said on stderr and the game goes on.
#include <X11/Xlib.h>

#include <cstdio>

// Declared in sdl_platform.h, which cannot be included beside Xlib (its macros clash).

namespace velko::platform {
namespace {

extern "C" int OnXError(Display* display, XErrorEvent* error) {
  char text[160] = {};
  XGetErrorText(display, error->error_code, text, sizeof text - 1);
  std::fprintf(stderr, "velko: X error ignored: %s (request %d)\n", text, error->request_code);
  return 0;
}

}  // namespace

void KeepXErrorsFromEndingTheGame() {
  XSetErrorHandler(OnXError);
}

}  // namespace velko::platform
