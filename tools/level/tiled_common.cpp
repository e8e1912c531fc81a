#include "level/tiled_common.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "level/level_error.h"

namespace velko::level {

void Budget::TakeCells(std::int64_t count, const std::string& where) {
  cells += count;
  if (count < 0 || cells > limits.maxDecodedCells) {
    throw LevelError(where + ": the layers hold more than " +
                     std::to_string(limits.maxDecodedCells) + " cells in all");
  }
}

void Budget::TakePixels(std::int64_t count, const std::string& where) {
  pixels += count;
  if (count < 0 || pixels > limits.maxDecodedPixels) {
    throw LevelError(where + ": the tilesets' pictures hold more than " +
                     std::to_string(limits.maxDecodedPixels) + " pixels in all");
  }
}

std::int64_t ParseInteger(std::string_view text, const std::string& what) {
  std::int64_t value = 0;
  const char* first = text.data();
  const char* last = text.data() + text.size();
  while (first < last && *first == ' ') ++first;
  if (first < last && *first == '+') ++first;
  const auto [end, error] = std::from_chars(first, last, value);
  if (error != std::errc() || end != last || first == last) {
    throw LevelError(what + " is not a whole number (\"" + std::string(text.substr(0, 40)) + "\")");
  }
  return value;
}

double ParseReal(std::string_view text, const std::string& what) {
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    throw LevelError(what + " is not a number (\"" + std::string(text.substr(0, 40)) + "\")");
  }
  return value;
}

Rgb ParseColour(std::string_view text, const std::string& what) {
  if (!text.empty() && text.front() == '#') text.remove_prefix(1);
  if (text.size() == 8) text.remove_prefix(2);
  if (text.size() != 6) throw LevelError(what + ": colour \"" + std::string(text) + "\" unknown");
  std::uint32_t value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + 6, value, 16);
  if (error != std::errc() || end != text.data() + 6) {
    throw LevelError(what + ": colour \"" + std::string(text) + "\" unknown");
  }
  return {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value)};
}

std::int64_t LineAt(std::string_view text, std::int64_t offset) {
  if (offset < 0) return 0;
  const auto end = text.begin() + std::min<std::int64_t>(offset, std::ssize(text));
  return 1 + std::count(text.begin(), end, '\n');
}

void CheckMapSize(const TiledMap& map, const Budget& budget) {
  const ImportLimits& limits = budget.limits;
  if (map.width < 0 || map.height < 0) {
    throw LevelError(map.file + ": negative map size " + std::to_string(map.width) + " x " +
                     std::to_string(map.height));
  }
  if (map.width > limits.maxSide || map.height > limits.maxSide ||
      (map.width + 1) * (map.height + 1) > limits.maxGridCells) {
    throw LevelError(map.file + ": a map of " + std::to_string(map.width) + " x " +
                     std::to_string(map.height) + " cells is over the game's limit (" +
                     std::to_string(limits.maxSide) + " columns or rows, " +
                     std::to_string(limits.maxGridCells) +
                     " cells counting the spare column and row)");
  }
}

void CheckChunk(const Chunk& chunk, Budget& budget, const std::string& where) {
  const std::int64_t cells = std::int64_t{chunk.width} * chunk.height;
  if (chunk.width < 0 || chunk.height < 0 || chunk.width > budget.limits.maxSide ||
      chunk.height > budget.limits.maxSide || cells > budget.limits.maxGridCells) {
    throw LevelError(where + ": a block of " + std::to_string(chunk.width) + " x " +
                     std::to_string(chunk.height) + " cells is over the game's limit (" +
                     std::to_string(budget.limits.maxGridCells) + " cells)");
  }
  constexpr std::int64_t kFar = std::int64_t{1} << 40;
  if (chunk.x < -kFar || chunk.x > kFar || chunk.y < -kFar || chunk.y > kFar) {
    throw LevelError(where + ": a chunk lies too far from the origin");
  }
  budget.TakeCells(cells, where);
}

void FinishTileset(TiledTileset& t) {
  const std::string what = t.where + ": tileset \"" + t.name + "\"";
  if (t.tileWidth != 50 || t.tileHeight != 50) {
    throw LevelError(what + " has " + std::to_string(t.tileWidth) + " x " +
                     std::to_string(t.tileHeight) + " tiles; the game's tiles are 50 x 50");
  }
  if (t.margin < 0 || t.spacing < 0 || t.margin > 32767 || t.spacing > 32767) {
    throw LevelError(what + ": margin and spacing must lie from 0 to 32767");
  }
  if (!t.image.empty()) {
    // Tiled's own rule: the tiles that fit whole, with margins round and spacing between.
    if (t.imageWidth > 0 && t.imageHeight > 0) {
      const std::int64_t fitColumns = std::max<std::int64_t>(
          (std::int64_t{t.imageWidth} - 2 * t.margin + t.spacing) / (50 + t.spacing), 0);
      const std::int64_t fitRows = std::max<std::int64_t>(
          (std::int64_t{t.imageHeight} - 2 * t.margin + t.spacing) / (50 + t.spacing), 0);
      if (fitColumns * fitRows > (std::int64_t{1} << 28)) {
        throw LevelError(what + ": a picture of " + std::to_string(t.imageWidth) + " x " +
                         std::to_string(t.imageHeight) + " is over any picture the game can use");
      }
      if (t.columns <= 0) t.columns = static_cast<int>(fitColumns);
      if (t.tileCount <= 0) t.tileCount = static_cast<int>(fitColumns * fitRows);
    }
    if (t.columns <= 0 && t.tileCount > 0) {
      throw LevelError(what + " gives no columns nor picture size");
    }
  }
  if (t.tileCount < 0) throw LevelError(what + ": negative tile count");
}

}  // namespace velko::level
