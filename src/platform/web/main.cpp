// The web entry: the game runs in the page, and after each end (Escape, or a start that
// failed) the page offers another run.
#include "game/game.h"
#include "platform/web/web_platform.h"
#include "services/services.h"

namespace {

void PlayOnce() {
  velko::platform::WebPlatform platform;
  velko::Services services(platform);
  services.StartUp();
  velko::Game game(services);
  game.Run();
}

}  // namespace

int main() {
  for (;;) {
    PlayOnce();
    velko::platform::WaitForReplay();
  }
}
