// The command line of velko-sim: DIR [--keys FILE] [--frames N] [--frame-ms N] [--start-ms N]
// [--dialog ACTIONS] [--no-sound] [--desktop-depth N] [--trace FILE|-] [--level DIR]
// [--record FILE] [--demo FILE].
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velko::sim {

inline constexpr int64_t kFrameCap = 1'000'000;

struct SimOptions {
  std::string directory;
  std::string keysFile;           // empty: no key is ever pressed
  std::optional<int64_t> frames;  // Escape held in this frame's snapshot
  uint32_t frameMs = 16;
  uint32_t startMs = 1000;
  std::string dialogActions = "ok";
  bool sound = true;
  int desktopDepth = 32;
  std::string traceFile;    // empty: no trace; "-": standard output
  std::string demoFile;     // play this demo back, as fast as it goes
  std::string recordFile;   // record the run as a demo
  std::string levelFolder;  // as velko --level: a folder, or a circuit's name under DIR/levels
};

// Null with a message in `error` for a bad command line.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& arguments,
                                          std::string& error);

inline constexpr char kUsage[] =
    "usage: velko-sim DIR [--keys FILE] [--frames N] [--frame-ms N] [--start-ms N]\n"
    "                     [--dialog ACTIONS] [--no-sound] [--desktop-depth N] [--trace FILE|-]\n"
    "                     [--level DIR] [--record FILE] [--demo FILE]\n";

}  // namespace velko::sim
