// What the X server shows of an SDL window: the pixel a player would see, whichever way the
// frame got there.
#pragma once

#include <SDL.h>

#include <cstdint>

namespace velko::testing {

// The pixel at (x, y) of the window as 0xRRGGBB; 0xDEADBEEF when it cannot be read.
std::uint32_t ReadBackFromX(SDL_Window* window, int x, int y);

// Asks the window's X server to destroy a window that does not exist, and waits for the
// answer: an X error. False when the window is not on X.
bool ProvokeXError(SDL_Window* window);

}  // namespace velko::testing
