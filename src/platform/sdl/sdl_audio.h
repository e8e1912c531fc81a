// What the SDL audio side offers beyond the platform interface, for tests of the real device.
#pragma once

#include <string>
#include <vector>

namespace velko::platform {

// Names of the audio drivers this SDL was built with ("pulseaudio", "alsa", "disk", ...).
std::vector<std::string> SdlAudioDriverNames();

}  // namespace velko::platform
