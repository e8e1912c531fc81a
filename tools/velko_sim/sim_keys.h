// The keys of a velko-sim run: the script, Escape in the frame --frames names, and Escape in
// frame 1,000,000 whatever else happens.
#pragma once

#include <optional>
#include <string>

#include "platform/headless/key_script.h"
#include "sim_options.h"

namespace velko::sim {

// Null with a message in `error` when the script cannot be read or parsed.
std::optional<platform::KeyScript> LoadKeyScript(const SimOptions& options, std::string& error);

}  // namespace velko::sim
