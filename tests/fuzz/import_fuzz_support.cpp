// The fuzz entry of velko-level's import: a map and the files it names, read from memory
// under small limits, so that every refusal of a size is reached with little input.
#include <exception>
#include <string>
#include <string_view>

#include "fuzz/fuzz_entries.h"
#include "level/importer.h"
#include "level/level_error.h"

namespace velko::fuzzing {
namespace {

constexpr std::string_view kFileMark = "\n@@file ";

level::ImportLimits SmallLimits() {
  level::ImportLimits limits;
  limits.maxGridCells = 16'384;
  limits.maxDecodedCells = 65'536;
  limits.maxPicturePixels = 65'536;
  limits.maxDecodedPixels = 262'144;
  limits.maxFileBytes = 1 << 20;
  return limits;
}

// The map and the files after it, by name.
std::string SplitFiles(std::string_view text, level::MemoryFiles& files) {
  size_t mark = text.find(kFileMark);
  const std::string_view map = text.substr(0, mark);
  const size_t first = map.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
  const std::string mapName =
      first != std::string_view::npos && map[first] == '<' ? "map.tmx" : "map.tmj";
  files.Add(mapName, level::Bytes(map.begin(), map.end()));
  while (mark != std::string_view::npos) {
    const size_t nameStart = mark + kFileMark.size();
    const size_t nameEnd = text.find('\n', nameStart);
    if (nameEnd == std::string_view::npos) break;
    const size_t next = text.find(kFileMark, nameEnd);
    const std::string_view body =
        text.substr(nameEnd + 1, next == std::string_view::npos ? next : next - nameEnd - 1);
    files.Add(std::string(text.substr(nameStart, nameEnd - nameStart)),
              level::Bytes(body.begin(), body.end()));
    mark = next;
  }
  return mapName;
}

}  // namespace

Outcome FuzzImport(Input input) {
  Outcome outcome;
  level::MemoryFiles files;
  const std::string map = SplitFiles(
      std::string_view(reinterpret_cast<const char*>(input.data()), input.size()), files);
  const level::ImportLimits limits = SmallLimits();
  try {
    const level::ImportResult result = level::ImportMap(files, map, limits);
    outcome.accepted = true;
    const level::LevelFiles& made = result.level;
    if (static_cast<std::int64_t>(made.cells.size()) != made.CellCount()) {
      outcome.broken = "cells do not fill the grid";
    } else if (std::int64_t{made.picture.width} * made.picture.height > limits.maxPicturePixels) {
      outcome.broken = "a picture over the limit was made";
    } else {
      // What is written reads back as the same level.
      const level::LevelFiles again =
          level::ParseLevel(level::EncodeLevelMap(made), level::EncodeLevelPackage(made));
      if (again.cells != made.cells || again.collisionTypes != made.collisionTypes ||
          !(again.picture == made.picture)) {
        outcome.broken = "the written files read back differently";
      }
    }
  } catch (const level::LevelError& error) {
    if (std::string_view(error.what()).empty()) outcome.broken = "a refusal without a message";
  } catch (const std::exception& error) {
    outcome.broken = std::string("unexpected exception: ") + error.what();
  }
  return outcome;
}

}  // namespace velko::fuzzing
