// The frame loop: one pass per displayed frame until Escape is seen held.
#pragma once

#include <functional>

#include "game/game_state.h"
#include "services/operations.h"

namespace velko {

// Called after the controls step of every pass, the quitting pass included.
using FrameObserver = std::function<void(const GameState& state, long frame)>;

void FrameLoopRun(Operations& operations, GameState& state, const FrameObserver& observer = {});

}  // namespace velko
