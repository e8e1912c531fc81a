// The program's command line, the same on every system that has one: --help and --version
// answer as programs there do, --level plays a circuit from another folder, --record and
// --play make and show demos, --trace writes what every frame computed.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "game/game.h"
#include "game/game_run.h"

namespace velko {

enum class CommandLineAction { Play, Help, Version, Refuse };

struct CommandLine {
  CommandLineAction action = CommandLineAction::Play;
  GameOptions options;
  std::string recordFile;  // --record FILE
  std::string playFile;    // --play FILE
  std::string traceFile;   // --trace FILE
  std::string error;       // why the arguments were refused (UTF-8), when they were
};

// From the arguments after the program's name (UTF-8). `absoluteFolder` gives the absolute
// path of an existing folder named on the command line, or "" when there is none such: a
// --level that names no folder but is a bare name names a circuit that comes with the game.
CommandLine ParseCommandLine(const std::vector<std::string>& arguments,
                             const std::function<std::string(const std::string&)>& absoluteFolder);

// Answers --help, --version and a command line it refuses (on standard output or error, in
// UTF-8), and gives the exit code; nullopt when the game is to be played.
std::optional<int> AnswerWithoutPlaying(const CommandLine& line);

// The run the command line asks for.
RunRequest RequestFrom(const CommandLine& line);

// The usage and the keys, and the version line, in Windows-1252.
std::string UsageText();
std::string VersionText();

}  // namespace velko
