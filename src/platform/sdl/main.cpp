// The Linux entry: the command line, then the SDL platform, the services in their order, one
// run, exit code 0.
#include <cstdio>
#include <string>
#include <vector>

#include "game/game.h"
#include "platform/sdl/command_line.h"
#include "platform/sdl/sdl_platform.h"
#include "services/services.h"

int main(int argc, char** argv) {
  using velko::platform::CommandLineAction;
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  switch (velko::platform::ParseCommandLine(arguments)) {
    case CommandLineAction::Help:
      std::fputs(velko::platform::UsageText().c_str(), stdout);
      return 0;
    case CommandLineAction::Version:
      std::fputs(velko::platform::VersionText().c_str(), stdout);
      return 0;
    case CommandLineAction::Refuse:
      std::fputs(velko::platform::UsageText().c_str(), stderr);
      return 2;
    case CommandLineAction::Play:
      break;
  }
  velko::platform::SdlPlatform platform;
  velko::Services services(platform);
  services.StartUp();
  velko::Game game(services);
  return game.Run();
}
