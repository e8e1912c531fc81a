// The Linux program's command line: --help and --version answer as programs there do; the
// game itself takes no options.
#pragma once

#include <string>
#include <vector>

namespace velko::platform {

enum class CommandLineAction { Play, Help, Version, Refuse };

// From the arguments after the program's name.
CommandLineAction ParseCommandLine(const std::vector<std::string>& arguments);

// The usage and the keys (UTF-8), and the version line.
std::string UsageText();
std::string VersionText();

}  // namespace velko::platform
