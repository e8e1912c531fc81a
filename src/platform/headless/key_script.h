// Scripted keys: one event per line, "FRAME KEY down|up", '#' comments and blank lines
// ignored. KEY is UP, DOWN, LEFT, RIGHT, ESCAPE, F12 or a decimal scan code. A key that goes
// down at frame F is held in the snapshots of frames F, F+1, ... up to, not including, the
// frame of its next "up"; events of one frame apply in file order; frames of 0 or less mean 1.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velko::platform {

class KeyScript {
 public:
  struct Event {
    int64_t frame = 1;
    int code = 0;
    bool down = false;
  };

  // Null with a message in `error` when a line cannot be read.
  static std::optional<KeyScript> Parse(std::string_view text, std::string& error);
  void Add(int64_t frame, int code, bool down);
  // The snapshot of frame `frame` (counted from 1): 0x80 for every held key.
  void Snapshot(int64_t frame, std::array<std::uint8_t, 256>& keys);

 private:
  std::vector<Event> events_;  // kept sorted by frame, file order within a frame
  size_t applied_ = 0;
  int64_t lastFrame_ = 0;
  std::array<std::uint8_t, 256> held_{};
};

}  // namespace velko::platform
