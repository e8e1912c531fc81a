#include "game/frame_loop.h"

namespace velko {

// Placeholder until the driving loop is built: quit at once.
void FrameLoopRun(Operations&, GameState& state, const FrameObserver&) {
  state.input.quitRequested = 1;
}

}  // namespace velko
