// Sound over SDL's own audio: one device opened with a callback that runs the software mixer
// over every playing buffer. Each buffer is converted to the device's format once, by SDL, when
// it is made, so playing is a matter of moving a position under the device lock.
#include "platform/sdl/sdl_audio.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/sdl/sdl_platform.h"
#include "platform/software_mixer.h"

namespace velko::platform {
namespace {

constexpr int kWavePcm = 1;
constexpr int kWaveFloat = 3;
// Rates a sound buffer may have; outside them a buffer is refused rather than resampled.
constexpr int kMinSampleRate = 100;
constexpr int kMaxSampleRate = 384000;
// Converted samples of one buffer may not take more than this.
constexpr std::size_t kMaxConvertedBytes = std::size_t{256} << 20;

// Holds the device lock for one scope.
class DeviceLock {
 public:
  explicit DeviceLock(SDL_AudioDeviceID device) : device_(device) { SDL_LockAudioDevice(device_); }
  ~DeviceLock() { SDL_UnlockAudioDevice(device_); }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  SDL_AudioDeviceID device_;
};

struct StreamDeleter {
  void operator()(SDL_AudioStream* stream) const { SDL_FreeAudioStream(stream); }
};
using StreamPtr = std::unique_ptr<SDL_AudioStream, StreamDeleter>;

// The samples as SDL can take them: SDL has no 24-bit or 64-bit float format, so those are
// widened or narrowed first into `prepared`, and `samples` then points there. Returns the SDL
// format, 0 when the format cannot be played.
SDL_AudioFormat PrepareSamples(const WaveFormat& format, std::span<const std::uint8_t>& samples,
                               std::vector<std::uint8_t>& prepared) {
  const int containerBytes = (format.bitsPerSample + 7) / 8;
  if (format.channels <= 0 || format.blockAlign != format.channels * containerBytes) return 0;
  if (format.formatTag == kWavePcm) {
    switch (containerBytes) {
      case 1:
        return AUDIO_U8;
      case 2:
        return AUDIO_S16LSB;
      case 3: {
        const std::size_t count = samples.size() / 3;
        prepared.resize(count * 4);
        for (std::size_t i = 0; i < count; ++i) {
          prepared[i * 4] = 0;
          std::memcpy(&prepared[i * 4 + 1], &samples[i * 3], 3);
        }
        samples = prepared;
        return AUDIO_S32LSB;
      }
      case 4:
        return AUDIO_S32LSB;
      default:
        return 0;
    }
  }
  if (format.formatTag == kWaveFloat) {
    if (containerBytes == 4) return AUDIO_F32LSB;
    if (containerBytes != 8) return 0;
    const std::size_t count = samples.size() / 8;
    prepared.resize(count * 4);
    for (std::size_t i = 0; i < count; ++i) {
      std::uint64_t bits = 0;
      for (int b = 7; b >= 0; --b)
        bits = (bits << 8) | samples[i * 8 + static_cast<std::size_t>(b)];
      double value;
      std::memcpy(&value, &bits, sizeof value);
      const float narrow = static_cast<float>(std::clamp(value, -1.0, 1.0));
      std::uint32_t narrowBits;
      std::memcpy(&narrowBits, &narrow, sizeof narrowBits);
      for (int b = 0; b < 4; ++b) {
        prepared[i * 4 + static_cast<std::size_t>(b)] =
            static_cast<std::uint8_t>(narrowBits >> (8 * b));
      }
    }
    samples = prepared;
    return AUDIO_F32LSB;
  }
  return 0;
}

class SdlAudio final : public AudioDevice {
 public:
  SdlAudio() = default;
  ~SdlAudio() override {
    if (device_ != 0) SDL_CloseAudioDevice(device_);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }
  SdlAudio(const SdlAudio&) = delete;
  SdlAudio& operator=(const SdlAudio&) = delete;

  // The audio subsystem was started by the caller; on false the destructor undoes that.
  bool Open() {
    SDL_AudioSpec want{};
    want.freq = 44100;
    want.format = AUDIO_S16SYS;
    want.channels = 2;
    want.samples = 512;  // about 12 ms: a crash is heard with the bounce
    want.callback = &SdlAudio::Mix;
    want.userdata = this;
    // The mixer works in 16-bit samples, so SDL converts for the hardware if it must; rate and
    // channel count are taken as the device has them and the buffers are made to match.
    device_ =
        SDL_OpenAudioDevice(nullptr, 0, &want, &obtained_,
                            SDL_AUDIO_ALLOW_FREQUENCY_CHANGE | SDL_AUDIO_ALLOW_CHANNELS_CHANGE);
    if (device_ == 0) {
      ReportSdlFailure("SDL_OpenAudioDevice");
      return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  int CreateBuffer(const WaveFormat& format, std::span<const std::uint8_t> samples) override {
    if (format.sampleRate < kMinSampleRate || format.sampleRate > kMaxSampleRate) return 0;
    std::vector<std::uint8_t> prepared;
    std::span<const std::uint8_t> input = samples;
    const SDL_AudioFormat source = PrepareSamples(format, input, prepared);
    if (source == 0) return 0;

    const std::size_t sourceFrameBytes =
        static_cast<std::size_t>(format.channels) * (SDL_AUDIO_BITSIZE(source) / 8);
    const std::size_t frames = input.size() / sourceFrameBytes;
    const double outputBytes = static_cast<double>(frames) * obtained_.freq / format.sampleRate *
                               obtained_.channels * sizeof(Sint16);
    if (frames == 0 || outputBytes > static_cast<double>(kMaxConvertedBytes)) return 0;

    StreamPtr stream(SDL_NewAudioStream(source, static_cast<Uint8>(format.channels),
                                        format.sampleRate, AUDIO_S16SYS, obtained_.channels,
                                        obtained_.freq));
    if (!stream) {
      ReportSdlFailure("SDL_NewAudioStream");
      return 0;
    }
    if (SDL_AudioStreamPut(stream.get(), input.data(),
                           static_cast<int>(frames * sourceFrameBytes)) != 0 ||
        SDL_AudioStreamFlush(stream.get()) != 0) {
      ReportSdlFailure("SDL_AudioStreamPut");
      return 0;
    }
    std::vector<std::int16_t> converted(
        static_cast<std::size_t>(SDL_AudioStreamAvailable(stream.get())) / sizeof(Sint16));
    const int got = SDL_AudioStreamGet(stream.get(), converted.data(),
                                       static_cast<int>(converted.size() * sizeof(Sint16)));
    if (got <= 0) {
      if (got < 0) ReportSdlFailure("SDL_AudioStreamGet");
      return 0;
    }
    converted.resize(static_cast<std::size_t>(got) / sizeof(Sint16));

    DeviceLock lock(device_);
    return mixer_.AddConverted(std::move(converted));
  }

  void Play(int buffer, bool loop) override {
    DeviceLock lock(device_);
    mixer_.Play(buffer, loop);
  }

  void Stop(int buffer) override {
    DeviceLock lock(device_);
    mixer_.Stop(buffer);
  }

  void FreeBuffer(int buffer) override {
    DeviceLock lock(device_);
    mixer_.Free(buffer);
  }

 private:
  // Runs on SDL's audio thread with the device lock held.
  static void SDLCALL Mix(void* userdata, Uint8* stream, int length) {
    static_cast<SdlAudio*>(userdata)->MixInto(stream, length);
  }

  void MixInto(Uint8* stream, int length) {
    mixer_.Mix(std::span(reinterpret_cast<std::int16_t*>(stream),
                         static_cast<std::size_t>(length) / sizeof(std::int16_t)));
  }

  SDL_AudioDeviceID device_ = 0;
  SDL_AudioSpec obtained_{};
  // Touched by the audio thread: only under the device lock. Buffers come converted by SDL, so
  // the mixer's own rate and channel count are never used.
  SoftwareMixer mixer_{0, 0};
};

}  // namespace

std::unique_ptr<AudioDevice> SdlPlatform::OpenAudio() {
  // Audio alone: sounds need no display.
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
    ReportSdlFailure("SDL_InitSubSystem(SDL_INIT_AUDIO)");
    return nullptr;
  }
  auto audio = std::make_unique<SdlAudio>();
  if (!audio->Open()) return nullptr;
  return audio;
}

std::vector<std::string> SdlAudioDriverNames() {
  std::vector<std::string> names;
  const int count = SDL_GetNumAudioDrivers();
  for (int i = 0; i < count; ++i) names.emplace_back(SDL_GetAudioDriver(i));
  return names;
}

}  // namespace velko::platform
