#include "platform/sdl/sdl_platform.h"

#include <SDL.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

#include "platform/sdl/sdl_fonts.h"
#include "platform/sdl/sdl_frame_stats.h"
#include "platform/sdl/sdl_pads.h"

namespace velko::platform {

SdlPlatform::SdlPlatform() : stats_(std::make_unique<FrameStats>()) {
  SDL_SetMainReady();
  // A window's surface is shown from X's shared memory, not through a software OpenGL.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  InstallQuitSignals();
  quitSignalsAtStart_ = quitSignalsReported_ = QuitSignalCount();
}

void ReportSdlFailure(const char* call) {
  std::fprintf(stderr, "velko: %s failed: %s\n", call, SDL_GetError());
}

bool SdlPlatform::TakeQuitSignal() {
  const int received = QuitSignalCount();
  if (received == quitSignalsReported_) return false;
  quitSignalsReported_ = received;
  return true;
}

SdlPlatform::~SdlPlatform() {
  pads_.reset();
  fonts_.reset();
  SDL_Quit();
  stats_.reset();
}

bool SdlPlatform::EnsureVideo() {
  if (videoStarted_) return true;
  if (videoFailed_) return false;
  if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
    ReportSdlFailure("SDL_InitSubSystem(SDL_INIT_VIDEO)");
    videoFailed_ = true;
    return false;
  }
  videoStarted_ = true;
  // Pads are a bonus: without them the game plays from the keyboard as ever.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    ReportSdlFailure("SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER)");
  } else {
    pads_ = std::make_unique<SdlPads>();
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver != nullptr && SDL_strcmp(driver, "x11") == 0) KeepXErrorsFromEndingTheGame();
  return true;
}

std::uint32_t SdlPlatform::TickCount() {
  // Milliseconds since the system started, as the counter the game seeds its random numbers
  // from has always been: SDL's own count starts at 0 with the process, which gave every run
  // the same skids.
  timespec now{};
  if (::clock_gettime(CLOCK_BOOTTIME, &now) != 0) ::clock_gettime(CLOCK_MONOTONIC, &now);
  const std::uint64_t ms = static_cast<std::uint64_t>(now.tv_sec) * 1000u +
                           static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000u;
  return static_cast<std::uint32_t>(ms);
}

// The performance counter counts microseconds of the monotonic clock: fine enough for the
// frame cap, and its low 32 bits (all the cap looks at) change sign only every 36 minutes.
constexpr std::int64_t kCounterFrequency = 1'000'000;

std::int64_t SdlPlatform::PerformanceCounter() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * kCounterFrequency + now.tv_nsec / 1000;
}

std::int64_t SdlPlatform::PerformanceFrequency() {
  return kCounterFrequency;
}

void SdlPlatform::SleepUntilCounter(std::int64_t deadline) {
  // An absolute deadline: a sleep cut short by a signal resumes without drifting.
  const timespec until{static_cast<time_t>(deadline / kCounterFrequency),
                       static_cast<long>(deadline % kCounterFrequency) * 1000};
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
}

void SdlPlatform::SleepMilliseconds(std::uint32_t ms) {
  SDL_Delay(ms);
}

std::string SdlPlatform::ExecutablePath() {
  std::vector<char> buffer(4096);
  const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (length <= 0) return {};
  return std::string(buffer.data(), static_cast<size_t>(length));
}

int SdlPlatform::MessageBox(std::string_view titleCp1252, std::string_view textCp1252) {
  const std::string title = Utf8FromCp1252(titleCp1252);
  const std::string text = Utf8FromCp1252(textCp1252);
  // Without a display the box cannot be shown; the message still reaches the player's terminal.
  bool shown = false;
  if (EnsureVideo()) {
    shown = SDL_ShowSimpleMessageBox(0, title.c_str(), text.c_str(), nullptr) == 0;
    if (!shown) ReportSdlFailure("SDL_ShowSimpleMessageBox");
  }
  if (!shown) std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
  return 1;
}

DesktopInfo SdlPlatform::Desktop() {
  DesktopInfo info;
  SDL_DisplayMode mode;
  if (!EnsureVideo()) return info;
  if (SDL_GetDesktopDisplayMode(0, &mode) == 0) {
    info.width = mode.w;
    info.height = mode.h;
    info.depth = SDL_BITSPERPIXEL(mode.format) <= 16 ? 16 : 32;
  } else {
    ReportSdlFailure("SDL_GetDesktopDisplayMode");
  }
  return info;
}

}  // namespace velko::platform
