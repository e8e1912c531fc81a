// One whole run of the game on the headless platform, as velko-sim drives it.
#pragma once

#include "sim_options.h"

namespace velko::sim {

// The game's exit code (0), or 2 for the runner's own failures, with a message on stderr.
int RunSim(const SimOptions& options);

}  // namespace velko::sim
