// Writes a level as a Tiled map: level.tmx over the external tileset level.tsx, whose picture
// level-tiles.png is the level's tile picture as it is.
#pragma once

#include <string>

#include "level/level_files.h"

namespace velko::level {

struct ExportedMap {
  std::string tmx;
  std::string tsx;
  Bytes png;
};

inline constexpr char kExportMap[] = "level.tmx";
inline constexpr char kExportTileset[] = "level.tsx";
inline constexpr char kExportPicture[] = "level-tiles.png";

// LevelError for a level Tiled cannot show: a picture without pixels.
ExportedMap ExportLevel(const LevelFiles& level);

}  // namespace velko::level
