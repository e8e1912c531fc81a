// Everything the game loads from its directory, made from fixed seeds: the same bytes on
// every build.
#pragma once

#include <filesystem>
#include <string>

#include "assetgen/asset_files.h"

namespace velko::assetgen {

inline constexpr int kTilesPerPictureRow = 8;

struct GameAssets {
  Bytes levelMap;      // "level.map"
  Bytes levelPackage;  // "level.bpb"
  Bytes carBmp;        // "car.bmp"
  Bytes carPackage;    // "car.bpb"
  Bytes crashWave;     // "choc.wav"
};

GameAssets MakeGameAssets();

// Writes the five files into `directory`; on failure returns false and names the file in
// `failedFile`.
bool WriteGameAssets(const std::filesystem::path& directory, std::string& failedFile);

}  // namespace velko::assetgen
