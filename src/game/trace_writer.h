// The trace: a header, then one line per pass of the frame loop after its controls step.
#pragma once

#include <string>

#include "game/game_state.h"

namespace velko {

inline constexpr char kTraceHeader[] =
    "frame,tick,frameMs,fps,heading,speed,screenX,screenY,scrollX,scrollY,type1,type2,type3,"
    "blocked,canMove,crashCount,bounceTick,stopTick,opacity,sounds";

// One line, without its newline.
std::string TraceLine(const GameState& state, long frame);

class TraceWriter {
 public:
  TraceWriter() = default;
  ~TraceWriter();
  TraceWriter(const TraceWriter&) = delete;
  TraceWriter& operator=(const TraceWriter&) = delete;

  // "-" writes to standard output. False when the file cannot be created.
  bool Open(const std::string& path);
  bool IsOpen() const { return open_; }
  void Write(const GameState& state, long frame);
  // False when anything failed to reach the file.
  bool Close();

 private:
  static constexpr std::size_t kFlushBytes = 1 << 16;
  void Put(const std::string& line);
  void Flush();

  std::string pending_;
  int file_ = -1;
  bool toStandardOutput_ = false;
  bool open_ = false;
  bool failed_ = false;
};

}  // namespace velko
