// The Windows entry: the Win32 platform, the services in their order, one run, exit code 0.
#include "game/game.h"
#include "platform/win32/win32_platform.h"
#include "services/services.h"

int main() {
  velko::platform::Win32Platform platform;
  velko::Services services(platform);
  services.StartUp();
  velko::Game game(services);
  return game.Run();
}
