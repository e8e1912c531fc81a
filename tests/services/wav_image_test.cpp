#include "services/sound/wave_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

#include "support/wav_builder.h"

namespace velko {
namespace {

using testing::AppendTag;
using testing::AppendUint32;
using testing::BuildWav;
using testing::PatternSamples;
using testing::WavShape;

std::vector<uint8_t> Bytes(std::span<const uint8_t> span) {
  return {span.begin(), span.end()};
}

// A copy in a block of exactly its size, so the address sanitizer sees any read past it.
std::unique_ptr<uint8_t[]> ExactCopy(const std::vector<uint8_t>& bytes, size_t length) {
  auto block = std::make_unique<uint8_t[]>(length == 0 ? 1 : length);
  std::copy_n(bytes.begin(), length, block.get());
  return block;
}

TEST(WaveImageTest, ReadsCanonicalFilesOfEveryCommonShape) {
  struct Case {
    int bits, channels, rate, frames;
  };
  const Case cases[] = {{8, 1, 8000, 1},      {8, 2, 11025, 100}, {16, 1, 22050, 333},
                        {16, 2, 44100, 1000}, {8, 1, 48000, 7},   {16, 2, 8000, 2},
                        {24, 2, 96000, 50},   {32, 1, 44100, 10}};
  for (const Case& c : cases) {
    WavShape shape;
    shape.bitsPerSample = c.bits;
    shape.channels = c.channels;
    shape.sampleRate = c.rate;
    const int blockAlign = c.channels * c.bits / 8;
    shape.samples = PatternSamples(static_cast<size_t>(c.frames * blockAlign));
    const auto file = BuildWav(shape);
    const auto wave = ParseWaveImage(file);
    ASSERT_TRUE(wave.has_value()) << c.bits << "-bit " << c.channels << "ch " << c.rate;
    EXPECT_EQ(wave->format.formatTag, 1);
    EXPECT_EQ(wave->format.channels, c.channels);
    EXPECT_EQ(wave->format.sampleRate, c.rate);
    EXPECT_EQ(wave->format.bitsPerSample, c.bits);
    EXPECT_EQ(wave->format.blockAlign, blockAlign);
    EXPECT_EQ(wave->samples.size() / static_cast<size_t>(blockAlign),
              static_cast<size_t>(c.frames));
    EXPECT_EQ(Bytes(wave->samples), shape.samples);
  }
}

TEST(WaveImageTest, SkipsChunksBetweenFormatAndData) {
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::vector<uint8_t>>> chunks;
  };
  const Case cases[] = {
      {"LIST", {{"LIST", PatternSamples(26)}}},
      {"fact", {{"fact", {0x10, 0, 0, 0}}}},
      {"odd chunk with pad", {{"junk", PatternSamples(5)}}},
      {"several", {{"fact", {1, 2, 3, 4}}, {"LIST", PatternSamples(3)}, {"cue ", {}}}},
  };
  for (const Case& c : cases) {
    WavShape shape;
    shape.samples = PatternSamples(64);
    shape.chunksBeforeData = c.chunks;
    const auto file = BuildWav(shape);
    const auto wave = ParseWaveImage(file);
    ASSERT_TRUE(wave.has_value()) << c.name;
    EXPECT_EQ(Bytes(wave->samples), shape.samples) << c.name;
  }
}

TEST(WaveImageTest, OddFormatBlockWithOrWithoutPad) {
  WavShape shape;
  shape.samples = PatternSamples(20);
  shape.formatExtra = {0};        // a 17-byte format block
  auto padded = BuildWav(shape);  // pad byte after it, as chunks should have
  auto wave = ParseWaveImage(padded);
  ASSERT_TRUE(wave.has_value());
  EXPECT_EQ(Bytes(wave->samples), shape.samples);

  // Some writers leave the pad out and put the data right after the format block.
  std::vector<uint8_t> unpadded = padded;
  unpadded.erase(unpadded.begin() + 20 + 17);
  wave = ParseWaveImage(unpadded);
  ASSERT_TRUE(wave.has_value());
  EXPECT_EQ(Bytes(wave->samples), shape.samples);
}

TEST(WaveImageTest, ExtensibleFormatGivesItsSubFormat) {
  WavShape shape;
  shape.formatTag = 0xFFFE;
  shape.bitsPerSample = 16;
  shape.samples = PatternSamples(8);
  // Extra size 22, valid bits 16, channel mask 4, then the GUID starting with the PCM tag 1.
  shape.formatExtra = {22, 0, 16,   0, 4,    0, 0, 0,    1, 0,    0,    0,
                       0,  0, 0x10, 0, 0x80, 0, 0, 0xAA, 0, 0x38, 0x9B, 0x71};
  const auto file = BuildWav(shape);
  const auto wave = ParseWaveImage(file);
  ASSERT_TRUE(wave.has_value());
  EXPECT_EQ(wave->format.formatTag, kWaveFormatPcm);
}

TEST(WaveImageTest, RefusesWhatIsNotAWave) {
  WavShape shape;
  shape.samples = PatternSamples(16);
  const auto good = BuildWav(shape);
  struct Case {
    const char* name;
    size_t offset;
    std::vector<uint8_t> bytes;
  };
  const Case cases[] = {
      {"RIFX", 0, {'R', 'I', 'F', 'X'}},
      {"no fmt at 12", 12, {'f', 'm', 't', '_'}},
      {"format block of 14", 16, {14, 0, 0, 0}},
      {"format block past the end", 16, {0xFF, 0xFF, 0xFF, 0x7F}},
      {"format block of 4 GiB", 16, {0xFF, 0xFF, 0xFF, 0xFF}},
      {"no channels", 22, {0, 0}},
      {"no sample rate", 24, {0, 0, 0, 0}},
      {"no block align", 32, {0, 0}},
      {"no data chunk", 36, {'d', 'a', 't', 'x'}},
  };
  for (const Case& c : cases) {
    auto bad = good;
    std::copy(c.bytes.begin(), c.bytes.end(), bad.begin() + static_cast<std::ptrdiff_t>(c.offset));
    EXPECT_FALSE(ParseWaveImage(bad).has_value()) << c.name;
  }
  EXPECT_TRUE(ParseWaveImage(good).has_value());
}

TEST(WaveImageTest, RefusesAChunkThatRunsPastTheEnd) {
  WavShape shape;
  shape.samples = PatternSamples(16);
  shape.chunksBeforeData = {{"LIST", PatternSamples(6)}};
  auto file = BuildWav(shape);
  for (uint32_t size :
       {0xFFFFFFFFu, 0xFFFFFFF8u, 0x7FFFFFFFu, static_cast<uint32_t>(file.size())}) {
    std::vector<uint8_t> bytes = file;
    std::vector<uint8_t> sizeBytes;
    AppendUint32(sizeBytes, size);
    std::copy(sizeBytes.begin(), sizeBytes.end(), bytes.begin() + 40);
    const auto copy = ExactCopy(bytes, bytes.size());
    EXPECT_FALSE(ParseWaveImage({copy.get(), bytes.size()}).has_value()) << size;
  }
}

TEST(WaveImageTest, CutsDataThatClaimsMoreThanTheFileHolds) {
  struct Case {
    uint32_t claimed;
    size_t present;
    size_t expected;
  };
  const Case cases[] = {
      {1000, 64, 64}, {0xFFFFFFFFu, 64, 64}, {65, 64, 64}, {63, 64, 62},
      {3, 64, 2},     {0x80000000u, 7, 6},
  };
  for (const Case& c : cases) {
    WavShape shape;  // 16-bit mono: two bytes a frame
    shape.samples = PatternSamples(c.present);
    shape.hasDataSizeOverride = true;
    shape.dataSizeOverride = c.claimed;
    const auto file = BuildWav(shape);
    const auto copy = ExactCopy(file, file.size());
    const auto wave = ParseWaveImage({copy.get(), file.size()});
    ASSERT_TRUE(wave.has_value()) << c.claimed;
    EXPECT_EQ(wave->samples.size(), c.expected) << c.claimed;
    EXPECT_TRUE(std::equal(wave->samples.begin(), wave->samples.end(), shape.samples.begin()));
  }
}

// Every prefix of a file: either refused, or read with the whole frames it holds.
TEST(WaveImageTest, TruncatedFilesNeverReadPastTheirEnd) {
  for (int bits : {8, 16}) {
    WavShape shape;
    shape.bitsPerSample = bits;
    shape.channels = 2;
    shape.samples = PatternSamples(40);
    const auto file = BuildWav(shape);
    ASSERT_EQ(file.size(), 44u + 40u);
    const size_t frame = static_cast<size_t>(2 * bits / 8);
    for (size_t length = 0; length <= file.size(); ++length) {
      const auto copy = ExactCopy(file, length);
      const auto wave = ParseWaveImage({copy.get(), length});
      const size_t frames = length > 44 ? (length - 44) / frame : 0;
      if (frames == 0) {
        EXPECT_FALSE(wave.has_value()) << bits << "-bit, " << length << " bytes";
        continue;
      }
      ASSERT_TRUE(wave.has_value()) << bits << "-bit, " << length << " bytes";
      EXPECT_EQ(wave->samples.size(), frames * frame) << length;
      EXPECT_EQ(wave->samples.data(), copy.get() + 44);
    }
  }
}

TEST(WaveImageTest, LooksLikeWaveChecksOnlyRiffAndFmt) {
  std::vector<uint8_t> header;
  AppendTag(header, "RIFF");
  AppendUint32(header, 0);
  AppendTag(header, "AVI ");
  AppendTag(header, "fmt ");
  EXPECT_TRUE(LooksLikeWave(header));
  EXPECT_FALSE(ParseWaveImage(header).has_value());
  header.pop_back();
  EXPECT_FALSE(LooksLikeWave(header));
  EXPECT_FALSE(LooksLikeWave({}));
}

// Third-party files, valid or broken: reading them must never crash nor leave the image.
TEST(WaveImageTest, CorpusFilesNeverCrashTheReader) {
  const std::filesystem::path corpus =
      std::filesystem::path(VELKO_SOURCE_DIR) / ".." / "shared" / "corpora" / "wav";
  if (!std::filesystem::is_directory(corpus)) GTEST_SKIP() << "no WAV corpus at " << corpus;
  int files = 0;
  int read = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(corpus)) {
    if (!entry.is_regular_file()) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                     std::istreambuf_iterator<char>());
    const auto copy = ExactCopy(bytes, bytes.size());
    const std::span<const uint8_t> image(copy.get(), bytes.size());
    ++files;
    const auto wave = ParseWaveImage(image);
    // The folder of well-formed files holds one without any sample, which has nothing to play.
    const bool wellFormed = entry.path().parent_path().filename() == "valid" &&
                            entry.path().filename() != "no_samples.wav";
    EXPECT_TRUE(wave.has_value() || !wellFormed) << entry.path();
    if (!wave) continue;
    ++read;
    EXPECT_GE(wave->samples.data(), image.data()) << entry.path();
    EXPECT_LE(wave->samples.data() + wave->samples.size(), image.data() + image.size())
        << entry.path();
    EXPECT_GT(wave->samples.size(), 0u) << entry.path();
    EXPECT_EQ(wave->samples.size() % static_cast<size_t>(wave->format.blockAlign), 0u)
        << entry.path();
    // Canonical files of the corpus hold their format block where a plain writer puts it.
    if (entry.path().filename() == "mono_pcm_16_44100.wav") {
      EXPECT_EQ(wave->format.channels, 1);
      EXPECT_EQ(wave->format.bitsPerSample, 16);
      EXPECT_EQ(wave->format.sampleRate, 44100);
    }
  }
  EXPECT_GT(files, 0);
  EXPECT_GT(read, 0);
  RecordProperty("files", files);
  RecordProperty("read", read);
}

}  // namespace
}  // namespace velko
