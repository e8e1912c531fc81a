// The display-mode dialog shown at every start: it pre-fills from the settings file, saves
// the choice and opens the screen full screen or in window 2.
#pragma once

#include <cstdint>
#include <string>

#include "game/game_state.h"
#include "services/operations.h"

namespace velko {

enum class DisplayModeOutcome {
  ScreenOpened,
  ScreenFailed,  // the caller reports it and shuts down
  Closed,        // the player closed the dialog: shut down without a message
};

DisplayModeOutcome ChooseDisplayMode(Operations& operations, int16_t width, int16_t height,
                                     const std::string& title, const std::string& settingsFile,
                                     GameSettings& settings);

}  // namespace velko
