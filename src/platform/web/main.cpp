// The web entry: the game runs in the page, and after each end (Escape, or a start that
// failed) the page offers another run.
#include "game/game_run.h"
#include "platform/web/web_platform.h"

namespace {

void PlayOnce() {
  velko::platform::WebPlatform platform;
  velko::RunGame(platform, velko::RunRequest{});
}

}  // namespace

int main() {
  for (;;) {
    PlayOnce();
    velko::platform::WaitForReplay();
  }
}
