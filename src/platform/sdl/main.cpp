// The Linux entry: the command line, then the SDL platform, the services in their order, one
// run, exit code 0.
#include <filesystem>
#include <optional>
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
  const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  const velko::CommandLine line = velko::ParseCommandLine(arguments, AbsoluteFolder);
  if (const std::optional<int> answered = velko::AnswerWithoutPlaying(line)) return *answered;
  velko::platform::SdlPlatform platform;
  return velko::RunGame(platform, velko::RequestFrom(line));
}
