// The display-mode dialog shown at every start: it pre-fills from the settings file, saves
// the choice and opens the screen full screen or in window 2.
#pragma once

#include <cstdint>
#include <string>

#include "game/game_state.h"
#include "services/operations.h"

namespace velko {

enum class DisplayModeOutcome : uint8_t {
  ScreenOpened = 0,
  ScreenFailed = 1,  // the caller reports it and shuts down
  Closed = 2,        // the player closed the dialog: shut down without a message
};

DisplayModeOutcome ChooseDisplayMode(Operations& operations, int16_t width, int16_t height,
                                     const std::string& title, const std::string& settingsFile,
                                     GameSettings& settings);

// Opens the screen as the dialog does once the player chose `settings`: full screen, or in
// window 2.
DisplayModeOutcome OpenScreenFor(Operations& operations, int16_t width, int16_t height,
                                 const std::string& title, const GameSettings& settings);

}  // namespace velko
