// Sound through waveOut, which every Windows (and Wine) plays: a thread of our own mixes the
// playing buffers into a short ring of wave headers and hands each back to the device as soon
// as it is done with it.
#include <array>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/software_mixer.h"
#include "platform/win32/win32_platform.h"

namespace velko::platform {
namespace {

constexpr int kOutputRate = 44100;
constexpr int kOutputChannels = 2;
// Three blocks of about 12 ms: a crash is heard with the bounce, and the mixing thread has
// two blocks of slack.
constexpr std::size_t kBlockFrames = 512;
constexpr std::size_t kBlocks = 3;

class Win32Audio final : public AudioDevice {
 public:
  Win32Audio() : mixer_(kOutputRate, kOutputChannels) {}
  ~Win32Audio() override {
    if (thread_.joinable()) {
      {
        std::lock_guard lock(mutex_);
        stopping_ = true;
      }
      ::SetEvent(blockDone_);
      thread_.join();
    }
    if (device_ != nullptr) {
      ::waveOutReset(device_);
      for (Block& block : blocks_) {
        if (block.prepared) ::waveOutUnprepareHeader(device_, &block.header, sizeof block.header);
      }
      ::waveOutClose(device_);
    }
    if (blockDone_ != nullptr) ::CloseHandle(blockDone_);
  }
  Win32Audio(const Win32Audio&) = delete;
  Win32Audio& operator=(const Win32Audio&) = delete;

  bool Open() {
    blockDone_ = ::CreateEventW(nullptr, FALSE, FALSE, nullptr);
    if (blockDone_ == nullptr) return false;
    WAVEFORMATEX format{};
    format.wFormatTag = WAVE_FORMAT_PCM;
    format.nChannels = kOutputChannels;
    format.nSamplesPerSec = kOutputRate;
    format.wBitsPerSample = 16;
    format.nBlockAlign = static_cast<WORD>(format.nChannels * format.wBitsPerSample / 8);
    format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
    if (::waveOutOpen(&device_, WAVE_MAPPER, &format, reinterpret_cast<DWORD_PTR>(blockDone_), 0,
                      CALLBACK_EVENT) != MMSYSERR_NOERROR) {
      device_ = nullptr;
      return false;
    }
    for (Block& block : blocks_) {
      block.samples.assign(kBlockFrames * kOutputChannels, 0);
      block.header.lpData = reinterpret_cast<LPSTR>(block.samples.data());
      block.header.dwBufferLength = static_cast<DWORD>(block.samples.size() * sizeof(std::int16_t));
      if (::waveOutPrepareHeader(device_, &block.header, sizeof block.header) != MMSYSERR_NOERROR) {
        return false;
      }
      block.prepared = true;
    }
    // Silence first, so the device runs from the start and a sound waits at most a block.
    for (Block& block : blocks_) {
      if (::waveOutWrite(device_, &block.header, sizeof block.header) != MMSYSERR_NOERROR) {
        return false;
      }
    }
    thread_ = std::thread([this] { Run(); });
    return true;
  }

  int CreateBuffer(const WaveFormat& format, std::span<const std::uint8_t> samples) override {
    // Converted outside the lock: the mixing thread never waits for it.
    std::vector<std::int16_t> converted =
        ConvertSamples(format, samples, kOutputRate, kOutputChannels);
    std::lock_guard lock(mutex_);
    return mixer_.AddConverted(std::move(converted));
  }
  void Play(int buffer, bool loop) override {
    std::lock_guard lock(mutex_);
    mixer_.Play(buffer, loop);
  }
  void Stop(int buffer) override {
    std::lock_guard lock(mutex_);
    mixer_.Stop(buffer);
  }
  void FreeBuffer(int buffer) override {
    std::lock_guard lock(mutex_);
    mixer_.Free(buffer);
  }

 private:
  struct Block {
    WAVEHDR header{};
    std::vector<std::int16_t> samples;
    bool prepared = false;
  };

  void Run() {
    for (;;) {
      ::WaitForSingleObject(blockDone_, INFINITE);
      std::lock_guard lock(mutex_);
      if (stopping_) return;
      for (Block& block : blocks_) {
        if ((block.header.dwFlags & WHDR_DONE) == 0) continue;
        mixer_.Mix(block.samples);
        block.header.dwFlags &= ~static_cast<DWORD>(WHDR_DONE);
        ::waveOutWrite(device_, &block.header, sizeof block.header);
      }
    }
  }

  HWAVEOUT device_ = nullptr;
  HANDLE blockDone_ = nullptr;
  std::array<Block, kBlocks> blocks_;
  std::thread thread_;
  std::mutex mutex_;  // guards the mixer and stopping_
  SoftwareMixer mixer_;
  bool stopping_ = false;
};

}  // namespace

std::unique_ptr<AudioDevice> Win32Platform::OpenAudio() {
  auto audio = std::make_unique<Win32Audio>();
  if (!audio->Open()) return nullptr;
  return audio;
}

}  // namespace velko::platform
