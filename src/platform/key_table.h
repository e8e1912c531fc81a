// The keys of a PC keyboard (and the usual media keys), once: the USB usage of each key (which
// SDL takes as its scancode; the consumer keys from 257 on are numbered as SDL numbers them),
// the name a browser gives it (KeyboardEvent.code; some keys have an older name as well) and
// the DirectInput scan code the game reads it as. Every backend derives its own lookup from here.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace velko::platform {

struct KeyRow {
  int usage;
  std::string_view browserCode;
  std::uint8_t scanCode;
};

std::span<const KeyRow> KeyRows();

// The scan code of a key, 0 for a key the game cannot know.
int ScanCodeFromUsage(int usage);
int ScanCodeFromBrowserCode(std::string_view code);

}  // namespace velko::platform
