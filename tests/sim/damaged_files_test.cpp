// The whole game over damaged copies of its own files: cut short, bytes flipped, header
// fields pushed to their extremes. Whatever the damage, a run must end normally (exit code 0,
// like the game) with no sanitizer report: the readers refuse or cut what is not there.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "sim/sim_fixture.h"

namespace velko {
namespace {

using testing::RunSim;
using testing::SimResult;
using testing::TempDir;

using FileBytes = std::vector<unsigned char>;

FileBytes ReadBuilt(const std::string& name) {
  std::ifstream in(std::filesystem::path(VELKO_BINARY_DIR) / name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

enum class Damage { CutShort, FlipBytes, ExtremeHeaderWord, AppendJunk };

// One damaged copy of `original`, the same for the same seed.
FileBytes Damaged(const FileBytes& original, Damage damage, uint32_t seed) {
  std::mt19937 random(seed);
  FileBytes bytes = original;
  const auto anywhere = [&](size_t size) {
    return size == 0 ? size_t{0} : static_cast<size_t>(random() % size);
  };
  switch (damage) {
    case Damage::CutShort:
      // Mostly inside the headers, where the sizes are.
      bytes.resize(random() % 2 == 0 ? anywhere(std::min<size_t>(bytes.size(), 80))
                                     : anywhere(bytes.size()));
      break;
    case Damage::FlipBytes:
      for (int i = 0; i < 8 && !bytes.empty(); ++i) {
        bytes[anywhere(std::min<size_t>(bytes.size(), 64))] ^= static_cast<unsigned char>(random());
      }
      break;
    case Damage::ExtremeHeaderWord: {
      // A 16- or 32-bit field of the header at its largest, smallest or sign-flipping value.
      static constexpr uint32_t kValues[] = {0xFFFFFFFF, 0x7FFFFFFF, 0x80000000, 0x00007FFF,
                                             0x00008000, 0x0000FFFF, 0};
      const uint32_t value = kValues[random() % std::size(kValues)];
      const size_t at = anywhere(std::min<size_t>(bytes.size(), 60));
      for (size_t i = 0; i < 4 && at + i < bytes.size(); ++i) {
        bytes[at + i] = static_cast<unsigned char>(value >> (8 * i));
      }
      break;
    }
    case Damage::AppendJunk:
      for (int i = 0; i < 1000; ++i) bytes.push_back(static_cast<unsigned char>(random()));
      break;
  }
  return bytes;
}

class DamagedFilesTest : public ::testing::TestWithParam<const char*> {
 protected:
  static constexpr const char* kAssets[] = {"level.map", "level.bpb", "car.bmp", "car.bpb",
                                            "choc.wav"};

  void SetUp() override {
    for (const char* name : kAssets) {
      originals_.push_back(ReadBuilt(name));
      if (originals_.back().empty()) GTEST_SKIP() << "the build has no " << name;
    }
  }

  // Runs a few frames in both colour modes (the alternative mode reads car.bpb instead of
  // car.bmp) with `name` replaced by `bytes`.
  void RunWith(const std::string& name, const FileBytes& bytes, const std::string& what) {
    for (const char* dialog : {"ok", "select:1,toggle:4,ok"}) {
      TempDir dir;
      for (size_t i = 0; i < std::size(kAssets); ++i) dir.Write(kAssets[i], originals_[i]);
      dir.Write(name, bytes);
      const SimResult result =
          RunSim(dir, {dir.Path().string(), "--frames", "3", "--dialog", dialog});
      EXPECT_EQ(result.exitCode, 0) << what << ", dialog " << dialog << ": " << result.err;
      EXPECT_EQ(result.err.find("Sanitizer"), std::string::npos) << what << ": " << result.err;
      EXPECT_EQ(result.err.find("runtime error"), std::string::npos) << what << ": " << result.err;
    }
  }

  std::vector<FileBytes> originals_;
};

TEST_P(DamagedFilesTest, EveryDamageEndsTheRunNormally) {
  const std::string name = GetParam();
  size_t index = 0;
  while (kAssets[index] != name) ++index;
  const FileBytes& original = originals_[index];
  const Damage damages[] = {Damage::CutShort, Damage::FlipBytes, Damage::ExtremeHeaderWord,
                            Damage::AppendJunk};
  for (Damage damage : damages) {
    for (uint32_t seed = 1; seed <= 3; ++seed) {
      RunWith(name, Damaged(original, damage, seed),
              name + " damage " + std::to_string(static_cast<int>(damage)) + " seed " +
                  std::to_string(seed));
    }
  }
  // A file of nothing at all.
  RunWith(name, {}, name + " empty");
}

INSTANTIATE_TEST_SUITE_P(Assets, DamagedFilesTest,
                         ::testing::Values("level.map", "level.bpb", "car.bmp", "car.bpb",
                                           "choc.wav"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                           std::string name = info.param;
                           for (char& c : name) {
                             if (c == '.') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace velko
