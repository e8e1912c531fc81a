// The browser's names of the keys (KeyboardEvent.code) and the DirectInput scan codes the game
// reads them as. Plain C++: the table is checked against the SDL one by a native test.
#pragma once

#include <span>
#include <string_view>

namespace velko::platform {

struct WebKeyName {
  std::string_view code;  // KeyboardEvent.code
  int dik;                // DirectInput scan code (DIK_*)
};

// Every key a browser names that a PC keyboard (and the usual media keys) has, with the older
// names some browsers still give.
std::span<const WebKeyName> WebKeyNames();

// The scan code of a KeyboardEvent.code, 0 for keys the game cannot know.
int DikFromWebCode(std::string_view code);

}  // namespace velko::platform
