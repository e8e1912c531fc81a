#include "platform/headless/headless_platform.h"

#include "platform/sound_samples.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

namespace velko::platform {

class HeadlessWindow final : public NativeWindow {
 public:
  HeadlessWindow(HeadlessPlatform& platform, std::uint32_t id, Rect client, FrameInsets insets,
                 bool visible)
      : platform_(platform), id_(id), client_(client), insets_(insets), visible_(visible) {
    platform_.openWindows_[id_] = true;
  }
  ~HeadlessWindow() override {
    platform_.openWindows_.erase(id_);
    platform_.releases_.push_back("window " + std::to_string(id_));
  }

  std::uint32_t Id() const override { return id_; }
  void SetTitle(std::string_view title) override { title_ = title; }
  void SetVisible(bool visible) override { visible_ = visible; }
  void Raise() override {}
  Rect ClientRect() const override { return client_; }
  FrameInsets Insets() const override { return insets_; }
  void Present(const FrameView& frame) override { platform_.RecordFrame(id_, frame); }
  bool HasFocus() const override { return true; }

 private:
  HeadlessPlatform& platform_;
  std::uint32_t id_;
  Rect client_;
  FrameInsets insets_;
  bool visible_;
  std::string title_;
};

class HeadlessAudio final : public AudioDevice {
 public:
  explicit HeadlessAudio(HeadlessPlatform& platform) : platform_(platform) {}
  ~HeadlessAudio() override { platform_.releases_.push_back("audio"); }

  int CreateBuffer(const WaveFormat& format, std::span<const std::uint8_t> samples) override {
    if (!SamplesPlayable(format, samples.size())) return 0;
    const int id = platform_.nextAudioBuffer_++;
    platform_.audioBuffers_[id].assign(samples.begin(), samples.end());
    return id;
  }
  void Play(int buffer, bool loop) override {
    if (platform_.audioBuffers_.count(buffer) == 0) return;
    platform_.plays_.push_back({buffer, loop, platform_.clock_});
  }
  void Stop(int) override {}
  void FreeBuffer(int buffer) override {
    if (platform_.audioBuffers_.erase(buffer) != 0) {
      platform_.releases_.push_back("sound buffer " + std::to_string(buffer));
    }
  }

 private:
  HeadlessPlatform& platform_;
};

HeadlessPlatform::HeadlessPlatform(HeadlessOptions options)
    : options_(std::move(options)), clock_(options_.startMs) {}

HeadlessPlatform::~HeadlessPlatform() = default;

int HeadlessPlatform::MessageBox(std::string_view titleCp1252, std::string_view textCp1252) {
  std::string line = Utf8FromCp1252(titleCp1252) + ": " + Utf8FromCp1252(textCp1252);
  if (options_.echoMessages) std::fprintf(stderr, "%s\n", line.c_str());
  messages_.push_back(std::move(line));
  return 1;
}

void HeadlessPlatform::ReportProblem(std::string_view line) {
  if (options_.echoMessages) Platform::ReportProblem(line);
  problems_.emplace_back(line);
}

DesktopInfo HeadlessPlatform::Desktop() {
  return {options_.desktopWidth, options_.desktopHeight, options_.desktopDepth};
}

FrameInsets HeadlessPlatform::InsetsFor(const WindowRequest& request) {
  // A plain border of 3 pixels, and a caption of 20 above the client area.
  if (!request.caption) return {};
  return {3, 23, 3, 3};
}

std::unique_ptr<NativeWindow> HeadlessPlatform::CreateWindow(const WindowRequest& request) {
  const FrameInsets insets = InsetsFor(request);
  const Rect client{request.x + insets.left, request.y + insets.top, request.clientWidth,
                    request.clientHeight};
  return std::make_unique<HeadlessWindow>(*this, nextWindowId_++, client, insets, request.visible);
}

std::unique_ptr<NativeWindow> HeadlessPlatform::CreateFullScreen(const DisplayMode& mode,
                                                                 std::string_view titleCp1252) {
  auto window = std::make_unique<HeadlessWindow>(
      *this, nextWindowId_++, Rect{0, 0, mode.width, mode.height}, FrameInsets{}, true);
  window->SetTitle(titleCp1252);
  return window;
}

bool HeadlessPlatform::PollEvent(InputEvent& event) {
  if (!queuedEvents_.empty()) {
    event = queuedEvents_.front();
    queuedEvents_.pop_front();
    return true;
  }
  return eventSource_ && eventSource_(event);
}

bool HeadlessPlatform::WaitEvent(InputEvent& event) {
  return PollEvent(event);
}

bool HeadlessPlatform::ReadKeys(std::array<std::uint8_t, 256>& keys) {
  ++keyPolls_;
  if (!keysReadable_) return false;
  keys.fill(0);
  if (keySource_) keySource_(keyPolls_, keys);
  return true;
}

std::unique_ptr<AudioDevice> HeadlessPlatform::OpenAudio() {
  if (!options_.audioAvailable) return nullptr;
  return std::make_unique<HeadlessAudio>(*this);
}

TextRaster HeadlessPlatform::RasterizeText(std::string_view textCp1252) {
  // A fixed cell of 8 x 16 per character with a solid bar as ink: enough to see where text
  // lands, and independent of any font.
  TextRaster raster;
  raster.width = static_cast<int>(textCp1252.size()) * 8;
  raster.height = 16;
  raster.coverage.assign(static_cast<size_t>(raster.width * raster.height), 0);
  if (raster.width == 0) return raster;
  // Every inked row is the same: the first is drawn, the seven below copied from it (velko-sim
  // rasterises the status line of every frame).
  const auto rowBytes = static_cast<size_t>(raster.width);
  std::uint8_t* const first = raster.coverage.data() + 4 * rowBytes;
  for (size_t i = 0; i < textCp1252.size(); ++i) {
    if (textCp1252[i] != ' ') std::memset(first + i * 8 + 1, 255, 6);
  }
  for (size_t y = 5; y < 12; ++y)
    std::memcpy(raster.coverage.data() + y * rowBytes, first, rowBytes);
  return raster;
}

void HeadlessPlatform::RecordFrame(std::uint32_t windowId, const FrameView& frame) {
  if (frame.screenFrame) {
    ++framesPresented_;
    clock_ += options_.frameMs;
  }
  if (!options_.keepFrames) return;
  lastFrame_.windowId = windowId;
  lastFrame_.width = frame.width;
  lastFrame_.height = frame.height;
  lastFrame_.depth = frame.depth;
  const int bytesPerPixel = frame.depth / 8;
  lastFrame_.pitch = frame.width * bytesPerPixel;
  lastFrame_.pixels.resize(static_cast<size_t>(lastFrame_.pitch) *
                           static_cast<size_t>(frame.height));
  const auto* source = static_cast<const std::uint8_t*>(frame.pixels);
  for (int row = 0; row < frame.height && source != nullptr; ++row) {
    std::memcpy(lastFrame_.pixels.data() + static_cast<size_t>(row * lastFrame_.pitch),
                source + static_cast<size_t>(row) * static_cast<size_t>(frame.pitch),
                static_cast<size_t>(lastFrame_.pitch));
  }
}

std::vector<std::uint32_t> HeadlessPlatform::OpenWindowIds() const {
  std::vector<std::uint32_t> ids;
  for (const auto& [id, open] : openWindows_) ids.push_back(id);
  return ids;
}

}  // namespace velko::platform
