// The three probe points ahead of the car (front, and 34 degrees to either side), the
// collision types under them, and whether they block the moving car.
#pragma once

#include <cstdint>

#include "data/level_map.h"
#include "game/game_state.h"

namespace velko {

enum class Probe { Front = 0, Left = 1, Right = 2 };

// Collision types as the probes read them.
inline constexpr int8_t kSolid = 1;
inline constexpr int8_t kHalfLeftEdge = 2;   // and 4
inline constexpr int8_t kHalfRightEdge = 3;  // and 5

// Finds the cell under each probe and reads its collision type into DevantType1..3.
void ReadProbes(const CarState& car, const LevelData& level, ProbeState& probes);

// `blocked` from solid tiles under any probe while the car moves forward.
void TestSolidTiles(const CarState& car, ProbeState& probes);

// The half-tile test of one probe for one form (left-edge for types 2 and 4, right-edge for 3
// and 5): fills probeX/Y, edgeX/Y and insideX/Y and says whether the probe is in the obstacle
// half (insideX <= insideY).
bool HalfTileInside(const CarState& car, const ViewState& view, Probe probe, bool leftEdgeForm,
                    ProbeState& probes);

// `blocked` from half tiles under any probe while the car moves forward.
void TestHalfTiles(const CarState& car, const ViewState& view, ProbeState& probes);

}  // namespace velko
