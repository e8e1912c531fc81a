// Sound over Web Audio: each buffer becomes an AudioBuffer at its own rate (the browser
// resamples), its samples widened here to the planar floats Web Audio takes. The page resumes
// the audio context at the first key or click, as browsers require.
#include <emscripten.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

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

constexpr int kWavePcm = 1;
constexpr int kWaveFloat = 3;

// One sample, little-endian, as a float in [-1, 1]; NaN when the format cannot be played.
float SampleAt(const std::uint8_t* at, int formatTag, int bytes) {
  if (formatTag == kWavePcm) {
    switch (bytes) {
      case 1:
        return (static_cast<float>(at[0]) - 128.0f) / 128.0f;
      case 2:
        return static_cast<float>(static_cast<std::int16_t>(at[0] | at[1] << 8)) / 32768.0f;
      case 3: {
        const std::int32_t value = static_cast<std::int32_t>(
            static_cast<std::uint32_t>(at[0] << 8 | at[1] << 16 | at[2] << 24));
        return static_cast<float>(value / 256) / 8388608.0f;
      }
      case 4: {
        const std::int32_t value =
            static_cast<std::int32_t>(static_cast<std::uint32_t>(at[0] | at[1] << 8 | at[2] << 16) |
                                      static_cast<std::uint32_t>(at[3]) << 24);
        return static_cast<float>(static_cast<double>(value) / 2147483648.0);
      }
      default:
        break;
    }
  } else if (formatTag == kWaveFloat && (bytes == 4 || bytes == 8)) {
    double value = 0;
    if (bytes == 4) {
      float narrow;
      std::memcpy(&narrow, at, sizeof narrow);
      value = narrow;
    } else {
      std::memcpy(&value, at, sizeof value);
    }
    if (!(value >= -1.0)) value = -1.0;  // NaN too
    if (value > 1.0) value = 1.0;
    return static_cast<float>(value);
  }
  return std::numeric_limits<float>::quiet_NaN();
}

class WebAudio final : public AudioDevice {
 public:
  ~WebAudio() override { velko_audio_close(); }

  int CreateBuffer(const WaveFormat& format, std::span<const std::uint8_t> samples) override {
    const int bytes = (format.bitsPerSample + 7) / 8;
    if (format.channels <= 0 || bytes <= 0 || format.blockAlign != format.channels * bytes) {
      return 0;
    }
    const std::size_t frames = samples.size() / static_cast<std::size_t>(format.blockAlign);
    if (frames == 0 || std::isnan(SampleAt(samples.data(), format.formatTag, bytes))) return 0;
    std::vector<float> planar(frames * static_cast<std::size_t>(format.channels));
    for (std::size_t frame = 0; frame < frames; ++frame) {
      const std::uint8_t* at = samples.data() + frame * static_cast<std::size_t>(format.blockAlign);
      for (int channel = 0; channel < format.channels; ++channel) {
        planar[static_cast<std::size_t>(channel) * frames + frame] =
            SampleAt(at + channel * bytes, format.formatTag, bytes);
      }
    }
    // The browser refuses rates and sizes it cannot take: the buffer is then refused too.
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
