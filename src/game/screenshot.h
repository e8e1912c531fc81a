// F12: the finished picture saved under the first free screenshots\screenNNN.bmp.
#pragma once

#include <optional>
#include <string>

#include "services/operations.h"

namespace velko {

inline constexpr int32_t kShotSprite = 2000;
inline constexpr int32_t kShotNames = 1000;

// "screenshots\screen007.bmp" for 7.
std::string ShotFileName(int32_t number);

// The first name nothing is called yet, searching from 000 every time; none when all 1000 exist.
std::optional<std::string> FirstFreeShotName(Operations& operations);

// Grabs the back buffer and writes it under the first free name; with every name taken nothing
// is written and no existing file is touched. `shotName` keeps the latest name chosen.
void SaveScreenshot(Operations& operations, std::string& shotName);

}  // namespace velko
