// Sound over SDL's own audio: one device opened with a callback that runs the software mixer
// over every playing buffer. Each buffer is converted to the device's rate and channel count
// once, by the shared mixer's rule, when it is made, so playing is a matter of moving a
// position under the device lock.
#include "platform/sdl/sdl_audio.h"

#include <SDL.h>

#include <vector>

#include "platform/sdl/sdl_platform.h"
#include "platform/software_mixer.h"

namespace velko::platform {
namespace {

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
    // Converted outside the lock: the audio thread goes on mixing meanwhile.
    std::vector<std::int16_t> converted =
        ConvertSamples(format, samples, obtained_.freq, obtained_.channels);
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
  // Touched by the audio thread: only under the device lock. Buffers are converted to the
  // device's rate and channel count before they are added.
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
