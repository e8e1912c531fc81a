#include "platform/software_mixer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace velko::platform {
namespace {

constexpr int kWavePcm = 1;
constexpr int kWaveFloat = 3;
// Rates a sound buffer may have; outside them a buffer is refused rather than resampled.
constexpr int kMinSampleRate = 100;
constexpr int kMaxSampleRate = 384000;
// Converted samples of one buffer may not take more than this.
constexpr double kMaxConvertedBytes = double{1 << 28};

// One sample in [-1, 1) from its little-endian bytes.
float DecodeSample(const std::uint8_t* bytes, int containerBytes, bool isFloat) {
  if (isFloat) {
    if (containerBytes == 4) {
      std::uint32_t bits = 0;
      for (int b = 3; b >= 0; --b) bits = (bits << 8) | bytes[b];
      float value;
      std::memcpy(&value, &bits, sizeof value);
      return std::isfinite(value) ? std::clamp(value, -1.0f, 1.0f) : 0.0f;
    }
    std::uint64_t bits = 0;
    for (int b = 7; b >= 0; --b) bits = (bits << 8) | bytes[b];
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return std::isfinite(value) ? static_cast<float>(std::clamp(value, -1.0, 1.0)) : 0.0f;
  }
  if (containerBytes == 1) return (static_cast<float>(bytes[0]) - 128.0f) / 128.0f;
  // Signed, the top byte last: read as the high bytes of a 32-bit value.
  std::uint32_t bits = 0;
  for (int b = containerBytes - 1; b >= 0; --b) bits = (bits << 8) | bytes[b];
  bits <<= 8 * (4 - containerBytes);
  return static_cast<float>(static_cast<std::int32_t>(bits)) / 2147483648.0f;
}

std::int16_t ToSample16(float value) {
  const float scaled = std::round(value * 32767.0f);
  return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

}  // namespace

std::vector<std::int16_t> ConvertSamples(const WaveFormat& format,
                                         std::span<const std::uint8_t> samples, int outputRate,
                                         int outputChannels) {
  const int containerBytes = (format.bitsPerSample + 7) / 8;
  const bool isFloat = format.formatTag == kWaveFloat;
  if (format.formatTag != kWavePcm && !isFloat) return {};
  if (isFloat ? containerBytes != 4 && containerBytes != 8
              : containerBytes < 1 || containerBytes > 4) {
    return {};
  }
  if (format.channels <= 0 || format.blockAlign != format.channels * containerBytes) return {};
  if (format.sampleRate < kMinSampleRate || format.sampleRate > kMaxSampleRate) return {};
  if (outputRate <= 0 || outputChannels <= 0) return {};

  const std::size_t frameBytes = static_cast<std::size_t>(format.blockAlign);
  const std::size_t frames = samples.size() / frameBytes;
  const double ratio = static_cast<double>(format.sampleRate) / outputRate;
  const double outputFrames = std::ceil(static_cast<double>(frames) / ratio);
  if (frames == 0 || outputFrames * outputChannels * sizeof(std::int16_t) > kMaxConvertedBytes) {
    return {};
  }

  // An output channel takes the input channel of the same number, or the first one (a mono
  // sound plays on both sides).
  auto sampleAt = [&](std::size_t frame, int outputChannel) {
    const int channel = outputChannel < format.channels ? outputChannel : 0;
    const std::uint8_t* bytes =
        samples.data() + frame * frameBytes +
        static_cast<std::size_t>(channel) * static_cast<std::size_t>(containerBytes);
    return DecodeSample(bytes, containerBytes, isFloat);
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
