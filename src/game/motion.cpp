#include "game/motion.h"

#include "game/frame_numbers.h"
#include "services/text/exact_trig.h"

namespace velko {
namespace {

void SplitAxis(float scroll, int16_t& cell, int32_t& rest) {
  cell = Low16(NearestInt32(static_cast<double>(scroll) / kTileSize));
  rest = NearestInt32(static_cast<double>(scroll) - cell * kTileSize);
}

// One axis: `ahead` and `behind` say whether the heading points towards the far or the near
// end of the map on that axis; the comparisons are made before the move.
void MoveAxis(float& screen, float& scroll, double delta, float half, float limit, bool ahead,
              bool behind, int32_t mapPixels) {
  const bool scrolls =
      (screen > half && ahead && mapPixels > static_cast<double>(scroll) + limit) ||
      (screen < half && behind && scroll > 0.0f);
  if (scrolls) {
    scroll = static_cast<float>(scroll + delta);
    if (scroll < 0.0f) scroll = 0.0f;
    return;
  }
  // A step that would reach the edge keeps the old position, however close it would land.
  if (screen + delta < limit) screen = static_cast<float>(screen + delta);
  if (screen < 0.0f) screen = 0.0f;
  if (static_cast<double>(screen) + kCarSize > limit) screen = limit - kCarSize;
}

}  // namespace

void SplitScroll(const CarState& car, ViewState& view) {
  SplitAxis(car.scrollX, view.scrollCellX, view.scrollRestX);
  SplitAxis(car.scrollY, view.scrollCellY, view.scrollRestY);
}

void MoveCar(CarState& car, const FrameClock& clock, const TileGrid& grid) {
  if (car.canMove != 1) return;
  const double dx = clock.moveDistance * ExactCos(car.headingRadians);
  const double dy = clock.moveDistance * ExactSin(car.headingRadians);
  const float heading = car.heading;
  const int32_t mapWidth = static_cast<int32_t>(static_cast<int64_t>(grid.columns) * kTileSize);
  const int32_t mapHeight = static_cast<int32_t>(static_cast<int64_t>(grid.rows) * kTileSize);
  MoveAxis(car.screenX, car.scrollX, dx, kHalfWidth, kScreenWidth,
           heading > 270.0f || heading<90.0f, heading> 90.0f && heading < 270.0f, mapWidth);
  MoveAxis(car.screenY, car.scrollY, dy, kHalfHeight, kScreenHeight,
           heading<180.0f, heading> 180.0f, mapHeight);
}

}  // namespace velko
