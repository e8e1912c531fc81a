#include "sim_keys.h"

#include <fstream>
#include <iterator>

#include "platform/scan_codes.h"

namespace velko::sim {
std::optional<platform::KeyScript> LoadKeyScript(const SimOptions& options, std::string& error) {
  platform::KeyScript script;
  if (!options.keysFile.empty()) {
    std::ifstream in(options.keysFile, std::ios::binary);
    if (!in) {
      error = "cannot read key script " + options.keysFile;
      return std::nullopt;
    }
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string parseError;
    std::optional<platform::KeyScript> parsed = platform::KeyScript::Parse(text, parseError);
    if (!parsed) {
      error = "key script " + options.keysFile + ": " + parseError;
      return std::nullopt;
    }
    script = std::move(*parsed);
  }
  // Added after the script's own events, so they win within their frame.
  if (options.frames) script.Add(*options.frames, platform::scan::kEscape, true);
  script.Add(kFrameCap, platform::scan::kEscape, true);
  return script;
}

}  // namespace velko::sim
