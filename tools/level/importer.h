// Turns a Tiled map into the game's level.map and level.bpb.
#pragma once

#include <string>
#include <vector>

#include "level/file_source.h"
#include "level/level_files.h"
#include "level/tiled_map.h"

namespace velko::level {

struct ImportResult {
  LevelFiles level;
  std::vector<std::string> warnings;  // for stderr: the import still succeeded
  std::string summary;                // one line
};

// LevelError (file, and line or layer and cell) when the map cannot become a level.
ImportResult ImportMap(const FileSource& files, const std::string& path,
                       const ImportLimits& limits = {});

// The names of the custom properties that carry what Tiled has no place for.
inline constexpr char kPropReserved[] = "velko-reserved";         // "a,b": header bytes 4 and 5
inline constexpr char kPropExtra[] = "velko-extra";               // "c,r,v;...": cells' extra field
inline constexpr char kPropCellTiles[] = "velko-cell-tiles";      // "c,r,t;...": tiles no gid names
inline constexpr char kPropTileRecords[] = "velko-tile-records";  // tile records in level.map
inline constexpr char kPropMoreRecords[] =
    "velko-more-records";  // "v,v,...": records past the picture
inline constexpr char kPropMapTrailer[] = "velko-map-trailer";  // hex: bytes after level.map's end
inline constexpr char kPropPackageTrailer[] = "velko-package-trailer";  // hex: after level.bpb's

// One line: size, tiles, cells of each collision type, what lies under the car's start.
std::string Summarise(const LevelFiles& level);

}  // namespace velko::level
