// velko-sim DIR [options]: the whole game on the headless platform, DIR standing in for the
// program's directory.
#include <cstdio>
#include <string>

#include "game/game.h"
#include "platform/headless/headless_platform.h"
#include "services/services.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: velko-sim DIR [options]\n");
    return 2;
  }
  velko::platform::HeadlessOptions options;
  options.executablePath = std::string(argv[1]) + "/velko";
  velko::platform::HeadlessPlatform platform(options);
  velko::Services services(platform);
  services.StartUp();
  velko::Game game(services);
  return game.Run();
}
