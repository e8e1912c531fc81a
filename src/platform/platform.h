// What the game needs from the machine beneath it: a clock, native windows with their input,
// presentation of finished frames, the keyboard, an audio device, text rasterising and a
// message box. Implementations: sdl/ for the real game on Linux, win32/ on Windows, and
// headless/ for tests and velko-sim. Nothing above this folder includes a platform header other
// than this one.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace velko::platform {

// A finished frame in the display's pixel format: RGB565 at 16 bits, XRGB8888 at 32.
struct FrameView {
  const void* pixels = nullptr;
  int pitch = 0;  // bytes from one row to the next
  int width = 0;
  int height = 0;
  int depth = 0;             // 16 or 32
  bool screenFrame = false;  // a frame of the game's screen (drives the headless clock)
};

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

struct DesktopInfo {
  int width = 1024;
  int height = 768;
  int depth = 32;  // bits per pixel a windowed screen takes
};

struct WindowRequest {
  std::string title;  // Windows-1252
  int x = 0;          // outer position (the window service works out centring)
  int y = 0;
  int clientWidth = 0;
  int clientHeight = 0;
  bool caption = true;
  bool systemMenu = false;  // close box
  bool minimiseBox = false;
  bool visible = true;
};

// Size of the frame a window adds around its client area (caption, borders).
struct FrameInsets {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

class NativeWindow {
 public:
  virtual ~NativeWindow() = default;
  virtual std::uint32_t Id() const = 0;  // non-zero, unique for the run
  virtual void SetTitle(std::string_view titleCp1252) = 0;
  virtual void SetVisible(bool visible) = 0;
  virtual void Raise() = 0;             // bring to the front and give it the focus
  virtual Rect ClientRect() const = 0;  // client area in desktop coordinates
  virtual FrameInsets Insets() const = 0;
  // Shows a finished frame in the client area: 1:1 from the top-left corner, or, for a full
  // screen window, scaled to fit with its aspect kept.
  virtual void Present(const FrameView& frame) = 0;
  virtual bool HasFocus() const = 0;
  // Refresh rate the display runs at while this window is shown, in Hz; 0 when unknown.
  virtual int RefreshRate() const { return 0; }
};

struct DisplayMode {
  int width = 800;
  int height = 600;
  int depth = 16;
  int refreshRate = 0;  // 0: the display's default
};

enum class EventType {
  None,
  MouseMove,
  MouseDown,
  MouseUp,
  KeyDown,
  KeyUp,
  Close,  // the close box of a window
  FocusGained,
  FocusLost,
  Exposed,  // the window's client area was lost and must be presented again
  Quit,     // the system asks the program to end (a signal, a logout); windowId 0
};

struct InputEvent {
  EventType type = EventType::None;
  std::uint32_t windowId = 0;  // NativeWindow::Id of the window it belongs to; 0 for none
  int x = 0;                   // mouse position in the window's client area
  int y = 0;
  int button = 0;    // 1 left, 2 middle, 3 right
  int scanCode = 0;  // DirectInput scan code (DIK_*), 0 when unknown
  bool shift = false;
  bool repeat = false;  // key auto-repeat
};

// A line of text rasterised as 8-bit coverage, 255 = ink.
struct TextRaster {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;  // width * height, top row first
};

struct WaveFormat {
  int formatTag = 1;  // 1 = PCM
  int channels = 1;
  int sampleRate = 22050;
  int bitsPerSample = 16;
  int blockAlign = 2;
};

class AudioDevice {
 public:
  virtual ~AudioDevice() = default;
  // Copies the samples into a new buffer; returns its id (non-zero) or 0 when refused.
  virtual int CreateBuffer(const WaveFormat& format, std::span<const std::uint8_t> samples) = 0;
  // Stops the buffer, rewinds it and starts it once or looping.
  virtual void Play(int buffer, bool loop) = 0;
  virtual void Stop(int buffer) = 0;
  virtual void FreeBuffer(int buffer) = 0;
};

class Platform {
 public:
  virtual ~Platform() = default;

  // False when no display can be had at all (no screen can ever open).
  virtual bool VideoAvailable() { return true; }
  // False when nothing ever looks at the presented frames (a replay without pictures): the
  // screen then composes a frame only when its pixels are read.
  virtual bool PresentedFramesSeen() { return true; }

  // Clock.
  virtual std::uint32_t TickCount() = 0;  // milliseconds, wrapping at 2^32
  virtual std::int64_t PerformanceCounter() = 0;
  virtual std::int64_t PerformanceFrequency() = 0;  // 0 when there is no such counter
  virtual void SleepMilliseconds(std::uint32_t ms) = 0;
  // Sleeps until PerformanceCounter() reaches `deadline` (an absolute reading), without
  // spinning. This default naps in whole milliseconds; a backend with an absolute sleep
  // wakes on time.
  virtual void SleepUntilCounter(std::int64_t deadline) {
    const std::int64_t frequency = PerformanceFrequency();
    if (frequency <= 0) return;
    for (std::int64_t now = PerformanceCounter(); now < deadline; now = PerformanceCounter()) {
      const std::int64_t ms = (deadline - now) * 1000 / frequency;
      SleepMilliseconds(static_cast<std::uint32_t>(ms > 0 ? ms : 1));
    }
  }

  // The full path of the running program (its directory is the program directory).
  virtual std::string ExecutablePath() = 0;

  // A modal box with one OK button; title and text in Windows-1252.
  virtual int MessageBox(std::string_view titleCp1252, std::string_view textCp1252) = 0;
  // One line for whoever started the program (standard error), not for the player's screen.
  virtual void ReportProblem(std::string_view line);

  // Windows and their input.
  virtual DesktopInfo Desktop() = 0;
  virtual FrameInsets InsetsFor(const WindowRequest& request) = 0;
  virtual std::unique_ptr<NativeWindow> CreateWindow(const WindowRequest& request) = 0;
  virtual std::unique_ptr<NativeWindow> CreateFullScreen(const DisplayMode& mode,
                                                         std::string_view titleCp1252) = 0;
  virtual bool PollEvent(InputEvent& event) = 0;
  // Blocks until an event arrives. False when no event can ever come (a headless script that
  // ran out); the caller then gives up waiting.
  virtual bool WaitEvent(InputEvent& event) = 0;

  // The keyboard: 256 bytes by DirectInput scan code, 0x80 = held, for the focused window of
  // the game. Returns false when the keys could not be read (the game has no focus).
  virtual bool ReadKeys(std::array<std::uint8_t, 256>& keys) = 0;
  // True once the game's window was asked to close, or the system asked the program to end,
  // as far as the last ReadKeys saw; the keyboard then reads Escape as held.
  virtual bool CloseRequested() { return false; }

  // Audio; null when no device can be had.
  virtual std::unique_ptr<AudioDevice> OpenAudio() = 0;

  // Text in the system font, black on white in the caller's hands.
  virtual TextRaster RasterizeText(std::string_view textCp1252) = 0;
};

// Windows-1252 to UTF-8 or UTF-16, for everything that reaches the platform's text APIs.
std::string Utf8FromCp1252(std::string_view text);
std::u16string Utf16FromCp1252(std::string_view text);

}  // namespace velko::platform
