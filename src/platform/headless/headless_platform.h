// The platform of tests and velko-sim: a virtual clock that moves only when told to (and by
// the frame time at each presented screen frame), scripted keys and events, in-memory
// windows, recorded sound and messages on stderr.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace velko::platform {

struct HeadlessOptions {
  std::string executablePath = "/nonexistent/velko";
  uint32_t startMs = 1000;
  uint32_t frameMs = 16;
  int desktopWidth = 1920;
  int desktopHeight = 1080;
  int desktopDepth = 32;
  bool audioAvailable = true;
  bool echoMessages = true;  // write message boxes to stderr
  bool keepFrames = true;    // copy every presented frame (tests); velko-sim turns it off
};

struct RecordedPlay {
  int buffer = 0;
  bool loop = false;
  uint32_t tick = 0;
};

struct RecordedFrame {
  std::uint32_t windowId = 0;
  int width = 0;
  int height = 0;
  int depth = 0;
  int pitch = 0;
  std::vector<std::uint8_t> pixels;
};

class HeadlessPlatform final : public Platform {
 public:
  explicit HeadlessPlatform(HeadlessOptions options = {});
  ~HeadlessPlatform() override;

  // Test and runner controls.
  void AdvanceClock(uint32_t ms) { clock_ += ms; }
  void SetClock(uint32_t ms) { clock_ = ms; }
  const HeadlessOptions& Options() const { return options_; }
  // Gives the key snapshot for a poll; polls count from 1.
  using KeySource = std::function<void(int poll, std::array<std::uint8_t, 256>& keys)>;
  void SetKeySource(KeySource source) { keySource_ = std::move(source); }
  int KeyPolls() const { return keyPolls_; }
  // While false, reading the keys fails as it does when the game's window lost the focus.
  void SetKeysReadable(bool readable) { keysReadable_ = readable; }
  // The game's window is asked to close (its close box, or a signal).
  void RequestClose() { closeRequested_ = true; }
  // Events are taken from the queue first, then from the source; none left ends a wait.
  using EventSource = std::function<bool(InputEvent& event)>;
  void SetEventSource(EventSource source) { eventSource_ = std::move(source); }
  void QueueEvent(const InputEvent& event) { queuedEvents_.push_back(event); }
  const std::vector<std::string>& Messages() const { return messages_; }
  // The lines reported for standard error, in order.
  const std::vector<std::string>& Problems() const { return problems_; }
  const std::vector<RecordedPlay>& Plays() const { return plays_; }
  // Sample bytes of each live audio buffer, by id.
  const std::map<int, std::vector<std::uint8_t>>& AudioBuffers() const { return audioBuffers_; }
  const RecordedFrame& LastFrame() const { return lastFrame_; }
  int FramesPresented() const { return framesPresented_; }
  std::vector<std::uint32_t> OpenWindowIds() const;
  // What the game gave back, in order: "window N", "sound buffer N", "audio" (the device).
  const std::vector<std::string>& Releases() const { return releases_; }

  // Platform.
  bool PresentedFramesSeen() override { return options_.keepFrames; }
  std::uint32_t TickCount() override { return clock_; }
  std::int64_t PerformanceCounter() override { return static_cast<std::int64_t>(clock_) * 1000; }
  // No performance counter: the screen keeps no frame cap, the virtual clock paces instead.
  std::int64_t PerformanceFrequency() override { return 0; }
  void SleepMilliseconds(std::uint32_t) override {}
  std::string ExecutablePath() override { return options_.executablePath; }
  int MessageBox(std::string_view titleCp1252, std::string_view textCp1252) override;
  void ReportProblem(std::string_view line) override;
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

 private:
  friend class HeadlessWindow;
  friend class HeadlessAudio;
  void RecordFrame(std::uint32_t windowId, const FrameView& frame);

  HeadlessOptions options_;
  uint32_t clock_ = 0;
  KeySource keySource_;
  int keyPolls_ = 0;
  bool keysReadable_ = true;
  bool closeRequested_ = false;
  EventSource eventSource_;
  std::deque<InputEvent> queuedEvents_;
  std::vector<std::string> messages_;
  std::vector<std::string> problems_;
  std::vector<RecordedPlay> plays_;
  std::map<int, std::vector<std::uint8_t>> audioBuffers_;
  int nextAudioBuffer_ = 1;
  RecordedFrame lastFrame_;
  int framesPresented_ = 0;
  std::uint32_t nextWindowId_ = 1;
  std::map<std::uint32_t, bool> openWindows_;
  std::vector<std::string> releases_;
};

}  // namespace velko::platform
