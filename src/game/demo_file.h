// Demo files (".vdm"): everything a run of the game took from the machine, so that the same
// run can be computed again on any build: the dialog's outcome, the random seed, every clock
// reading the game made and the key state at every poll. The layout is in docs/demo-format.md.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "game/display_mode_dialog.h"
#include "game/game_state.h"

namespace velko {

inline constexpr char kDemoMagic[8] = {'V', 'E', 'L', 'K', 'O', 'D', 'E', 'M'};
// The format this game writes; it reads every format from 1 up to this one.
inline constexpr uint16_t kDemoFormat = 1;
// The data files a demo depends on, in the order of their digests.
inline constexpr std::array<const char*, 4> kDemoDataFiles = {"level.map", "level.bpb", "car.bmp",
                                                              "car.bpb"};
// A demo file may not be larger than this (about nine hours of play).
inline constexpr std::size_t kMaxDemoBytes = std::size_t{64} << 20;

struct DemoHeader {
  uint16_t format = kDemoFormat;
  std::string gameVersion;
  std::array<uint64_t, kDemoDataFiles.size()> digests{};  // XXH3-64 of each file, 0 if missing
  std::string levelFolder;  // as the game was asked to play it ("" for its own circuit)
  DisplayModeOutcome dialogEnd = DisplayModeOutcome::ScreenOpened;
  GameSettings settings;
  uint32_t randomSeed = 0;
  int32_t soundAvailable = 1;  // what starting the sound gave: the game counts its crash sounds
};

struct DemoTape {
  DemoHeader header;
  std::vector<uint8_t> records;  // the chunks' records, checked and joined
  bool finished = false;         // the game ended while recording; else the recording was cut short
};

// One thing the game took from the machine.
struct DemoEvent {
  enum class Kind : uint8_t { Clock, Poll, End };
  Kind kind = Kind::End;
  int32_t value = 0;  // the clock reading, or the poll's result (0 or 1)
};

// Walks a tape's records in order; a poll's key changes are applied to `Keys()`.
class DemoCursor {
 public:
  explicit DemoCursor(const DemoTape& tape) : records_(tape.records) {}
  // The next event; End when the tape has no more.
  DemoEvent Next();
  const std::array<uint8_t, 256>& Keys() const { return keys_; }
  std::size_t Position() const { return at_; }

 private:
  std::span<const uint8_t> records_;
  std::size_t at_ = 0;
  int32_t clock_ = 0;
  std::array<uint8_t, 256> keys_{};
};

// Reads a whole demo. Null with the reason in `error` (French, Windows-1252, naming what is
// wrong) for a file that is not a demo, is damaged, or is of a newer format than this game's.
std::optional<DemoTape> ReadDemo(std::span<const uint8_t> bytes, std::string& error);

// Writes a demo as the game runs: the header once the dialog has ended, then the events, in
// chunks that reach the file at least once a second of the game's clock, so that a crash or a
// kill loses no more than that.
class DemoWriter {
 public:
  DemoWriter() = default;
  ~DemoWriter();
  DemoWriter(const DemoWriter&) = delete;
  DemoWriter& operator=(const DemoWriter&) = delete;

  bool Open(const std::string& pathUtf8);
  void Header(const DemoHeader& header);
  void Clock(int32_t reading);
  void Poll(int32_t result, const std::array<uint8_t, 256>& keys);
  // Ends the demo (the game ended) and closes the file; false when anything failed to reach it.
  bool Finish();
  bool HeaderWritten() const { return headerWritten_; }

 private:
  void Flush();

  int file_ = -1;
  bool headerWritten_ = false;
  bool failed_ = false;
  std::vector<uint8_t> chunk_;
  int32_t lastClock_ = 0;
  bool haveClock_ = false;
  int32_t flushedAt_ = 0;
  std::array<uint8_t, 256> lastKeys_{};
};

}  // namespace velko
