// The services of a run being recorded, or of a recorded run played back: the same services,
// except that the game's clock readings and key polls go to the demo, or come from it.
#pragma once

#include <array>
#include <cstdint>

#include "game/demo_file.h"
#include "services/services.h"

namespace velko {

class RecordingServices : public Services {
 public:
  RecordingServices(platform::Platform& platform, DemoWriter& writer)
      : Services(platform), writer_(writer) {}

  int32_t AudioStart() override;
  int32_t MillisecondsNow() override;
  int32_t KeyboardPoll() override;
  int32_t SoundAvailable() const { return soundAvailable_; }

 private:
  DemoWriter& writer_;
  int32_t soundAvailable_ = 0;
};

struct PlaybackPace {
  bool recordedPace = true;  // wait for the recorded time to pass (else as fast as it goes)
  bool escapeStops = true;   // the player's Escape (or closing the window) stops watching
};

class PlaybackServices : public Services {
 public:
  PlaybackServices(platform::Platform& platform, const DemoTape& tape, PlaybackPace pace);

  // The sound starts if it can, but the game is told what it was told when the demo was made.
  int32_t AudioStart() override;
  int32_t MillisecondsNow() override;
  int32_t KeyboardPoll() override;

  // The game asked for something else than the demo holds next: the demo was not made by
  // this game on these files. The playback then ends as if Escape were held.
  bool Diverged() const { return diverged_; }
  // The player stopped watching.
  bool Stopped() const { return stopped_; }

 private:
  bool LiveEscape();
  void WaitForRecordedTime(int32_t reading);
  int32_t EndWithEscape();

  DemoCursor cursor_;
  int32_t recordedSound_;
  PlaybackPace pace_;
  bool ended_ = false;
  bool diverged_ = false;
  bool stopped_ = false;
  int32_t lastReading_ = 0;
  bool paceStarted_ = false;
  int32_t firstReading_ = 0;
  uint32_t firstTick_ = 0;
};

}  // namespace velko
