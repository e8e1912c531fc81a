// Full-screen display modes. A mode is set as a temporary one (CDS_FULLSCREEN): the system
// keeps the desktop's mode in its settings, and putting it back is a change to "no mode". The
// program puts it back itself whenever the game leaves the display, and also when it dies of
// an unhandled exception, an abort or a terminate, so a crash never leaves the player's
// desktop in 800 x 600.
#include <atomic>
#include <csignal>
#include <cstdlib>
#include <exception>

#include "platform/win32/win32_platform.h"

namespace velko::platform {
namespace {

std::atomic<bool> modeChanged{false};
std::atomic<bool> crashHandlersInstalled{false};
LPTOP_LEVEL_EXCEPTION_FILTER previousFilter = nullptr;
std::terminate_handler previousTerminate = nullptr;

LONG WINAPI RestoreOnException(EXCEPTION_POINTERS* exception) {
  RestoreDesktopMode();
  return previousFilter != nullptr ? previousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

void RestoreOnTerminate() {
  RestoreDesktopMode();
  if (previousTerminate != nullptr) previousTerminate();
  std::abort();
}

extern "C" void RestoreOnAbort(int) {
  RestoreDesktopMode();
}

void InstallCrashHandlers() {
  if (crashHandlersInstalled.exchange(true)) return;
  previousFilter = ::SetUnhandledExceptionFilter(&RestoreOnException);
  previousTerminate = std::set_terminate(&RestoreOnTerminate);
  std::signal(SIGABRT, &RestoreOnAbort);
}

bool ChangeTo(const DisplayMode& mode) {
  DEVMODEW settings{};
  settings.dmSize = sizeof settings;
  settings.dmPelsWidth = static_cast<DWORD>(mode.width);
  settings.dmPelsHeight = static_cast<DWORD>(mode.height);
  settings.dmBitsPerPel = static_cast<DWORD>(mode.depth);
  settings.dmFields = DM_PELSWIDTH | DM_PELSHEIGHT | DM_BITSPERPEL;
  if (mode.refreshRate != 0) {
    settings.dmDisplayFrequency = static_cast<DWORD>(mode.refreshRate);
    settings.dmFields |= DM_DISPLAYFREQUENCY;
  }
  return ::ChangeDisplaySettingsExW(nullptr, &settings, nullptr, CDS_FULLSCREEN, nullptr) ==
         DISP_CHANGE_SUCCESSFUL;
}

}  // namespace

bool ApplyDisplayMode(const DisplayMode& mode) {
  InstallCrashHandlers();
  // Marked first: a crash during the change still puts the desktop back.
  modeChanged = true;
  if (ChangeTo(mode)) return true;
  // Windows 8 and later offer no 16-bit modes. The frames are converted as they are shown, so
  // the game's depth needs no mode of its own: the same size and rate at 32 bits will do.
  if (mode.depth != 32) {
    DisplayMode deeper = mode;
    deeper.depth = 32;
    if (ChangeTo(deeper)) return true;
  }
  RestoreDesktopMode();
  return false;
}

void RestoreDesktopMode() {
  if (!modeChanged.exchange(false)) return;
  ::ChangeDisplaySettingsExW(nullptr, nullptr, nullptr, 0, nullptr);
}

int CurrentRefreshRate() {
  DEVMODEW current{};
  current.dmSize = sizeof current;
  if (!::EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &current)) return 0;
  // 0 and 1 stand for the hardware's default rate, which is not known.
  return current.dmDisplayFrequency > 1 ? static_cast<int>(current.dmDisplayFrequency) : 0;
}

}  // namespace velko::platform
