#include "game/demo_services.h"

#include <algorithm>

#include "platform/scan_codes.h"

namespace velko {

int32_t RecordingServices::AudioStart() {
  soundAvailable_ = Services::AudioStart();
  return soundAvailable_;
}

int32_t RecordingServices::MillisecondsNow() {
  const int32_t reading = Services::MillisecondsNow();
  writer_.Clock(reading);
  return reading;
}

int32_t RecordingServices::KeyboardPoll() {
  const int32_t result = Services::KeyboardPoll();
  // The snapshot as the game reads it: the pads and a close request merged in.
  writer_.Poll(result, Keyboard().Snapshot());
  return result;
}

PlaybackServices::PlaybackServices(platform::Platform& platform, const DemoTape& tape,
                                   PlaybackPace pace)
    : Services(platform), cursor_(tape), recordedSound_(tape.header.soundAvailable), pace_(pace) {}

int32_t PlaybackServices::AudioStart() {
  Services::AudioStart();
  return recordedSound_;
}

int32_t PlaybackServices::MillisecondsNow() {
  if (!ended_) {
    const DemoEvent event = cursor_.Next();
    if (event.kind == DemoEvent::Kind::Clock) {
      lastReading_ = event.value;
      WaitForRecordedTime(event.value);
      return event.value;
    }
    diverged_ = event.kind != DemoEvent::Kind::End;
    ended_ = true;
  }
  // Past the end the clock stands still; the next poll ends the game.
  return lastReading_;
}

int32_t PlaybackServices::KeyboardPoll() {
  if (!ended_ && LiveEscape()) {
    stopped_ = true;
    ended_ = true;
  }
  if (ended_) return EndWithEscape();
  const DemoEvent event = cursor_.Next();
  if (event.kind != DemoEvent::Kind::Poll) {
    diverged_ = event.kind != DemoEvent::Kind::End;
    ended_ = true;
    return EndWithEscape();
  }
  // A failed read leaves the last snapshot in force, as it did when the demo was made.
  if (event.value != 0) Keyboard().Take(cursor_.Keys());
  return event.value;
}

bool PlaybackServices::LiveEscape() {
  if (!pace_.escapeStops) return false;
  // The player's keys never reach the game: a live key would change the run.
  std::array<uint8_t, 256> live{};
  const bool read = Platform().ReadKeys(live);
  return Platform().CloseRequested() || (read && (live[platform::scan::kEscape] & 0x80) != 0);
}

void PlaybackServices::WaitForRecordedTime(int32_t reading) {
  if (!pace_.recordedPace) return;
  const uint32_t now = Platform().TickCount();
  if (!paceStarted_) {
    paceStarted_ = true;
    firstReading_ = reading;
    firstTick_ = now;
    return;
  }
  const int64_t due = static_cast<int32_t>(static_cast<uint32_t>(reading - firstReading_));
  const int64_t passed = static_cast<uint32_t>(now - firstTick_);
  if (due <= passed) return;
  // A pause of the recorded game (a window being moved) is shown for a second at most; the
  // frames after it keep their own pace.
  const int64_t wait = std::min<int64_t>(due - passed, 1000);
  if (due - passed > wait) firstTick_ -= static_cast<uint32_t>(due - passed - wait);
  Platform().SleepMilliseconds(static_cast<uint32_t>(wait));
}

int32_t PlaybackServices::EndWithEscape() {
  std::array<uint8_t, 256> keys{};
  keys[platform::scan::kEscape] = platform::scan::kHeld;
  Keyboard().Take(keys);
  return 1;
}

}  // namespace velko
