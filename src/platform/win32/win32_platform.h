// The Windows platform over the Win32 API alone: windows and their messages, frames shown with
// GDI, the keyboard from the key messages, sound through waveOut with our own mixing, GDI text,
// and full screen through a change of the display mode.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/win32/win32_api.h"

namespace velko::platform {

class Win32Platform final : public Platform {
 public:
  Win32Platform();
  ~Win32Platform() override;
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  std::uint32_t TickCount() override;
  std::int64_t PerformanceCounter() override;
  std::int64_t PerformanceFrequency() override;
  void SleepMilliseconds(std::uint32_t ms) override;
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
  bool CloseRequested() override { return closeRequested_; }
  std::unique_ptr<AudioDevice> OpenAudio() override;
  TextRaster RasterizeText(std::string_view textCp1252) override;

  // From the window procedure of this platform's windows.
  void Queue(const InputEvent& event) { events_.push_back(event); }
  void KeyChanged(int dik, bool held);
  void ForgetHeldKeys() { keys_.fill(0); }
  bool IsOwnWindow(HWND window) const;

 private:
  class TextRenderer;
  // Hands every waiting message to its window procedure.
  void PumpMessages();

  HINSTANCE instance_;
  bool timerPeriodSet_ = false;
  std::deque<InputEvent> events_;
  std::array<std::uint8_t, 256> keys_{};
  // A close request reached the game while it ran: from then on Escape reads as held.
  bool closeRequested_ = false;
  std::uint32_t nextWindowId_ = 1;
  std::unique_ptr<TextRenderer> text_;
};

// Window class of every window this platform makes, registered by the platform.
inline constexpr wchar_t kWindowClassName[] = L"VelkoWindow";
bool RegisterWindowClass(HINSTANCE instance);

// Windows-1252 and UTF-8 text as the wide strings of the Win32 API, and back.
std::wstring WideFromCp1252(std::string_view textCp1252);
std::wstring WideFromUtf8(std::string_view utf8);
std::string Utf8FromWide(std::wstring_view wide);

// The game's key code (DirectInput scan code) of a WM_KEYDOWN / WM_KEYUP message: the scan code
// of lParam bits 16-23, plus 0x80 for the extended keys (bit 24); 0 for none.
int DikFromKeyMessage(WPARAM virtualKey, LPARAM lParam);

// Display modes for full screen. The desktop's own mode comes back when the game's window is
// left, closed, or the program ends in any way, a crash included.
bool ApplyDisplayMode(const DisplayMode& mode);
void RestoreDesktopMode();
int CurrentRefreshRate();

}  // namespace velko::platform
