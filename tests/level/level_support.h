// Helpers of the level tool's tests: running programs, encoding layer data as Tiled does, and
// writing pictures.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "level/level_files.h"
#include "level/picture.h"

namespace velko::level::testing {

struct ToolRun {
  int status = -1;
  std::string out;
  std::string err;
};

// Runs a shell command line, capturing both outputs.
ToolRun RunCommand(const std::string& command);
// velko-level with these arguments (quoted by the caller where needed).
ToolRun RunLevelTool(const std::string& arguments);
// True where Tiled and its rasterizer can run.
bool HaveTiled();
// `tiled` or `tmxrasterizer` offscreen; false when it failed.
bool RunTiled(const std::string& program, const std::string& arguments);

// Layer data: "csv", or base64 with compression "", "zlib", "gzip" or "zstd".
std::string EncodeGids(const std::vector<std::uint32_t>& gids, const std::string& encoding,
                       const std::string& compression);

void WritePng(const std::filesystem::path& path, const RgbaPicture& picture);
void WriteBmp24(const std::filesystem::path& path, const RgbaPicture& picture);
void WriteText(const std::filesystem::path& path, const std::string& text);
Bytes ReadBytes(const std::filesystem::path& path);
LevelFiles ReadLevelDir(const std::filesystem::path& dir);
// The 50 x 50 picture of tile `tile` in the level's picture.
RgbPicture TilePicture(const LevelFiles& level, int tile);

}  // namespace velko::level::testing
