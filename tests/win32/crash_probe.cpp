// For the end-to-end runs: takes the display in full screen through the Win32 platform, as the
// game does, then dies the way a crashing game would, without any shutdown of its own.
//   velko_crash_probe fault|abort|throw
// Prints the display's size once in full screen; what it leaves behind is for the caller to
// look at.
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include "platform/win32/win32_platform.h"

int main(int argc, char** argv) {
  const std::string how = argc == 2 ? argv[1] : "";
  if (how != "fault" && how != "abort" && how != "throw") {
    std::fprintf(stderr, "usage: velko_crash_probe fault|abort|throw\n");
    return 2;
  }
  // The crash comes before either is destroyed: nothing of the platform's own shutdown runs.
  velko::platform::Win32Platform platform;
  const std::unique_ptr<velko::platform::NativeWindow> screen =
      platform.CreateFullScreen({800, 600, 16, 0}, "Velko crash probe");
  if (screen == nullptr) {
    std::fprintf(stderr, "no full screen\n");
    return 1;
  }
  std::printf("%dx%d\n", ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
  std::fflush(stdout);
  if (how == "fault") *static_cast<volatile int*>(nullptr) = 1;
  if (how == "abort") std::abort();
  throw std::runtime_error("a game that throws where nothing catches");
}
