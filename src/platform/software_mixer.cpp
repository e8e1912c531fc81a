#include "platform/software_mixer.h"

#include "platform/sound_samples.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace velko::platform {
namespace {

std::int16_t ToSample16(float value) {
  const float scaled = std::round(value * 32767.0f);
  return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

}  // namespace

std::vector<std::int16_t> ConvertSamples(const WaveFormat& format,
                                         std::span<const std::uint8_t> samples, int outputRate,
                                         int outputChannels) {
  if (!SamplesPlayable(format, samples.size()) || outputRate <= 0 || outputChannels <= 0) return {};

  const std::size_t frames = FrameCount(format, samples.size());
  const double ratio = static_cast<double>(format.sampleRate) / outputRate;
  const double outputFrames = std::ceil(static_cast<double>(frames) / ratio);
  if (outputFrames * outputChannels * sizeof(std::int16_t) >
      static_cast<double>(kMaxPlayableBytes)) {
    return {};
  }

  // An output channel takes the input channel of the same number, or the first one (a mono
  // sound plays on both sides).
  auto sampleAt = [&](std::size_t frame, int outputChannel) {
    return SampleAt(format, samples, frame, outputChannel < format.channels ? outputChannel : 0);
  };

  const auto count = static_cast<std::size_t>(outputFrames);
  std::vector<std::int16_t> out(count * static_cast<std::size_t>(outputChannels));
  for (std::size_t i = 0; i < count; ++i) {
    const double source = static_cast<double>(i) * ratio;
    const auto first = std::min(static_cast<std::size_t>(source), frames - 1);
    const std::size_t second = std::min(first + 1, frames - 1);
    const auto weight = static_cast<float>(source - static_cast<double>(first));
    for (int c = 0; c < outputChannels; ++c) {
      const float a = sampleAt(first, c);
      const float b = sampleAt(second, c);
      out[i * static_cast<std::size_t>(outputChannels) + static_cast<std::size_t>(c)] =
          ToSample16(a + (b - a) * weight);
    }
  }
  return out;
}

int SoftwareMixer::Add(const WaveFormat& format, std::span<const std::uint8_t> samples) {
  return AddConverted(ConvertSamples(format, samples, outputRate_, outputChannels_));
}

int SoftwareMixer::AddConverted(std::vector<std::int16_t> samples) {
  if (samples.empty()) return 0;
  const int id = nextId_++;
  voices_[id].samples = std::move(samples);
  return id;
}

void SoftwareMixer::Play(int buffer, bool loop) {
  const auto found = voices_.find(buffer);
  if (found == voices_.end()) return;
  found->second.position = 0;
  found->second.playing = true;
  found->second.loop = loop;
}

void SoftwareMixer::Stop(int buffer) {
  const auto found = voices_.find(buffer);
  if (found != voices_.end()) found->second.playing = false;
}

void SoftwareMixer::Free(int buffer) {
  voices_.erase(buffer);
}

void SoftwareMixer::Mix(std::span<std::int16_t> output) {
  const std::size_t count = output.size();
  if (sum_.size() < count) sum_.resize(count);
  std::fill_n(sum_.begin(), count, 0);
  for (auto& [id, voice] : voices_) {
    if (!voice.playing || voice.samples.empty()) continue;
    std::size_t out = 0;
    while (out < count && voice.playing) {
      const std::size_t take = std::min(count - out, voice.samples.size() - voice.position);
      for (std::size_t i = 0; i < take; ++i) sum_[out + i] += voice.samples[voice.position + i];
      out += take;
      voice.position += take;
      if (voice.position >= voice.samples.size()) {
        voice.position = 0;
        voice.playing = voice.loop;
      }
    }
  }
  for (std::size_t i = 0; i < count; ++i) {
    output[i] = static_cast<std::int16_t>(
        std::clamp<std::int32_t>(sum_[i], std::numeric_limits<std::int16_t>::min(),
                                 std::numeric_limits<std::int16_t>::max()));
  }
}

}  // namespace velko::platform
