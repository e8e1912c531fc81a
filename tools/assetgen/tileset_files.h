// The game's tiles as a Tiled tileset: the tile picture as PNG and a TSX naming it, each tile
// with its collision type, so that circuits can be drawn in Tiled from the tiles painted here.
#pragma once

#include <filesystem>
#include <string>

#include "assetgen/asset_files.h"

namespace velko::assetgen {

inline constexpr char kTilesetName[] = "velko-tiles.tsx";
inline constexpr char kTilesetPicture[] = "velko-tiles.png";

struct TilesetFiles {
  Bytes tsx;
  Bytes png;
};

TilesetFiles MakeTilesetFiles();

// Writes both into `directory`; on failure returns false and names the file in `failedFile`.
bool WriteTilesetFiles(const std::filesystem::path& directory, std::string& failedFile);

}  // namespace velko::assetgen
