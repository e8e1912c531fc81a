#include "game/view_drawing.h"

#include <algorithm>
#include <cstdint>

#include "game/frame_numbers.h"

namespace velko {
namespace {

// A position less the scroll's rest; a rest far out of range (a position that is no number)
// gives a square far off the screen rather than an overflow.
int32_t ScreenOffset(int32_t position, int32_t rest) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{position} - rest, INT32_MIN, INT32_MAX));
}

}  // namespace

void DrawMap(Operations& ops, const LevelData& level, const ViewState& view) {
  const TileGrid& grid = level.grid;
  for (int32_t i = 0; i < kVisibleColumns; ++i) {
    for (int32_t j = 0; j < kVisibleRows; ++j) {
      const int32_t c = view.scrollCellX + i - 1;
      const int32_t r = view.scrollCellY + j - 1;
      if (c < 0 || c >= grid.columns || r < 0 || r >= grid.rows) continue;
      const TileCell* cell = CellAt(grid, c, r);
      const TileDef* def = cell == nullptr ? nullptr : TileDefAt(level, cell->tile);
      // A tile outside the table, or one no picture was cut for, leaves its square black.
      if (def == nullptr || def->spriteNumber == 0) continue;
      ops.SpriteShow(def->spriteNumber, ScreenOffset(kTileSize * (i - 1), view.scrollRestX),
                     ScreenOffset(kTileSize * (j - 1), view.scrollRestY));
    }
  }
}

void DrawCar(Operations& ops, const CarState& car, const CrashState& crash) {
  if (ops.TexturedSceneBegin() == 0) return;
  ops.TexturedSpriteRotate(kCarSprite, NearestInt32(car.heading), 0);
  ops.TexturedSpriteShow(kCarSprite, NearestInt32(car.screenX), NearestInt32(car.screenY),
                         crash.carOpacity);
  ops.TexturedSceneEnd();
}

std::string StatusLine(const FrameClock& clock, const ProbeState& probes) {
  return "FPS: " + TextFromInt(clock.framesPerSecond) +
         " DevantType1: " + TextFromInt(probes.DevantType1) +
         " DevantType2: " + TextFromInt(probes.DevantType2) +
         " DevantType3: " + TextFromInt(probes.DevantType3);
}

void DrawStatusLine(Operations& ops, const FrameClock& clock, const ProbeState& probes) {
  // A missing target draws nothing; the drawing service sees to that.
  ops.DrawBegin(ops.ScreenDrawTarget());
  ops.DrawString(StatusLine(clock, probes));
  ops.DrawEnd();
}

}  // namespace velko
