// The command line of velko-sim: DIR [--keys FILE] [--frames N] [--frame-ms N] [--start-ms N]
// [--dialog ACTIONS] [--no-sound] [--desktop-depth N] [--trace FILE|-].
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
  std::string traceFile;  // empty: no trace; "-": standard output
};

// Null with a message in `error` for a bad command line.
std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& arguments,
                                          std::string& error);

inline constexpr char kUsage[] =
    "usage: velko-sim DIR [--keys FILE] [--frames N] [--frame-ms N] [--start-ms N]\n"
    "                     [--dialog ACTIONS] [--no-sound] [--desktop-depth N] [--trace FILE|-]\n";

}  // namespace velko::sim
