// The menu's icon: the player's car on a transparent ground, at the sizes of the hicolor
// icon theme.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "assetgen/png_file.h"

namespace velko::assetgen {

inline constexpr std::array<int, 7> kIconSizes = {16, 24, 32, 48, 64, 128, 256};
inline constexpr char kIconName[] = "velko";

// The car, key green made transparent, scaled to `size` x `size` pixels.
RgbaImage PaintCarIcon(int size);

// Writes DIR/NxN/apps/velko.png for every size, the layout of a hicolor theme folder; on
// failure returns false and names the file in `failedFile`.
bool WriteCarIcons(const std::filesystem::path& directory, std::string& failedFile);

}  // namespace velko::assetgen
