// The real game's platform over SDL2: the only place that includes SDL.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

struct SDL_Window;

namespace velko::platform {

class FrameStats;
class SdlPads;

// How frames reach the windows: decided once, at the first frame shown.
enum class PresentPath { Undecided, Surface, Renderer };

class SdlPlatform final : public Platform {
 public:
  SdlPlatform();
  ~SdlPlatform() override;
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  std::uint32_t TickCount() override;
  std::int64_t PerformanceCounter() override;
  std::int64_t PerformanceFrequency() override;
  void SleepMilliseconds(std::uint32_t ms) override;
  void SleepUntilCounter(std::int64_t deadline) override;
  std::string ExecutablePath() override;
  int MessageBox(std::string_view titleCp1252, std::string_view textCp1252) override;
  DesktopInfo Desktop() override;
  FrameInsets InsetsFor(const WindowRequest& request) override;
  std::unique_ptr<NativeWindow> CreateWindow(const WindowRequest& request) override;
  std::unique_ptr<NativeWindow> CreateFullScreen(const DisplayMode& mode,
                                                 std::string_view titleCp1252) override;
  bool PollEvent(InputEvent& event) override;
  bool WaitEvent(InputEvent& event) override;
  bool ReadKeys(std::array<std::uint8_t, 256>& keys) override;
  bool CloseRequested() override;
  std::unique_ptr<AudioDevice> OpenAudio() override;
  TextRaster RasterizeText(std::string_view textCp1252) override;
  bool VideoAvailable() override;

  // Video is started on first need; false when no display can be had.
  bool EnsureVideo();

  PresentPath ChosenPresentPath() const { return presentPath_; }
  void ChoosePresentPath(PresentPath path) { presentPath_ = path; }
  FrameStats& Stats() { return *stats_; }
  // Null until video has started.
  SdlPads* Pads() { return pads_.get(); }

 private:
  struct Fonts;
  bool videoStarted_ = false;
  bool videoFailed_ = false;
  // A close request reached the game while it ran: from then on Escape reads as held.
  bool closeRequested_ = false;
  // Termination signals received before this platform, and those already turned into Quit
  // events.
  int quitSignalsAtStart_ = 0;
  int quitSignalsReported_ = 0;
  // True, once per signal, when a termination signal is waiting to be reported.
  bool TakeQuitSignal();
  // An SDL event (given as the opaque SDL_Event) as the platform's; false for those the game
  // does not see.
  bool TranslateEvent(const union SDL_Event& sdl, InputEvent& event);
  std::unique_ptr<Fonts> fonts_;
  PresentPath presentPath_ = PresentPath::Undecided;
  std::unique_ptr<FrameStats> stats_;
  std::unique_ptr<SdlPads> pads_;
};

// DirectInput scan code of an SDL scancode, 0 for keys a PC keyboard does not have.
int DikFromSdlScancode(int sdlScancode);

// Catches SIGINT, SIGTERM and SIGHUP for the platform (before SDL starts); the count of those
// received so far.
void InstallQuitSignals();
int QuitSignalCount();

// X errors are reported on stderr instead of ending the process.
void KeepXErrorsFromEndingTheGame();

// Whether a window manager looks after the window's display (true where that cannot be told).
bool WindowManagerRunning(SDL_Window* window);

// One line on stderr: the SDL call that failed and SDL's reason.
void ReportSdlFailure(const char* call);

// The window's shown contents were lost: its next frame is shown whole.
void InvalidateShownFrame(std::uint32_t windowId);

}  // namespace velko::platform
