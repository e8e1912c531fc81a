#include "sim_options.h"

#include <charconv>

namespace velko::sim {
namespace {

template <typename Number>
bool ParseNumber(const std::string& text, Number minimum, Number maximum, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && value >= minimum &&
         value <= maximum;
}

}  // namespace

std::optional<SimOptions> ParseSimOptions(const std::vector<std::string>& arguments,
                                          std::string& error) {
  SimOptions options;
  bool haveDirectory = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    const auto value = [&](std::string& out) {
      if (i + 1 >= arguments.size()) {
        error = argument + " needs a value";
        return false;
      }
      out = arguments[++i];
      return true;
    };
    const auto badNumber = [&](const std::string& text) {
      error = "bad value '" + text + "' for " + argument;
      return std::nullopt;
    };
    std::string text;
    if (argument == "--keys") {
      if (!value(options.keysFile)) return std::nullopt;
    } else if (argument == "--frames") {
      if (!value(text)) return std::nullopt;
      int64_t frames = 0;
      if (!ParseNumber<int64_t>(text, 1, kFrameCap, frames)) return badNumber(text);
      options.frames = frames;
    } else if (argument == "--frame-ms") {
      if (!value(text)) return std::nullopt;
      if (!ParseNumber<uint32_t>(text, 0, UINT32_MAX, options.frameMs)) return badNumber(text);
    } else if (argument == "--start-ms") {
      if (!value(text)) return std::nullopt;
      if (!ParseNumber<uint32_t>(text, 0, UINT32_MAX, options.startMs)) return badNumber(text);
    } else if (argument == "--dialog") {
      if (!value(options.dialogActions)) return std::nullopt;
    } else if (argument == "--no-sound") {
      options.sound = false;
    } else if (argument == "--desktop-depth") {
      if (!value(text)) return std::nullopt;
      if (!ParseNumber<int>(text, 1, 64, options.desktopDepth)) return badNumber(text);
    } else if (argument == "--trace") {
      if (!value(options.traceFile)) return std::nullopt;
    } else if (argument == "--demo") {
      if (!value(options.demoFile)) return std::nullopt;
    } else if (argument == "--record") {
      if (!value(options.recordFile)) return std::nullopt;
    } else if (argument == "--level") {
      if (!value(options.levelFolder)) return std::nullopt;
    } else if (argument.size() > 1 && argument[0] == '-') {
      error = "unknown option " + argument;
      return std::nullopt;
    } else if (!haveDirectory) {
      options.directory = argument;
      haveDirectory = true;
    } else {
      error = "more than one directory given ('" + argument + "')";
      return std::nullopt;
    }
  }
  if (!haveDirectory) {
    error = "no directory given";
    return std::nullopt;
  }
  if (!options.demoFile.empty() && (!options.keysFile.empty() || !options.recordFile.empty())) {
    error = "--demo plays a demo back: it takes no --keys and no --record";
    return std::nullopt;
  }
  return options;
}

}  // namespace velko::sim
