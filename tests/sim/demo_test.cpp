// Demos through velko-sim: a recorded run replays to the very same trace whatever the clock
// and the keys of the replaying machine; a demo that cannot be played here is refused with its
// reason and plays nothing; a recording cut short plays what it holds.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "sim/sim_fixture.h"
#include "velko_sim/trace_reader.h"

namespace velko {
namespace {

using testing::RunSim;

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
    lines.push_back(text.substr(start, end - start));
  }
  return lines;
}
using testing::SimResult;
using testing::TempDir;

// Row 2 is a wall across the map: driving up bounces off it, and the third bounce skids.
constexpr char kIntoTheWall[] =
    "1 UP down\n"
    "40 UP up\n"
    "45 UP down\n"
    "70 UP up\n"
    "72 LEFT down\n"
    "80 LEFT up\n"
    "81 F12 down\n"
    "83 F12 up\n"
    "84 UP down\n"
    "110 UP up\n";

class DemoRun : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::WriteLevelMap(dir_, 20, 12, [](int, int row) { return row == 2 ? 1 : 0; }, {0, 1});
    testing::WriteCar(dir_);
    testing::WriteCrashSound(dir_);
    std::filesystem::create_directory(dir_.File("screenshots"));
    dir_.Write("drive.keys", kIntoTheWall);
  }

  // Records the drive; its trace.
  std::string Record(std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {
        dir_.Path().string(), "--keys", Path("drive.keys"), "--record", Path("run.vdm"),
        "--frames",           "130",    "--trace",          "-"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    const SimResult recorded = RunSim(dir_, arguments);
    EXPECT_EQ(recorded.exitCode, 0) << recorded.err;
    return recorded.out;
  }

  SimResult Play(const std::string& demo, std::vector<std::string> extra = {}) {
    std::vector<std::string> arguments = {dir_.Path().string(), "--demo", Path(demo), "--trace",
                                          "-"};
    arguments.insert(arguments.end(), extra.begin(), extra.end());
    return RunSim(dir_, arguments);
  }

  std::string Path(const std::string& name) const { return dir_.File(name).string(); }

  TempDir dir_;
};

TEST_F(DemoRun, ReplaysTheSameTraceWhateverTheReplayingMachineGives) {
  const std::string recorded = Record({"--start-ms", "0"});
  const sim::Trace trace(recorded);
  ASSERT_EQ(trace.Frames(), 130u);
  // The run met the wall, bounced with its sound and skidded: the generator's draws mattered.
  EXPECT_NE(trace.Field(130, "crashCount"), "0");
  EXPECT_NE(trace.Field(130, "sounds"), "0");
  // Another start time (another seed and clock), other frame times, other keys, no sound card:
  // the demo brings everything the run took.
  const struct {
    const char* what;
    std::vector<std::string> options;
  } machines[] = {
      {"the same machine", {}},
      {"another clock", {"--start-ms", "123456", "--frame-ms", "7"}},
      {"no sound card", {"--no-sound"}},
  };
  for (const auto& machine : machines) {
    const SimResult played = Play("run.vdm", machine.options);
    EXPECT_EQ(played.exitCode, 0) << machine.what << ": " << played.err;
    EXPECT_TRUE(played.out == recorded) << machine.what;
  }
  EXPECT_EQ(
      RunSim(dir_, {dir_.Path().string(), "--demo", Path("run.vdm"), "--keys", Path("drive.keys")})
          .exitCode,
      2);
}

TEST_F(DemoRun, ADemoThatCannotBePlayedHereIsRefusedWithItsReason) {
  Record();
  const std::string demo = dir_.Read("run.vdm");
  const auto patched = [&demo](std::size_t at, char value) {
    std::string copy = demo;
    copy[at] = value;
    return copy;
  };
  // The header: tag 8, format 2, version 1 + 3, digests 32, level folder 2 + 0, dialog 11,
  // seed 4, sound 1, checksum 4; then the first chunk's length and checksum.
  constexpr std::size_t kFirstRecords = 72 + 8;
  ASSERT_GT(demo.size(), kFirstRecords + 4);
  struct Case {
    const char* what;
    std::string bytes;
    std::string reason;  // UTF-8, as velko-sim says it
  };
  const Case cases[] = {
      {"not a demo", "RIFF....WAVEfmt ", "n'est pas une démo de Velko"},
      {"an empty file", "", "n'est pas une démo de Velko"},
      {"a newer format", patched(8, '\x02'), "faite par un jeu plus récent : format 2"},
      {"a damaged header", patched(20, static_cast<char>(demo[20] ^ 1)),
       "son en-tête ne correspond pas à sa somme de contrôle"},
      {"a damaged chunk",
       patched(kFirstRecords + 3, static_cast<char>(demo[kFirstRecords + 3] ^ 0x40)),
       "ne correspond pas à sa somme de contrôle"},
      {"a header cut short", demo.substr(0, 30), "son en-tête est coupé"},
  };
  for (const Case& c : cases) {
    dir_.Write("bad.vdm", c.bytes);
    const SimResult played = Play("bad.vdm");
    EXPECT_EQ(played.exitCode, 2) << c.what;
    EXPECT_NE(played.err.find(c.reason), std::string::npos) << c.what << ": " << played.err;
    EXPECT_TRUE(played.out.empty()) << c.what << ": nothing may be played";
  }
  // Another circuit: the file that differs is named.
  testing::WriteLevelMap(dir_, 20, 12, [](int, int row) { return row == 3 ? 1 : 0; }, {0, 1});
  const SimResult other = Play("run.vdm");
  EXPECT_EQ(other.exitCode, 2);
  EXPECT_NE(other.err.find("level.map diffèrent"), std::string::npos) << other.err;
  EXPECT_TRUE(other.out.empty());
}

TEST_F(DemoRun, ARecordingCutShortPlaysWhatItHolds) {
  const std::string recorded = Record();
  const std::string demo = dir_.Read("run.vdm");
  // The last chunk loses its end, as when the game is killed while writing it.
  dir_.Write("cut.vdm", demo.substr(0, demo.size() - 3));
  const SimResult played = Play("cut.vdm");
  EXPECT_EQ(played.exitCode, 0) << played.err;
  const std::vector<std::string> full = Lines(recorded);
  const std::vector<std::string> part = Lines(played.out);
  ASSERT_GT(part.size(), 2u);
  ASSERT_LE(part.size(), full.size());
  // The header and every frame the cut demo holds are as recorded; only the last frame, where
  // the game was made to quit, may differ.
  for (std::size_t line = 0; line + 1 < part.size(); ++line) {
    EXPECT_EQ(part[line], full[line]) << "line " << line;
  }
}

// Five minutes of driving round and about: well under 64 KB a minute.
TEST_F(DemoRun, FiveMinutesOfPlayTakeLittleRoom) {
  testing::WriteLevelMap(dir_, 40, 40, [](int c, int r) { return c % 13 == 0 && r % 7 == 0; },
                         {0, 1});
  std::string keys;
  for (int second = 0; second < 300; ++second) {
    const int frame = second * 62 + 1;
    keys += std::to_string(frame) + " UP down\n" + std::to_string(frame + 40) + " UP up\n";
    const char* turn = second % 3 == 0 ? "LEFT" : "RIGHT";
    keys += std::to_string(frame + 20) + " " + turn + " down\n" + std::to_string(frame + 35) + " " +
            turn + " up\n";
  }
  dir_.Write("long.keys", keys);
  const SimResult recorded =
      RunSim(dir_, {dir_.Path().string(), "--keys", Path("long.keys"), "--record", Path("long.vdm"),
                    "--frames", "18600", "--frame-ms", "16"});
  ASSERT_EQ(recorded.exitCode, 0) << recorded.err;
  const auto bytes = std::filesystem::file_size(dir_.File("long.vdm"));
  std::printf("a 5-minute demo takes %ju bytes (%.1f KB a minute)\n", static_cast<uintmax_t>(bytes),
              static_cast<double>(bytes) / 1024.0 / 5.0);
  EXPECT_LE(bytes, 5u * 64u * 1024u);
}

}  // namespace
}  // namespace velko
