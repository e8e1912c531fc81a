#include "platform/headless/key_script.h"

#include <algorithm>
#include <charconv>
#include <sstream>

#include "platform/scan_codes.h"

namespace velko::platform {
namespace {

std::optional<int> KeyCode(std::string_view name) {
  struct Named {
    std::string_view name;
    int code;
  };
  static constexpr Named kNames[] = {{"UP", scan::kUp},         {"DOWN", scan::kDown},
                                     {"LEFT", scan::kLeft},     {"RIGHT", scan::kRight},
                                     {"ESCAPE", scan::kEscape}, {"F12", scan::kF12}};
  for (const auto& named : kNames) {
    if (named.name == name) return named.code;
  }
  int code = 0;
  const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), code);
  if (error != std::errc() || end != name.data() + name.size() || code < 0 || code > 255) {
    return std::nullopt;
  }
  return code;
}

}  // namespace

std::optional<KeyScript> KeyScript::Parse(std::string_view text, std::string& error) {
  KeyScript script;
  std::istringstream lines{std::string(text)};
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    if (const size_t hash = line.find('#'); hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string frameText, keyText, stateText, extra;
    if (!(words >> frameText)) continue;  // blank line
    const auto fail = [&](const std::string& why) {
      error = "line " + std::to_string(lineNumber) + ": " + why;
      return std::nullopt;
    };
    if (!(words >> keyText >> stateText) || (words >> extra)) {
      return fail("expected FRAME KEY down|up");
    }
    int64_t frame = 0;
    const auto [end, parseError] =
        std::from_chars(frameText.data(), frameText.data() + frameText.size(), frame);
    if (parseError != std::errc() || end != frameText.data() + frameText.size()) {
      return fail("bad frame number '" + frameText + "'");
    }
    const std::optional<int> code = KeyCode(keyText);
    if (!code) return fail("unknown key '" + keyText + "'");
    if (stateText != "down" && stateText != "up") return fail("expected down or up");
    script.Add(frame, *code, stateText == "down");
  }
  return script;
}

void KeyScript::Add(int64_t frame, int code, bool down) {
  const Event event{std::max<int64_t>(frame, 1), code, down};
  // Stable insertion keeps file order among events of one frame.
  const auto position =
      std::upper_bound(events_.begin() + static_cast<std::ptrdiff_t>(applied_), events_.end(),
                       event, [](const Event& a, const Event& b) { return a.frame < b.frame; });
  events_.insert(position, event);
}

void KeyScript::Snapshot(int64_t frame, std::array<std::uint8_t, 256>& keys) {
  if (frame < lastFrame_) {  // a rewind: replay from the start
    applied_ = 0;
    held_.fill(0);
  }
  lastFrame_ = frame;
  while (applied_ < events_.size() && events_[applied_].frame <= frame) {
    const Event& event = events_[applied_++];
    held_[static_cast<size_t>(event.code)] = event.down ? 0x80 : 0;
  }
  keys = held_;
}

}  // namespace velko::platform
