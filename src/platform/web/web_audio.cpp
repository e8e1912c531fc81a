// Sound over Web Audio: each buffer becomes an AudioBuffer at its own rate (the browser
// resamples), its samples decoded by the shared rule into the planar floats Web Audio takes. The
// page resumes the audio context at the first key or click, as browsers require.
#include <emscripten.h>

#include <vector>

#include "platform/sound_samples.h"
#include "platform/web/web_platform.h"

// Calls into the page script (velko_page.js).
EM_JS(int, velko_audio_open, (), { return VelkoPage.audioOpen(); });
EM_JS(void, velko_audio_close, (), { VelkoPage.audioClose(); });
EM_JS(int, velko_audio_buffer, (int channels, int frames, int rate, const float* planar),
      { return VelkoPage.audioBuffer(channels, frames, rate, planar); });
EM_JS(void, velko_audio_play, (int id, int loop), { VelkoPage.audioPlay(id, loop); });
EM_JS(void, velko_audio_stop, (int id), { VelkoPage.audioStop(id); });
EM_JS(void, velko_audio_free, (int id), { VelkoPage.audioFree(id); });

namespace velko::platform {
namespace {

class WebAudio final : public AudioDevice {
 public:
  ~WebAudio() override { velko_audio_close(); }

  int CreateBuffer(const WaveFormat& format, std::span<const std::uint8_t> samples) override {
    if (!SamplesPlayable(format, samples.size())) return 0;
    const std::size_t frames = FrameCount(format, samples.size());
    const auto channels = static_cast<std::size_t>(format.channels);
    if (frames > kMaxPlayableBytes / sizeof(float) / channels) return 0;
    std::vector<float> planar(frames * channels);
    for (std::size_t frame = 0; frame < frames; ++frame) {
      for (int channel = 0; channel < format.channels; ++channel) {
        planar[static_cast<std::size_t>(channel) * frames + frame] =
            SampleAt(format, samples, frame, channel);
      }
    }
    // The browser refuses sizes it cannot take: the buffer is then refused too.
    return velko_audio_buffer(format.channels, static_cast<int>(frames), format.sampleRate,
                              planar.data());
  }
  void Play(int buffer, bool loop) override { velko_audio_play(buffer, loop ? 1 : 0); }
  void Stop(int buffer) override { velko_audio_stop(buffer); }
  void FreeBuffer(int buffer) override { velko_audio_free(buffer); }
};

}  // namespace

std::unique_ptr<AudioDevice> WebPlatform::OpenAudio() {
  // Without Web Audio the game says it has no sound and plays on in silence.
  if (velko_audio_open() == 0) return nullptr;
  return std::make_unique<WebAudio>();
}

}  // namespace velko::platform
