#include "game/trace_writer.h"

#include <cinttypes>
#include <cstdio>

#include "platform/file_system.h"

namespace velko {

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

bool TraceWriter::Open(const std::string& pathUtf8) {
  Close();
  toStandardOutput_ = pathUtf8 == "-";
  if (!toStandardOutput_) {
    file_ = files::OpenForWriting(pathUtf8);
    if (file_ < 0) return false;
  }
  open_ = true;
  failed_ = false;
  Put(kTraceHeader);
  return true;
}

void TraceWriter::Write(const GameState& state, long frame) {
  if (open_) Put(TraceLine(state, frame));
}

void TraceWriter::Put(const std::string& line) {
  pending_ += line;
  pending_ += '\n';
  if (pending_.size() >= kFlushBytes) Flush();
}

void TraceWriter::Flush() {
  if (toStandardOutput_) {
    failed_ =
        failed_ || std::fwrite(pending_.data(), 1, pending_.size(), stdout) != pending_.size();
  } else {
    failed_ = failed_ || !files::WriteAll(file_, pending_.data(), pending_.size());
  }
  pending_.clear();
}

bool TraceWriter::Close() {
  if (!open_) return true;
  Flush();
  bool ok = !failed_;
  if (toStandardOutput_) {
    ok = std::fflush(stdout) == 0 && ok;
  } else {
    ok = files::Close(file_) && ok;
    file_ = -1;
  }
  open_ = false;
  return ok;
}

}  // namespace velko
