// A headless platform that also remembers the windows asked of it and can refuse them, and
// small helpers to feed input events to the window service.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"
#include "services/windows/window_service.h"

namespace velko::testing {

class SpyPlatform final : public platform::Platform {
 public:
  explicit SpyPlatform(platform::HeadlessOptions options = {}) : headless_(options) {}

  platform::HeadlessPlatform& Headless() { return headless_; }
  std::vector<platform::WindowRequest> requests;
  std::vector<platform::DisplayMode> fullScreens;  // every full-screen mode asked for
  bool refuseWindows = false;

  std::uint32_t TickCount() override { return headless_.TickCount(); }
  std::int64_t PerformanceCounter() override { return headless_.PerformanceCounter(); }
  std::int64_t PerformanceFrequency() override { return headless_.PerformanceFrequency(); }
  void SleepMilliseconds(std::uint32_t ms) override { headless_.SleepMilliseconds(ms); }
  std::string ExecutablePath() override { return headless_.ExecutablePath(); }
  int MessageBox(std::string_view title, std::string_view text) override {
    return headless_.MessageBox(title, text);
  }
  platform::DesktopInfo Desktop() override { return headless_.Desktop(); }
  platform::FrameInsets InsetsFor(const platform::WindowRequest& request) override {
    return headless_.InsetsFor(request);
  }
  std::unique_ptr<platform::NativeWindow> CreateWindow(
      const platform::WindowRequest& request) override {
    requests.push_back(request);
    if (refuseWindows) return nullptr;
    return headless_.CreateWindow(request);
  }
  std::unique_ptr<platform::NativeWindow> CreateFullScreen(const platform::DisplayMode& mode,
                                                           std::string_view title) override {
    fullScreens.push_back(mode);
    return headless_.CreateFullScreen(mode, title);
  }
  bool PollEvent(platform::InputEvent& event) override { return headless_.PollEvent(event); }
  bool WaitEvent(platform::InputEvent& event) override { return headless_.WaitEvent(event); }
  bool ReadKeys(std::array<std::uint8_t, 256>& keys) override { return headless_.ReadKeys(keys); }
  std::unique_ptr<platform::AudioDevice> OpenAudio() override { return headless_.OpenAudio(); }
  platform::TextRaster RasterizeText(std::string_view text) override {
    return headless_.RasterizeText(text);
  }

 private:
  platform::HeadlessPlatform headless_;
};

// Feeds events to one window of the service and takes each through a wait.
class WindowDriver {
 public:
  WindowDriver(platform::HeadlessPlatform& platform, WindowService& windows, int32_t window)
      : platform_(platform), windows_(windows), window_(window) {}

  int32_t Send(platform::InputEvent event) {
    event.windowId = windows_.NativeIdOf(window_);
    platform_.QueueEvent(event);
    return windows_.EventWait();
  }
  int32_t Move(int x, int y) { return Send(Mouse(platform::EventType::MouseMove, x, y)); }
  int32_t Down(int x, int y) { return Send(Mouse(platform::EventType::MouseDown, x, y)); }
  int32_t Up(int x, int y) { return Send(Mouse(platform::EventType::MouseUp, x, y)); }
  // Mouse down and up at the same place; the result of the release.
  int32_t Click(int x, int y) {
    Down(x, y);
    return Up(x, y);
  }
  int32_t ClickGadget(int32_t number) {
    const platform::Rect face = windows_.GadgetFaceRect(number).value_or(platform::Rect{});
    return Click(face.x + face.width / 2, face.y + face.height / 2);
  }
  int32_t KeyDown(int scanCode, bool shift = false) {
    platform::InputEvent event;
    event.type = platform::EventType::KeyDown;
    event.scanCode = scanCode;
    event.shift = shift;
    return Send(event);
  }
  int32_t KeyUp(int scanCode, bool shift = false) {
    platform::InputEvent event;
    event.type = platform::EventType::KeyUp;
    event.scanCode = scanCode;
    event.shift = shift;
    return Send(event);
  }
  // Key down and up; the result of the release.
  int32_t Press(int scanCode, bool shift = false) {
    KeyDown(scanCode, shift);
    return KeyUp(scanCode, shift);
  }

 private:
  static platform::InputEvent Mouse(platform::EventType type, int x, int y) {
    platform::InputEvent event;
    event.type = type;
    event.x = x;
    event.y = y;
    event.button = 1;
    return event;
  }
  platform::HeadlessPlatform& platform_;
  WindowService& windows_;
  int32_t window_;
};

// The display-mode dialog's window and gadgets, as the game makes them.
inline WindowHandle BuildDialog(WindowService& windows) {
  const WindowHandle window =
      windows.WindowOpen(1, 0, 0, 300, 180, 0x00CA0001, "Project Velko Alpha 0.5");
  windows.GadgetList(window);
  windows.GadgetText(3, 50, 10, 200, 30, "Veillez choisir votre mode d'affichage :", 0);
  windows.GadgetDropDown(1, 75, 45, 130, 100, 0);
  windows.GadgetItemAdd(1, 0, "16 bits");
  windows.GadgetItemAdd(1, 1, "32 bits");
  windows.GadgetCheckBox(3, 80, 80, 150, 20, "Mode fenestr\xE9 (800*600)", 0);
  windows.GadgetCheckBox(4, 80, 100, 150, 20,
                         "Couleurs alterr\xE9"
                         "es",
                         0);
  windows.GadgetCheckBox(5, 80, 120, 200, 20, "Forcer Ecran \xE0 75 Hz", 0);
  windows.GadgetButton(2, 120, 145, 60, 20, "OK", 1);
  windows.WindowActivate();
  return window;
}

}  // namespace velko::testing
