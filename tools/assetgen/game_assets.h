// Everything the game loads from its directory, made from fixed seeds: the same bytes on
// every build.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

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

// The names of the five files, as the game loads them.
std::vector<std::string> GameAssetNames();

// Writes the five files into `directory`; on failure returns false and names the file in
// `failedFile`.
bool WriteGameAssets(const std::filesystem::path& directory, std::string& failedFile);

}  // namespace velko::assetgen
