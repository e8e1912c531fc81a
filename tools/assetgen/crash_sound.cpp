#include "assetgen/crash_sound.h"

#include <algorithm>
#include <cmath>

#include "assetgen/random_stream.h"

namespace velko::assetgen {

std::vector<std::int16_t> SynthesiseCrash() {
  constexpr double kSeconds = 0.42;
  constexpr double kTwoPi = 6.283185307179586;
  const int count = static_cast<int>(kSeconds * kCrashSampleRate);
  RandomStream noise(0x5EEDC4A5ull);
  std::vector<double> mix(static_cast<size_t>(count));

  double thudPhase = 0;
  double lowPassed = 0;
  double bandLow = 0;
  double bandHigh = 0;
  for (int i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / kCrashSampleRate;
    // The thud: a sine falling from 150 Hz to 45 Hz, struck hard and fading in a quarter second.
    const double freq = 45.0 + 105.0 * std::exp(-t * 18.0);
    thudPhase += kTwoPi * freq / kCrashSampleRate;
    const double attack = std::min(1.0, t / 0.002);
    const double thud = std::sin(thudPhase) * attack * std::exp(-t * 11.0);

    // Crunch: white noise, low-passed for body and band-passed for the scrape of metal.
    const double white = noise.Signed();
    lowPassed += 0.18 * (white - lowPassed);
    bandLow += 0.45 * (white - bandLow);
    bandHigh += 0.08 * (bandLow - bandHigh);
    const double crunch = (0.9 * lowPassed + 0.7 * (bandLow - bandHigh)) * std::exp(-t * 16.0);

    // A few inharmonic rings of a dented panel.
    double ring = 0;
    const double partials[3] = {431.0, 1187.0, 2263.0};
    for (int k = 0; k < 3; ++k) ring += std::sin(kTwoPi * partials[k] * t + k) / (k + 2);
    ring *= 0.35 * std::exp(-t * 24.0) * attack;

    mix[static_cast<size_t>(i)] = 0.75 * thud + 0.6 * crunch + ring;
  }
  // Fade the last 20 ms to silence so the sound ends without a click.
  const int fade = kCrashSampleRate / 50;
  for (int i = 0; i < fade; ++i)
    mix[static_cast<size_t>(count - 1 - i)] *= static_cast<double>(i) / fade;

  double peak = 0;
  for (double v : mix) peak = std::max(peak, std::abs(v));
  const double gain = peak > 0 ? 0.9 * 32767.0 / peak : 0;
  std::vector<std::int16_t> samples(static_cast<size_t>(count));
  for (int i = 0; i < count; ++i)
    samples[static_cast<size_t>(i)] =
        static_cast<std::int16_t>(std::lround(mix[static_cast<size_t>(i)] * gain));
  return samples;
}

}  // namespace velko::assetgen
