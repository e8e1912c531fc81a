#include "platform/software_mixer.h"

#include "platform/headless/headless_platform.h"
#include "platform/sound_samples.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace velko::platform {
namespace {

std::vector<std::uint8_t> Bytes(std::initializer_list<int> values) {
  std::vector<std::uint8_t> bytes;
  for (int v : values) bytes.push_back(static_cast<std::uint8_t>(v));
  return bytes;
}

template <typename T>
std::vector<std::uint8_t> BytesOf(std::initializer_list<T> values) {
  std::vector<std::uint8_t> bytes(values.size() * sizeof(T));
  std::memcpy(bytes.data(), values.begin(), bytes.size());
  return bytes;
}

WaveFormat Format(int tag, int channels, int rate, int bits) {
  return {tag, channels, rate, bits, channels * ((bits + 7) / 8)};
}

TEST(ConvertSamplesTest, EveryPcmAndFloatLayoutBecomesStereo16Bit) {
  struct Case {
    const char* name;
    WaveFormat format;
    std::vector<std::uint8_t> samples;
    std::vector<int> stereo;  // expected output, left and right of each frame
  };
  const Case cases[] = {
      {"8-bit unsigned mono",
       Format(1, 1, 22050, 8),
       Bytes({0x80, 0xC0, 0x00}),
       {0, 0, 16384, 16384, -32767, -32767}},
      {"16-bit stereo",
       Format(1, 2, 22050, 16),
       BytesOf<std::int16_t>({16384, -8192}),
       {16384, -8192}},
      {"24-bit mono",
       Format(1, 1, 22050, 24),
       Bytes({0x00, 0x00, 0x40, 0x00, 0x00, 0xE0}),
       {16384, 16384, -8192, -8192}},
      {"32-bit mono",
       Format(1, 1, 22050, 32),
       BytesOf<std::int32_t>({-1073741824}),
       {-16384, -16384}},
      {"32-bit float, beyond full scale clipped",
       Format(3, 1, 22050, 32),
       BytesOf<float>({0.25f, 2.0f}),
       {8192, 8192, 32767, 32767}},
      {"64-bit float", Format(3, 1, 22050, 64), BytesOf<double>({-0.5}), {-16384, -16384}},
      {"four channels: the first two",
       Format(1, 4, 22050, 16),
       BytesOf<std::int16_t>({100, 200, 300, 400}),
       {100, 200}},
      {"a partial frame at the end is dropped",
       Format(1, 2, 22050, 16),
       Bytes({0x10, 0x00, 0x20, 0x00, 0x30}),
       {16, 32}},
  };
  for (const Case& c : cases) {
    const std::vector<std::int16_t> out = ConvertSamples(c.format, c.samples, 22050, 2);
    ASSERT_EQ(out.size(), c.stereo.size()) << c.name;
    for (std::size_t i = 0; i < out.size(); ++i) EXPECT_NEAR(out[i], c.stereo[i], 1) << c.name;
  }
}

// Every backend takes its buffers through the same check: the headless one (tests, velko-sim)
// refuses exactly what the mixer of the SDL and Win32 backends refuses.
TEST(ConvertSamplesTest, EveryBackendRefusesWhatItCannotPlay) {
  const std::vector<std::uint8_t> samples(64, 0x10);
  const WaveFormat refused[] = {
      Format(2, 1, 22050, 16),      // ADPCM
      Format(3, 1, 22050, 16),      // 16-bit float
      Format(1, 1, 22050, 40),      // five bytes a sample
      {1, 1, 22050, 16, 4},         // block alignment of another layout
      Format(1, 0, 22050, 16),      // no channel
      Format(1, 1, 50, 16),         // below any real rate
      Format(1, 1, 1'000'000, 16),  // beyond any real rate
  };
  HeadlessPlatform headless;
  const std::unique_ptr<AudioDevice> device = headless.OpenAudio();
  for (const WaveFormat& format : refused) {
    const std::string name = std::to_string(format.formatTag) + " " +
                             std::to_string(format.bitsPerSample) + " " +
                             std::to_string(format.sampleRate);
    EXPECT_TRUE(ConvertSamples(format, samples, 44100, 2).empty()) << name;
    EXPECT_EQ(device->CreateBuffer(format, samples), 0) << name;
  }
  EXPECT_TRUE(ConvertSamples(Format(1, 1, 22050, 16), {}, 44100, 2).empty());
  EXPECT_EQ(device->CreateBuffer(Format(1, 2, 22050, 16), Bytes({1, 2, 3})), 0) << "no whole frame";
  EXPECT_NE(device->CreateBuffer(Format(1, 1, 22050, 16), samples), 0);
}

// A float that is no number, or infinite, is silence on every backend (the browser's copy once
// made it full scale downwards).
TEST(ConvertSamplesTest, FloatsThatAreNoNumberAreSilence) {
  const WaveFormat format = Format(3, 1, 22050, 32);
  for (float value :
       {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
        -std::numeric_limits<float>::infinity()}) {
    const std::vector<std::uint8_t> bytes = BytesOf<float>({value});
    EXPECT_EQ(DecodeSample(format, bytes.data()), 0.0f) << value;
  }
  const std::vector<std::uint8_t> wide =
      BytesOf<double>({std::numeric_limits<double>::quiet_NaN()});
  EXPECT_EQ(DecodeSample(Format(3, 1, 22050, 64), wide.data()), 0.0f);
}

TEST(ConvertSamplesTest, ResamplesLinearly) {
  // 11025 Hz to 44100 Hz: four output frames for each input frame, in straight lines.
  const std::vector<std::int16_t> out =
      ConvertSamples(Format(1, 1, 11025, 16), BytesOf<std::int16_t>({0, 4000, 0}), 44100, 1);
  ASSERT_EQ(out.size(), 12u);
  const int expected[] = {0, 1000, 2000, 3000, 4000, 3000, 2000, 1000, 0, 0, 0, 0};
  for (std::size_t i = 0; i < out.size(); ++i) EXPECT_NEAR(out[i], expected[i], 1) << i;
}

TEST(SoftwareMixerTest, PlaysRestartsLoopsAndClips) {
  SoftwareMixer mixer(22050, 1);
  const int ramp = mixer.AddConverted({1, 2, 3, 4});
  const int loud = mixer.AddConverted({30000, 30000});
  ASSERT_NE(ramp, 0);
  ASSERT_NE(loud, 0);
  EXPECT_EQ(mixer.AddConverted({}), 0);
  std::vector<std::int16_t> out(3);
  auto mix = [&] {
    mixer.Mix(out);
    return out;
  };

  EXPECT_EQ(mix(), (std::vector<std::int16_t>{0, 0, 0})) << "nothing plays";
  mixer.Play(ramp, false);
  EXPECT_EQ(mix(), (std::vector<std::int16_t>{1, 2, 3}));
  mixer.Play(ramp, false);  // a play restarts the sound, never a second copy of it
  EXPECT_EQ(mix(), (std::vector<std::int16_t>{1, 2, 3}));
  EXPECT_EQ(mix(), (std::vector<std::int16_t>{4, 0, 0})) << "played once, then silent";

  mixer.Play(ramp, true);
  mix();
  EXPECT_EQ(mix(), (std::vector<std::int16_t>{4, 1, 2})) << "a loop starts over";
  mixer.Play(loud, false);
  EXPECT_EQ(mix(), (std::vector<std::int16_t>{30003, 30004, 1})) << "sounds add up";
  mixer.Play(loud, true);
  mixer.Play(ramp, true);
  mixer.Play(loud + ramp + 1, true);  // no such buffer: nothing
  std::vector<std::int16_t> twice(2);
  const int second = mixer.AddConverted({30000, 30000});
  mixer.Play(second, false);
  mixer.Stop(ramp);
  mixer.Mix(twice);
  EXPECT_EQ(twice, (std::vector<std::int16_t>{32767, 32767})) << "the sum is clipped";
  mixer.Free(loud);
  mixer.Free(second);
  EXPECT_EQ(mix(), (std::vector<std::int16_t>{0, 0, 0})) << "stopped and freed";
}

}  // namespace
}  // namespace velko::platform
