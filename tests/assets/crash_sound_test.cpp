// The crash sound as the sound service will read it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "assets/game_assets_support.h"

namespace velko::assetgen {
namespace {

using velko::testing::GeneratedAssets;

double Rms(const std::vector<std::int16_t>& s, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) sum += static_cast<double>(s[i]) * s[i];
  return std::sqrt(sum / static_cast<double>(to - from));
}

TEST(CrashSound, IsCanonicalSixteenBitMonoPcm) {
  ASSERT_TRUE(GeneratedAssets().complete);
  const auto& wave = GeneratedAssets().crash;
  EXPECT_EQ(wave.formatTag, 1);
  EXPECT_EQ(wave.channels, 1);
  EXPECT_EQ(wave.bitsPerSample, 16);
  EXPECT_EQ(wave.blockAlign, 2);
  EXPECT_EQ(wave.sampleRate, 22050);
  EXPECT_EQ(wave.byteRate, 44100u);
  // The data chunk follows the format chunk at once: the sound service relies on it.
  EXPECT_EQ(GeneratedAssets().bytes.crashWave.size(), 44 + wave.samples.size() * 2);
}

TEST(CrashSound, IsShortLoudAndDiesAway) {
  ASSERT_TRUE(GeneratedAssets().complete);
  const auto& s = GeneratedAssets().crash.samples;
  const double seconds = static_cast<double>(s.size()) / 22050;
  EXPECT_GT(seconds, 0.25);
  EXPECT_LT(seconds, 0.8);
  int peak = 0;
  for (std::int16_t v : s) peak = std::max(peak, std::abs(static_cast<int>(v)));
  EXPECT_GT(peak, 20000);
  EXPECT_LT(peak, 32767);  // no clipping
  const size_t tenth = s.size() / 10;
  EXPECT_GT(Rms(s, 0, tenth), 4 * Rms(s, s.size() - 2 * tenth, s.size()));
  EXPECT_LT(std::abs(s.back()), 50);  // ends without a click
}

TEST(CrashSound, StrikesAtOnce) {
  ASSERT_TRUE(GeneratedAssets().complete);
  const auto& s = GeneratedAssets().crash.samples;
  // Loud within the first 20 ms: the crash is heard as the car hits, not after it.
  EXPECT_GT(Rms(s, 0, 441), 3000);
}

}  // namespace
}  // namespace velko::assetgen
