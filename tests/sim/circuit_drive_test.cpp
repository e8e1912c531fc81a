// The circuits the game ships, under its own driving rules, headless: the generated one and
// those of levels/ as the build imported them, each driven by a key script through velko-sim
// and checked frame by frame against what the circuit's design says.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "sim/sim_fixture.h"
#include "velko_sim/trace_reader.h"

namespace velko {
namespace {

namespace fs = std::filesystem;
using sim::Trace;
using testing::RunSim;
using testing::SimResult;
using testing::TempDir;

// What one frame of the trace says of the car.
struct Frame {
  double frame, speed, screenX, screenY, scrollX, scrollY, type1, type2, type3, blocked, crashCount,
      sounds;

  // The car's map cell comes from its centre: screen + scroll + 32, over 50 pixels a cell.
  double CentreY() const { return screenY + scrollY + 32; }
  int Column() const { return static_cast<int>((screenX + scrollX + 32) / 50); }
  int Row() const { return static_cast<int>(CentreY() / 50); }
  bool ProbeReads(double type) const { return type1 == type || type2 == type || type3 == type; }
  bool Touched() const { return blocked != 0 || crashCount != 0; }
};
using Frames = std::vector<Frame>;

constexpr const char* kFields[] = {"frame", "speed", "screenX", "screenY", "scrollX",    "scrollY",
                                   "type1", "type2", "type3",   "blocked", "crashCount", "sounds"};

Frames FramesOf(const Trace& trace) {
  Frames frames;
  for (size_t f = 1; f <= trace.Frames(); ++f) {
    double v[std::size(kFields)];
    for (size_t i = 0; i < std::size(kFields); ++i) v[i] = trace.Number(f, kFields[i]);
    frames.push_back({v[0], v[1], v[2], v[3], v[4], v[5], v[6], v[7], v[8], v[9], v[10], v[11]});
  }
  return frames;
}

template <typename... Parts>
std::string Say(const Parts&... parts) {
  std::ostringstream text;
  (text << ... << parts);
  return text.str();
}

// A check of a whole run: empty when the run did what the design says, else what went wrong.
using Check = std::function<std::string(const Frames&)>;

// The first block of the run, where the car met an obstacle, checked by `atBlock`.
Check FirstBlock(std::function<std::string(const Frame&)> atBlock) {
  return [atBlock](const Frames& frames) {
    const auto hit =
        std::find_if(frames.begin(), frames.end(), [](const Frame& f) { return f.blocked == 1; });
    return hit == frames.end() ? std::string("the car never met an obstacle") : atBlock(*hit);
  };
}

// Full throttle up the start straight: the road is open up to the barrier at the top, where
// the car bounces off a solid tile under its front probe, with the crash sound; in `column`
// when the circuit's start column is known.
Check TopWall(std::optional<int> column) {
  return FirstBlock([column](const Frame& hit) -> std::string {
    if (hit.CentreY() > 100) return Say("blocked at y ", hit.CentreY(), ", before the barrier");
    if (hit.type1 != 1) return Say("front probe read ", hit.type1, " at the barrier");
    if (hit.speed >= 0) return Say("no bounce: speed ", hit.speed);
    if (hit.sounds != 1) return Say("sounds played: ", hit.sounds);
    if (column && hit.Column() != *column) return "left the start column";
    return "";
  });
}

// Aimed left up the start straight, into the cut corner of the first bend, which blocks as a
// tile of collision type `type`, not as a wall: a bounce with the sound.
Check CutCorner(double type) {
  return FirstBlock([type](const Frame& hit) -> std::string {
    if (hit.ProbeReads(1)) return "a solid tile blocked first";
    if (!hit.ProbeReads(type)) return Say("probes read ", hit.type1, hit.type2, hit.type3);
    if (hit.speed >= 0 || hit.sounds != 1) return "no bounce with sound";
    return "";
  });
}

// One clockwise lap of the generated circuit at full speed: touches nothing, passes a
// checkpoint on every straight in order, scrolls both ways, and ends on the start straight,
// over the line again.
std::string CleanLap(const Frames& frames) {
  static constexpr int kCheckpoints[][2] = {{15, 2},  {30, 6},  {45, 10}, {57, 25}, {48, 42},
                                            {38, 36}, {30, 30}, {22, 36}, {14, 42}, {6, 25}};
  size_t next = 0;
  double maxX = 0, maxY = 0;
  for (const Frame& f : frames) {
    if (f.Touched() || f.sounds != 0) return Say("touched something in frame ", f.frame);
    if (next < std::size(kCheckpoints) && f.Column() == kCheckpoints[next][0] &&
        f.Row() == kCheckpoints[next][1]) {
      ++next;
    }
    maxX = std::max(maxX, f.scrollX);
    maxY = std::max(maxY, f.scrollY);
  }
  if (next < std::size(kCheckpoints)) {
    return Say("missed checkpoint ", kCheckpoints[next][0], ":", kCheckpoints[next][1]);
  }
  if (maxX < 800 || maxY < 600) return Say("the view scrolled only to ", maxX, ",", maxY);
  const Frame& last = frames.back();
  if (last.Column() < 5 || last.Column() > 7 || last.Row() < 4 || last.Row() > 10) {
    return Say("ended in cell ", last.Column(), ",", last.Row());
  }
  return "";
}

// Town: through the first bend onto the short top street, which ends in the block at column
// 19; the first crash is there, on a solid tile, after the bend was driven cleanly.
Check TownFirstBend() {
  return FirstBlock([](const Frame& hit) -> std::string {
    if (hit.Column() < 17 || hit.Row() > 3) {
      return Say("blocked in cell ", hit.Column(), ",", hit.Row(), " before the street end");
    }
    if (!hit.ProbeReads(1)) return "no solid tile ahead at the street end";
    return "";
  });
}

// The fast circuit: through the first bend and down the long top straight, touching nothing.
std::string FastFirstBend(const Frames& frames) {
  for (const Frame& f : frames) {
    if (f.Touched()) return Say("touched something in frame ", f.frame);
  }
  const Frame& last = frames.back();
  if (last.Column() < 22 || last.Row() != 2) {
    return Say("ended in cell ", last.Column(), ",", last.Row());
  }
  return "";
}

struct Drive {
  std::string name;
  std::string circuit;  // a folder of levels/ in the build; empty: the generated circuit
  std::string keys;     // the key script, under tests/
  int frames;
  Check check;
};

const std::vector<Drive>& Drives() {
  static const std::vector<Drive> drives = {
      {"sim_circuit_lap", "", "e2e/lap.keys", 1210, CleanLap},
      {"sim_circuit_top_wall", "", "e2e/top_wall.keys", 120, TopWall(6)},
      {"sim_circuit_half_tile_corner", "", "e2e/half_tile_corner.keys", 120, CutCorner(2)},
      {"level_ville_top_wall", "ville", "e2e/top_wall.keys", 160, TopWall(std::nullopt)},
      {"level_rapide_top_wall", "rapide", "e2e/top_wall.keys", 160, TopWall(std::nullopt)},
      // The cut corner is brick (2) in town, the concrete barrier's corner (4) on the fast one.
      {"level_ville_half_tile_corner", "ville", "e2e/half_tile_corner.keys", 160, CutCorner(2)},
      {"level_rapide_half_tile_corner", "rapide", "e2e/half_tile_corner.keys", 160, CutCorner(4)},
      {"level_ville_first_bend", "ville", "level/first_bend.keys", 160, TownFirstBend()},
      {"level_rapide_first_bend", "rapide", "level/first_bend.keys", 160, FastFirstBend},
  };
  return drives;
}

// The data files the build names, space-separated.
std::vector<std::string> DataFiles() {
  std::istringstream names(VELKO_DATA_FILES);
  std::vector<std::string> files;
  for (std::string name; names >> name;) files.push_back(name);
  return files;
}

// Named by the test's name in CTest's list.
void PrintTo(const Drive& drive, std::ostream* out) {
  *out << drive.name;
}

class CircuitDrive : public ::testing::TestWithParam<Drive> {};

TEST_P(CircuitDrive, GoesAsTheDesignSays) {
  const Drive& drive = GetParam();
  const fs::path build = VELKO_BINARY_DIR;
  const fs::path circuit = build / "levels" / drive.circuit;
  if (!drive.circuit.empty()) {
    ASSERT_TRUE(fs::exists(circuit / "level.map")) << "the build has not imported " << circuit;
  }
  // A copy of the data files, the circuit's own where it has them: the run writes beside them.
  TempDir dir;
  for (const std::string& name : DataFiles()) {
    const fs::path from = fs::exists(circuit / name) ? circuit / name : build / name;
    std::error_code error;
    fs::copy_file(from, dir.File(name), error);
    ASSERT_FALSE(error) << "the build has no " << from;
  }
  fs::create_directory(dir.File("screenshots"));

  const SimResult result =
      RunSim(dir, {dir.Path().string(), "--keys", VELKO_SOURCE_DIR "/tests/" + drive.keys,
                   "--frames", std::to_string(drive.frames), "--trace", "-"});
  ASSERT_EQ(result.exitCode, 0) << result.err;
  EXPECT_EQ(result.err, "") << "velko-sim showed a message";
  const Trace trace(result.out);
  for (const char* field : kFields) ASSERT_TRUE(trace.Has(field)) << "no field " << field;
  ASSERT_GE(trace.Frames() + 1, static_cast<size_t>(drive.frames));
  EXPECT_EQ(drive.check(FramesOf(trace)), "");
}

INSTANTIATE_TEST_SUITE_P(Circuits, CircuitDrive, ::testing::ValuesIn(Drives()),
                         [](const ::testing::TestParamInfo<Drive>& info) {
                           return info.param.name;
                         });

}  // namespace
}  // namespace velko
