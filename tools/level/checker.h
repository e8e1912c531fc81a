// What in a level would show or drive wrong in the game, one line per problem.
#pragma once

#include <string>
#include <vector>

#include "level/level_files.h"

namespace velko::level {

std::vector<std::string> CheckLevel(const LevelFiles& level);

}  // namespace velko::level
