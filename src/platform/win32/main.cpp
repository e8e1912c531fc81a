// The Windows entry: the command line (the same options as on Linux; a level.map dropped onto
// velko.exe arrives as the one argument and plays that folder's circuit), then the Win32
// platform, the services in their order, one run, exit code 0.
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "game/command_line.h"
#include "game/game_run.h"
#include "platform/win32/win32_api.h"
#include "platform/win32/win32_platform.h"

namespace {

std::vector<std::string> Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* wide = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (wide == nullptr) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(velko::platform::Utf8FromWide(wide[i]));
  ::LocalFree(wide);
  return arguments;
}

std::filesystem::path PathOf(const std::string& utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8Of(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

// The absolute path of an existing folder, "" for anything else.
std::string AbsoluteFolder(const std::string& name) {
  std::error_code error;
  if (!std::filesystem::is_directory(PathOf(name), error)) return {};
  const std::filesystem::path absolute = std::filesystem::absolute(PathOf(name), error);
  return error ? std::string() : Utf8Of(absolute.lexically_normal());
}

// A level.map dropped onto the program: its folder, as --level would name it.
bool DroppedMap(const std::vector<std::string>& arguments, std::vector<std::string>& asOptions) {
  if (arguments.size() != 1 || arguments[0].rfind("--", 0) == 0) return false;
  std::error_code error;
  const std::filesystem::path map = PathOf(arguments[0]);
  if (!std::filesystem::is_regular_file(map, error)) return false;
  const std::wstring name = map.filename().wstring();
  if (::CompareStringOrdinal(name.c_str(), -1, L"level.map", -1, TRUE) != CSTR_EQUAL) return false;
  asOptions = {"--level", Utf8Of(std::filesystem::absolute(map, error).parent_path())};
  return !error;
}

}  // namespace

int main() {
  std::vector<std::string> arguments = Arguments();
  std::vector<std::string> dropped;
  if (DroppedMap(arguments, dropped)) arguments = dropped;
  const velko::CommandLine line = velko::ParseCommandLine(arguments, AbsoluteFolder);
  if (const std::optional<int> answered = velko::AnswerWithoutPlaying(line)) return *answered;
  velko::platform::Win32Platform platform;
  return velko::RunGame(platform, velko::RequestFrom(line));
}
