// The game in a web page: the platform over the browser, through the page scripts (velko_*.js)
// that own the canvas, the clock, the input events (keys, touch controls, gamepads), Web Audio,
// IndexedDB and downloads. The game's blocking waits (the dialog's event wait, a frame's
// presentation and pacing, a sleep, a message box) yield to the browser through Asyncify.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"

namespace velko::platform {

class WebPlatform final : public Platform {
 public:
  WebPlatform();
  ~WebPlatform() override = default;
  WebPlatform(const WebPlatform&) = delete;
  WebPlatform& operator=(const WebPlatform&) = delete;

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
  // A demo dropped onto the page ends the run as closing the window does.
  bool CloseRequested() override;
  std::unique_ptr<AudioDevice> OpenAudio() override;
  TextRaster RasterizeText(std::string_view textCp1252) override;
};

// Shows the end of the game in the page and waits for the player to ask for another.
void WaitForReplay();

}  // namespace velko::platform
