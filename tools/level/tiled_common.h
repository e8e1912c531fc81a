// What the TMX and the JSON readers share: number parsing with messages, the tileset checks
// and the bounds every layer and chunk must keep.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "level/tiled_map.h"

namespace velko::level {

// Group layers inside groups: deeper than this is refused.
inline constexpr int kMaxGroupDepth = 64;

std::int64_t ParseInteger(std::string_view text, const std::string& what);
double ParseReal(std::string_view text, const std::string& what);
// "ff00ff" or "#ff00ff" (Tiled's "#aarrggbb" keeps its last six digits).
Rgb ParseColour(std::string_view text, const std::string& what);

// Line of a byte offset in a text, from 1.
std::int64_t LineAt(std::string_view text, std::int64_t offset);

// Refuses a finite map over the game's grid before any layer is read.
void CheckMapSize(const TiledMap& map, const Budget& budget);
// Checks a chunk's size and takes its cells from the budget.
void CheckChunk(const Chunk& chunk, Budget& budget, const std::string& where);
// Fills in what a tileset leaves out and refuses what the game cannot use.
void FinishTileset(TiledTileset& tileset);

// Reads an external tileset file (.tsx or .tsj/.json: told apart by their first character).
TiledTileset ReadExternalTileset(const FileSource& files, const std::string& path,
                                 std::uint32_t firstGid, Budget& budget);
TiledTileset ReadTsx(std::string_view text, const std::string& path, std::uint32_t firstGid);
TiledTileset ReadTsj(std::string_view text, const std::string& path, std::uint32_t firstGid);

TiledMap ReadTmx(std::string_view text, const std::string& path, const FileSource& files,
                 Budget& budget);
TiledMap ReadTmj(std::string_view text, const std::string& path, const FileSource& files,
                 Budget& budget);

}  // namespace velko::level
