// Drawing of the view: the visible tiles, the car rotated to its heading, and the status line.
#pragma once

#include <string>

#include "data/level_map.h"
#include "game/game_state.h"
#include "services/operations.h"

namespace velko {

inline constexpr int32_t kCarSprite = 1;  // textured sprite 1, made from sprite 1
inline constexpr int32_t kVisibleColumns = 18;
inline constexpr int32_t kVisibleRows = 14;

// The 18 x 14 tile positions around the screen; cells off the map stay black.
void DrawMap(Operations& operations, const LevelData& level, const ViewState& view);

// The car as the previous frame left it; missing when rotated drawing cannot begin.
void DrawCar(Operations& operations, const CarState& car, const CrashState& crash);

// "FPS: 62 DevantType1: 0 DevantType2: 1 DevantType3: 0"
std::string StatusLine(const FrameClock& clock, const ProbeState& probes);

void DrawStatusLine(Operations& operations, const FrameClock& clock, const ProbeState& probes);

}  // namespace velko
