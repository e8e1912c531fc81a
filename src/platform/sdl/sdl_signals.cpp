// Termination requests from the system (Ctrl+C, SIGTERM, the hang-up of a logout) become the
// platform's Quit event and hold Escape in the game, so every one of them ends the run through
// the normal shutdown. SDL's own handlers are left out: they cover no hang-up, and their quit
// event cannot be told from the one that follows a window's close box.
#include <SDL.h>

#include <csignal>

#include "platform/sdl/sdl_platform.h"

namespace velko::platform {
namespace {

// A signal handler reaches no object: this one flag is all it sets.
volatile std::sig_atomic_t quitSignals = 0;

extern "C" void OnQuitSignal(int) {
  quitSignals = quitSignals + 1;
}

}  // namespace

void InstallQuitSignals() {
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    struct sigaction previous {};
    // A signal the caller chose to ignore (nohup) stays ignored.
    if (::sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
    ::sigaction(signal, &action, nullptr);
  }
}

int QuitSignalCount() {
  return quitSignals;
}

}  // namespace velko::platform
