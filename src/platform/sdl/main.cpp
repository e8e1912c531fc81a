// The Linux entry: the command line, then the SDL platform, the services in their order, one
// run, exit code 0.
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "game/command_line.h"
#include "game/game_run.h"
#include "platform/sdl/sdl_platform.h"

namespace {

// The absolute path of an existing folder, "" for anything else.
std::string AbsoluteFolder(const std::string& name) {
  std::error_code error;
  const std::filesystem::path path(name);
  if (!std::filesystem::is_directory(path, error)) return {};
  const std::filesystem::path absolute = std::filesystem::absolute(path, error);
  return error ? std::string() : absolute.lexically_normal().string();
}

}  // namespace

int main(int argc, char** argv) {
  using velko::CommandLineAction;
  using velko::platform::Utf8FromCp1252;
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const velko::CommandLine line = velko::ParseCommandLine(arguments, AbsoluteFolder);
  switch (line.action) {
    case CommandLineAction::Help:
      std::fputs(Utf8FromCp1252(velko::UsageText()).c_str(), stdout);
      return 0;
    case CommandLineAction::Version:
      std::fputs(velko::VersionText().c_str(), stdout);
      return 0;
    case CommandLineAction::Refuse:
      if (!line.error.empty()) std::fprintf(stderr, "velko: %s\n", line.error.c_str());
      std::fputs(Utf8FromCp1252(velko::UsageText()).c_str(), stderr);
      return 2;
    case CommandLineAction::Play:
      break;
  }
  velko::platform::SdlPlatform platform;
  return velko::RunGame(platform, velko::RequestFrom(line));
}
