// The Linux entry: the SDL platform, the services in their order, one run, exit code 0.
#include "game/game.h"
#include "platform/sdl/sdl_platform.h"
#include "services/services.h"

int main() {
  velko::platform::SdlPlatform platform;
  velko::Services services(platform);
  services.StartUp();
  velko::Game game(services);
  return game.Run();
}
