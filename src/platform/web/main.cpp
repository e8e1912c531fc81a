// The web entry: the game runs in the page, and after each end (Escape, or a start that
// failed) the page offers another run. Each run plays the circuit the player chose in the page
// and is recorded, to be offered as a demo when the player asked for one; a demo dropped onto
// the page ends the run in progress and is watched next.
#include "game/game_run.h"
#include "platform/web/web_platform.h"
#include "platform/web/web_runs.h"

namespace {

// True when the run was driven and recorded whole.
bool PlayOnce() {
  velko::platform::WebPlatform platform;
  velko::RunRequest request;
  const std::string demo = velko::platform::TakeDroppedDemo();
  velko::platform::RunStarting(!demo.empty());
  long frames = 0;
  if (!demo.empty()) {
    request.playFile = demo;
    request.pace = velko::PlaybackPace{.recordedPace = true, .escapeStops = true};
  } else {
    request.recordFile = velko::platform::kRecordedDemo;
    request.game.levelFolderAtLoad = velko::platform::LevelFolderChosen;
    request.observer = [&frames](const velko::GameState&, long frame) { frames = frame; };
  }
  const int code = velko::RunGame(platform, request);
  return demo.empty() && code == 0 && frames > 0;
}

}  // namespace

int main() {
  for (;;) {
    const bool recorded = PlayOnce();
    if (velko::platform::DemoDropped()) continue;
    velko::platform::RunEnded(recorded);
    velko::platform::WaitForReplay();
  }
}
