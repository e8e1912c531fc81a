#include "trace_writer.h"

#include <cinttypes>

namespace velko::sim {

std::string TraceLine(const GameState& state, long frame) {
  const CarState& car = state.car;
  const ProbeState& probes = state.probes;
  const CrashState& crash = state.crash;
  char line[512];
  std::snprintf(line, sizeof line,
                "%ld,%" PRId32 ",%" PRId32 ",%" PRId32
                ",%.9g,%.9g,%.9g,%.9g,%.9g,%.9g,%d,%d,%d,%d,%d,%" PRId32 ",%" PRId32 ",%" PRId32
                ",%d,%" PRId32,
                frame, state.clock.moveStartTick, state.clock.frameMs, state.clock.framesPerSecond,
                static_cast<double>(car.heading), static_cast<double>(car.speed),
                static_cast<double>(car.screenX), static_cast<double>(car.screenY),
                static_cast<double>(car.scrollX), static_cast<double>(car.scrollY),
                probes.DevantType1, probes.DevantType2, probes.DevantType3, probes.blocked,
                car.canMove, crash.crashCount, crash.bounceTick, crash.stopTick, crash.carOpacity,
                state.crashSoundsPlayed);
  return line;
}

TraceWriter::~TraceWriter() {
  Close();
}

bool TraceWriter::Open(const std::string& path) {
  Close();
  if (path == "-") {
    file_ = stdout;
    ownsFile_ = false;
  } else {
    file_ = std::fopen(path.c_str(), "wb");
    ownsFile_ = true;
    if (file_ == nullptr) return false;
  }
  std::fputs(kTraceHeader, file_);
  std::fputc('\n', file_);
  return true;
}

void TraceWriter::Write(const GameState& state, long frame) {
  if (file_ == nullptr) return;
  const std::string line = TraceLine(state, frame);
  std::fwrite(line.data(), 1, line.size(), file_);
  std::fputc('\n', file_);
}

bool TraceWriter::Close() {
  if (file_ == nullptr) return true;
  bool ok = std::ferror(file_) == 0;
  if (ownsFile_) {
    ok = std::fclose(file_) == 0 && ok;
  } else {
    ok = std::fflush(file_) == 0 && ok;
  }
  file_ = nullptr;
  return ok;
}

}  // namespace velko::sim
