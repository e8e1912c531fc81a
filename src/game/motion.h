// Car motion and view scrolling: each axis either shifts the map or moves the car across the
// screen, keeping the car near the middle while there is map left in its direction.
#pragma once

#include "data/level_map.h"
#include "game/game_state.h"

namespace velko {

inline constexpr float kHalfWidth = 400.0f;
inline constexpr float kHalfHeight = 300.0f;
inline constexpr float kScreenWidth = 800.0f;
inline constexpr float kScreenHeight = 600.0f;
inline constexpr float kCarSize = 64.0f;

// Scroll offsets split into the nearest whole tile and a rest from -25 to 25.
void SplitScroll(const CarState& car, ViewState& view);

// Runs only while `canMove` is 1.
void MoveCar(CarState& car, const FrameClock& clock, const TileGrid& grid);

}  // namespace velko
