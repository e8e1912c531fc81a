#include "services/sound/sound_service.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/headless/headless_platform.h"
#include "support/temp_dir.h"
#include "support/wav_builder.h"

namespace velko {
namespace {

using testing::BuildWav;
using testing::PatternSamples;
using testing::WavShape;

std::vector<uint8_t> WaveWith(size_t sampleBytes) {
  WavShape shape;
  shape.samples = PatternSamples(sampleBytes);
  return BuildWav(shape);
}

// A sound service over the headless platform, its program living in a fresh directory.
class SoundTest : public ::testing::Test {
 protected:
  explicit SoundTest(bool audio = true)
      : platform_(Options(dir_, audio)),
        directory_(ProgramDirectory::FromExecutablePath(dir_.ExecutablePath())),
        sound_(platform_, directory_) {}

  static platform::HeadlessOptions Options(const velko::testing::TempDir& dir, bool audio) {
    platform::HeadlessOptions options;
    options.executablePath = dir.ExecutablePath();
    options.audioAvailable = audio;
    options.echoMessages = false;
    return options;
  }

  velko::testing::TempDir dir_;
  platform::HeadlessPlatform platform_;
  ProgramDirectory directory_;
  SoundService sound_;
};

TEST_F(SoundTest, StartsWithFiftyNumbers) {
  EXPECT_NE(sound_.AudioStart(), 0);
  EXPECT_EQ(sound_.Capacity(), 50);
  EXPECT_NE(sound_.AudioStart(), 0);  // a second start keeps the device
}

TEST_F(SoundTest, LoadingGrowsTheTableByFifty) {
  struct Case {
    int32_t number;
    int32_t capacity;
  };
  const Case cases[] = {{0, 50}, {49, 50}, {50, 100}, {60, 110}, {200, 250}};
  for (const Case& c : cases) {
    SoundService sound(platform_, directory_);
    ASSERT_NE(sound.AudioStart(), 0);
    ASSERT_NE(sound.AudioFromWaveImage(c.number, WaveWith(8)), 0u) << c.number;
    EXPECT_EQ(sound.Capacity(), c.capacity) << c.number;
    EXPECT_NE(sound.BufferOf(c.number), 0) << c.number;
  }
}

TEST_F(SoundTest, DeviceGetsTheDataChunkOnly) {
  ASSERT_NE(sound_.AudioStart(), 0);
  WavShape shape;
  shape.samples = PatternSamples(100);
  shape.chunksBeforeData = {{"LIST", PatternSamples(30)}};
  const std::uintptr_t buffer = sound_.AudioFromWaveImage(1, BuildWav(shape));
  ASSERT_NE(buffer, 0u);
  EXPECT_EQ(platform_.AudioBuffers().at(static_cast<int>(buffer)), shape.samples);
}

TEST_F(SoundTest, LoadingANumberAgainReplacesItsSound) {
  ASSERT_NE(sound_.AudioStart(), 0);
  const auto first = sound_.AudioFromWaveImage(1, WaveWith(10));
  const auto second = sound_.AudioFromWaveImage(1, WaveWith(20));
  ASSERT_NE(first, 0u);
  ASSERT_NE(second, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(platform_.AudioBuffers().count(static_cast<int>(first)), 0u);
  EXPECT_EQ(platform_.AudioBuffers().at(static_cast<int>(second)).size(), 20u);
  EXPECT_EQ(sound_.BufferOf(1), static_cast<int>(second));
}

TEST_F(SoundTest, FailedLoadKeepsWhatTheNumberHeld) {
  ASSERT_NE(sound_.AudioStart(), 0);
  const auto held = sound_.AudioFromWaveImage(3, WaveWith(10));
  ASSERT_NE(held, 0u);
  std::vector<uint8_t> notRiff = WaveWith(10);
  notRiff[0] = 'X';
  EXPECT_EQ(sound_.AudioFromWaveImage(3, notRiff), 0u);
  EXPECT_EQ(sound_.AudioFromWaveImage(3, {}), 0u);
  dir_.Write("bad.wav", notRiff);
  EXPECT_EQ(sound_.AudioLoadWave(3, "bad.wav"), 0u);
  EXPECT_EQ(sound_.AudioLoadWave(3, "missing.wav"), 0u);
  EXPECT_EQ(sound_.BufferOf(3), static_cast<int>(held));
  sound_.AudioPlayOnce(3);
  ASSERT_EQ(platform_.Plays().size(), 1u);
  EXPECT_EQ(platform_.Plays()[0].buffer, static_cast<int>(held));
}

TEST_F(SoundTest, NegativeNumbersAreRefused) {
  ASSERT_NE(sound_.AudioStart(), 0);
  EXPECT_EQ(sound_.AudioFromWaveImage(-1, WaveWith(10)), 0u);
  EXPECT_TRUE(platform_.AudioBuffers().empty());
  sound_.AudioPlay(-1, 0);
  sound_.AudioFree(-1);
  EXPECT_TRUE(platform_.Plays().empty());
}

TEST_F(SoundTest, LoadsAFileFromTheProgramDirectory) {
  ASSERT_NE(sound_.AudioStart(), 0);
  const auto image = WaveWith(48);
  dir_.Write("choc.wav", image);
  std::filesystem::create_directory(dir_.File("sons"));
  dir_.Write("sons/autre.wav", WaveWith(12));
  const auto crash = sound_.AudioLoadWave(1, "choc.wav");
  ASSERT_NE(crash, 0u);
  EXPECT_EQ(platform_.AudioBuffers().at(static_cast<int>(crash)).size(), 48u);
  const auto other = sound_.AudioLoadWave(2, "sons\\autre.wav");
  ASSERT_NE(other, 0u);
  EXPECT_EQ(platform_.AudioBuffers().at(static_cast<int>(other)).size(), 12u);
}

TEST_F(SoundTest, PlayingAnEmptyNumberDoesNothing) {
  ASSERT_NE(sound_.AudioStart(), 0);
  sound_.AudioPlayOnce(1);
  sound_.AudioPlay(7, 1);
  sound_.AudioPlay(5000, 0);  // far beyond the table
  EXPECT_TRUE(platform_.Plays().empty());
}

TEST_F(SoundTest, EveryPlayRestartsTheOneBuffer) {
  ASSERT_NE(sound_.AudioStart(), 0);
  const int buffer = static_cast<int>(sound_.AudioFromWaveImage(1, WaveWith(10)));
  ASSERT_NE(buffer, 0);
  sound_.AudioPlayOnce(1);
  platform_.AdvanceClock(5);
  sound_.AudioPlayOnce(1);
  sound_.AudioPlay(1, 1);
  sound_.AudioPlay(1, -3);
  const auto& plays = platform_.Plays();
  ASSERT_EQ(plays.size(), 4u);
  const bool loops[] = {false, false, true, true};
  for (size_t i = 0; i < plays.size(); ++i) {
    EXPECT_EQ(plays[i].buffer, buffer) << i;
    EXPECT_EQ(plays[i].loop, loops[i]) << i;
  }
  EXPECT_EQ(plays[1].tick - plays[0].tick, 5u);
}

TEST_F(SoundTest, FreeEmptiesTheNumber) {
  ASSERT_NE(sound_.AudioStart(), 0);
  const int buffer = static_cast<int>(sound_.AudioFromWaveImage(4, WaveWith(10)));
  sound_.AudioFree(4);
  EXPECT_EQ(platform_.AudioBuffers().count(buffer), 0u);
  EXPECT_EQ(sound_.BufferOf(4), 0);
  sound_.AudioPlayOnce(4);
  sound_.AudioFree(4);
  EXPECT_TRUE(platform_.Plays().empty());
}

TEST_F(SoundTest, StopFreesEverySound) {
  ASSERT_NE(sound_.AudioStart(), 0);
  for (int32_t number : {0, 1, 49, 60, 109})
    ASSERT_NE(sound_.AudioFromWaveImage(number, WaveWith(4)), 0u);
  EXPECT_EQ(platform_.AudioBuffers().size(), 5u);
  sound_.AudioStop();
  EXPECT_TRUE(platform_.AudioBuffers().empty());
  sound_.AudioPlayOnce(1);
  EXPECT_TRUE(platform_.Plays().empty());
}

class SilentSoundTest : public SoundTest {
 protected:
  SilentSoundTest() : SoundTest(false) {}
};

TEST_F(SilentSoundTest, NoDeviceMeansNoSound) {
  EXPECT_EQ(sound_.AudioStart(), 0);
  dir_.Write("choc.wav", WaveWith(10));
  EXPECT_EQ(sound_.AudioLoadWave(1, "choc.wav"), 0u);
  EXPECT_EQ(sound_.AudioFromWaveImage(1, WaveWith(10)), 0u);
  sound_.AudioPlayOnce(1);
  sound_.AudioStop();
  EXPECT_TRUE(platform_.Plays().empty());
}

}  // namespace
}  // namespace velko
