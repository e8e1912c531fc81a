#include "level/tiled_map.h"

#include <algorithm>
#include <cctype>

#include "level/level_error.h"
#include "level/tiled_common.h"

namespace velko::level {
namespace {

// XML starts with '<' (after any byte-order mark or blank), JSON with '{'.
bool LooksLikeXml(const Bytes& bytes) {
  for (std::uint8_t b : bytes) {
    if (b == '<') return true;
    if (b == 0xEF || b == 0xBB || b == 0xBF || std::isspace(b) != 0) continue;
    return false;
  }
  return false;
}

std::string_view AsText(const Bytes& bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

}  // namespace

TiledTileset ReadExternalTileset(const FileSource& files, const std::string& path,
                                 std::uint32_t firstGid, Budget& budget) {
  const Bytes bytes = files.Read(path, budget.limits.maxFileBytes);
  return LooksLikeXml(bytes) ? ReadTsx(AsText(bytes), path, firstGid)
                             : ReadTsj(AsText(bytes), path, firstGid);
}

TiledMap ReadTiledMap(const FileSource& files, const std::string& path, Budget& budget) {
  const Bytes bytes = files.Read(path, budget.limits.maxFileBytes);
  TiledMap map = LooksLikeXml(bytes) ? ReadTmx(AsText(bytes), path, files, budget)
                                     : ReadTmj(AsText(bytes), path, files, budget);
  std::stable_sort(
      map.tilesets.begin(), map.tilesets.end(),
      [](const TiledTileset& a, const TiledTileset& b) { return a.firstGid < b.firstGid; });
  return map;
}

}  // namespace velko::level
