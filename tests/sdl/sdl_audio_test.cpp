#include "platform/sdl/sdl_audio.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/sdl/sdl_platform.h"
#include "services/sound/wave_image.h"
#include "support/scoped_env.h"
#include "support/temp_dir.h"
#include "support/wav_builder.h"

namespace velko::platform {
namespace {

using testing::ScopedEnv;

bool HasDiskDriver() {
  const auto names = SdlAudioDriverNames();
  return std::find(names.begin(), names.end(), "disk") != names.end();
}

// Samples of a constant level: easy to find again, whatever the device's rate.
std::vector<std::uint8_t> Level16(std::int16_t level, int frames, int channels) {
  std::vector<std::uint8_t> bytes;
  for (int i = 0; i < frames * channels; ++i) {
    bytes.push_back(static_cast<std::uint8_t>(level & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>((level >> 8) & 0xFF));
  }
  return bytes;
}

WaveFormat Format(int tag, int channels, int rate, int bits) {
  WaveFormat format;
  format.formatTag = tag;
  format.channels = channels;
  format.sampleRate = rate;
  format.bitsPerSample = bits;
  format.blockAlign = channels * bits / 8;
  return format;
}

struct DiskRun {
  bool opened = false;
  std::vector<std::int16_t> output;  // what the device wrote, 16-bit samples

  int Peak() const {
    int peak = 0;
    for (std::int16_t s : output) peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
  }
  // Samples at least as loud as `level`.
  size_t CountAtLeast(int level) const {
    return static_cast<size_t>(std::count_if(output.begin(), output.end(), [level](std::int16_t s) {
      return std::abs(static_cast<int>(s)) >= level;
    }));
  }
};

// Opens the real platform's audio on SDL's disk driver, lets `use` play, waits for the
// sound to be written, and reads back the file the driver wrote.
DiskRun RunOnDisk(const std::function<void(AudioDevice&)>& use, std::uint32_t waitMs = 400) {
  velko::testing::TempDir dir;
  const std::string file = dir.File("out.raw").string();
  DiskRun run;
  {
    ScopedEnv driver("SDL_AUDIODRIVER", "disk");
    ScopedEnv output("SDL_DISKAUDIOFILE", file);
    SdlPlatform platform;
    std::unique_ptr<AudioDevice> audio = platform.OpenAudio();
    if (!audio) return run;
    run.opened = true;
    use(*audio);
    platform.SleepMilliseconds(waitMs);
    audio.reset();  // closing the device flushes the file
  }
  std::ifstream in(file, std::ios::binary);
  const std::vector<char> bytes((std::istreambuf_iterator<char>(in)),
                                std::istreambuf_iterator<char>());
  run.output.resize(bytes.size() / 2);
  std::memcpy(run.output.data(), bytes.data(), run.output.size() * 2);
  return run;
}

class SdlAudioTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HasDiskDriver()) GTEST_SKIP() << "SDL was built without its disk audio driver";
  }
};

TEST_F(SdlAudioTest, AGeneratedWaveReachesTheDiskFile) {
  // A whole WAV file through the reader, as the game loads "choc.wav".
  velko::testing::WavShape shape;
  shape.sampleRate = 22050;
  for (int i = 0; i < 2205; ++i) {
    const auto value = static_cast<std::int16_t>(std::lround(9000.0 * std::sin(i * 0.2)));
    velko::testing::AppendUint16(shape.samples, static_cast<std::uint16_t>(value));
  }
  const auto image = velko::testing::BuildWav(shape);
  const auto wave = ParseWaveImage(image);
  ASSERT_TRUE(wave.has_value());
  int buffer = 0;
  const DiskRun run = RunOnDisk([&](AudioDevice& audio) {
    buffer = audio.CreateBuffer(wave->format, wave->samples);
    audio.Play(buffer, false);
  });
  ASSERT_TRUE(run.opened) << "the disk driver is there but no device opened";
  EXPECT_NE(buffer, 0);
  EXPECT_GT(run.CountAtLeast(4000), 0u);
  EXPECT_LE(run.Peak(), 9900);
}

TEST_F(SdlAudioTest, SilenceWhenNothingPlays) {
  const DiskRun run = RunOnDisk([](AudioDevice& audio) {
    const int buffer = audio.CreateBuffer(Format(1, 1, 44100, 16), Level16(8000, 4410, 1));
    ASSERT_NE(buffer, 0);
    audio.Play(buffer, false);
    audio.Stop(buffer);
    audio.FreeBuffer(buffer);
    audio.Play(buffer, false);  // freed: nothing
  });
  ASSERT_TRUE(run.opened);
  EXPECT_FALSE(run.output.empty());
  // Stopped at once: at most one mixing period of it may have gone out.
  EXPECT_LE(run.CountAtLeast(1000), 2u * 2048u);
}

// Restarting a sound never lets two copies of it sound together, while two different
// sounds do mix.
TEST_F(SdlAudioTest, ARestartedSoundIsNeverHeardTwice) {
  const int kFrames = 4410;  // 0.1 s
  const DiskRun once = RunOnDisk([&](AudioDevice& audio) {
    audio.Play(audio.CreateBuffer(Format(1, 2, 44100, 16), Level16(6000, kFrames, 2)), false);
  });
  ASSERT_TRUE(once.opened);
  const size_t onceLoud = once.CountAtLeast(3000);
  EXPECT_GT(onceLoud, 0u);
  EXPECT_LE(once.Peak(), 6100);

  const DiskRun restarted = RunOnDisk([&](AudioDevice& audio) {
    const int buffer = audio.CreateBuffer(Format(1, 2, 44100, 16), Level16(6000, kFrames, 2));
    audio.Play(buffer, false);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    audio.Play(buffer, false);
  });
  ASSERT_TRUE(restarted.opened);
  EXPECT_LE(restarted.Peak(), 6100);
  EXPECT_GE(restarted.CountAtLeast(3000), onceLoud);  // cut short, then heard whole

  const DiskRun two = RunOnDisk([&](AudioDevice& audio) {
    const int first = audio.CreateBuffer(Format(1, 2, 44100, 16), Level16(6000, kFrames, 2));
    const int second = audio.CreateBuffer(Format(1, 2, 44100, 16), Level16(6000, kFrames, 2));
    EXPECT_NE(first, second);
    audio.Play(first, false);
    audio.Play(second, false);
  });
  ASSERT_TRUE(two.opened);
  EXPECT_GE(two.Peak(), 11000);
}

TEST_F(SdlAudioTest, LoopingGoesOnUntilStopped) {
  const int kFrames = 441;  // 10 ms
  const DiskRun run = RunOnDisk(
      [&](AudioDevice& audio) {
        audio.Play(audio.CreateBuffer(Format(1, 1, 44100, 16), Level16(5000, kFrames, 1)), true);
      },
      300);
  ASSERT_TRUE(run.opened);
  // Far more than the one pass of 10 ms (441 frames in as many channels as the device has).
  EXPECT_GT(run.CountAtLeast(2500), 10u * 2u * 441u);
}

// Each sample format the reader passes on reaches the device at the same loudness (at the
// device's own rate, so that no resampling ripple blurs the levels).
TEST_F(SdlAudioTest, SampleFormatsAreConverted) {
  struct Case {
    const char* name;
    WaveFormat format;
    std::vector<std::uint8_t> frame;  // one mono frame, repeated
    int level;                        // the 16-bit level it stands for
  };
  auto floatBytes = [](float value) {
    std::vector<std::uint8_t> bytes(4);
    std::memcpy(bytes.data(), &value, 4);
    return bytes;
  };
  auto doubleBytes = [](double value) {
    std::vector<std::uint8_t> bytes(8);
    std::memcpy(bytes.data(), &value, 8);
    return bytes;
  };
  const Case cases[] = {
      {"8-bit", Format(1, 1, 44100, 8), {0xC0}, 16384},
      {"16-bit", Format(1, 1, 44100, 16), {0x00, 0x30}, 12288},
      {"24-bit", Format(1, 1, 44100, 24), {0x00, 0x00, 0x28}, 10240},
      {"32-bit", Format(1, 1, 44100, 32), {0x00, 0x00, 0x00, 0x20}, 8192},
      {"float", Format(3, 1, 44100, 32), floatBytes(0.375f), 12288},
      {"double", Format(3, 1, 44100, 64), doubleBytes(0.25), 8192},
  };
  for (const Case& c : cases) {
    std::vector<std::uint8_t> samples;
    for (int i = 0; i < 4410; ++i) samples.insert(samples.end(), c.frame.begin(), c.frame.end());
    int buffer = 0;
    const DiskRun run = RunOnDisk(
        [&](AudioDevice& audio) {
          buffer = audio.CreateBuffer(c.format, samples);
          audio.Play(buffer, false);
        },
        250);
    ASSERT_TRUE(run.opened) << c.name;
    EXPECT_NE(buffer, 0) << c.name;
    EXPECT_NEAR(run.Peak(), c.level, c.level / 20) << c.name;
    EXPECT_GT(run.CountAtLeast(c.level * 9 / 10), 1000u) << c.name;
  }
}

TEST_F(SdlAudioTest, UnplayableFormatsAreRefused) {
  const auto samples = Level16(100, 64, 2);
  struct Case {
    const char* name;
    WaveFormat format;
  };
  WaveFormat badAlign = Format(1, 2, 22050, 16);
  badAlign.blockAlign = 3;
  const Case cases[] = {
      {"ADPCM", Format(2, 1, 22050, 4)},
      {"A-law", Format(6, 1, 8000, 8)},
      {"rate 0", Format(1, 1, 0, 16)},
      {"rate 1", Format(1, 1, 1, 16)},
      {"rate 10 MHz", Format(1, 1, 10000000, 16)},
      {"block align", badAlign},
      {"float 16", Format(3, 1, 22050, 16)},
      {"no channels", Format(1, 0, 22050, 16)},
  };
  RunOnDisk(
      [&](AudioDevice& audio) {
        for (const Case& c : cases) EXPECT_EQ(audio.CreateBuffer(c.format, samples), 0) << c.name;
        EXPECT_EQ(audio.CreateBuffer(Format(1, 1, 22050, 16), {}), 0) << "no samples";
        EXPECT_NE(audio.CreateBuffer(Format(1, 2, 22050, 16), samples), 0);
        // Many channels play their first two, as on Windows.
        EXPECT_NE(audio.CreateBuffer(Format(1, 64, 22050, 16), samples), 0) << "64 channels";
      },
      0);
}

// Every corpus file the reader accepts goes through the device's conversion without harm.
TEST_F(SdlAudioTest, CorpusFilesConvertOrAreRefused) {
  const std::filesystem::path corpus =
      std::filesystem::path(VELKO_SOURCE_DIR) / ".." / "shared" / "corpora" / "wav";
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no WAV corpus at " << corpus;
  int accepted = 0;
  int refused = 0;
  const DiskRun run = RunOnDisk(
      [&](AudioDevice& audio) {
        for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
          if (!entry.is_regular_file()) continue;
          std::ifstream in(entry.path(), std::ios::binary);
          const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                                std::istreambuf_iterator<char>());
          const auto wave = ParseWaveImage(bytes);
          if (!wave) continue;
          const int buffer = audio.CreateBuffer(wave->format, wave->samples);
          if (buffer == 0) {
            ++refused;
            continue;
          }
          ++accepted;
          audio.Play(buffer, false);
          audio.FreeBuffer(buffer);
        }
      },
      0);
  ASSERT_TRUE(run.opened);
  EXPECT_GT(accepted, 40);
  RecordProperty("accepted", accepted);
  RecordProperty("refused", refused);
}

}  // namespace
}  // namespace velko::platform
