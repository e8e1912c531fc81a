// The browser's key table against the SDL one: a key reads as the same scan code whichever
// backend the game runs on.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "platform/sdl/sdl_platform.h"
#include "platform/web/web_keys.h"

namespace velko::platform {
namespace {

// Each key the SDL table maps, by the name a browser gives it and the SDL scancode (the USB
// usage) it has, written out so the test needs no SDL header. Older browser names of the same
// key are listed beside the current one.
struct NamedKey {
  const char* code;
  int sdl;
};
constexpr NamedKey kNamedKeys[] = {
    {"Escape", 41},
    {"Digit1", 30},
    {"Digit2", 31},
    {"Digit3", 32},
    {"Digit4", 33},
    {"Digit5", 34},
    {"Digit6", 35},
    {"Digit7", 36},
    {"Digit8", 37},
    {"Digit9", 38},
    {"Digit0", 39},
    {"Minus", 45},
    {"Equal", 46},
    {"Backspace", 42},
    {"Tab", 43},
    {"KeyQ", 20},
    {"KeyW", 26},
    {"KeyE", 8},
    {"KeyR", 21},
    {"KeyT", 23},
    {"KeyY", 28},
    {"KeyU", 24},
    {"KeyI", 12},
    {"KeyO", 18},
    {"KeyP", 19},
    {"BracketLeft", 47},
    {"BracketRight", 48},
    {"Enter", 40},
    {"ControlLeft", 224},
    {"KeyA", 4},
    {"KeyS", 22},
    {"KeyD", 7},
    {"KeyF", 9},
    {"KeyG", 10},
    {"KeyH", 11},
    {"KeyJ", 13},
    {"KeyK", 14},
    {"KeyL", 15},
    {"Semicolon", 51},
    {"Quote", 52},
    {"Backquote", 53},
    {"ShiftLeft", 225},
    {"Backslash", 49},
    {"Backslash", 50},
    {"KeyZ", 29},
    {"KeyX", 27},
    {"KeyC", 6},
    {"KeyV", 25},
    {"KeyB", 5},
    {"KeyN", 17},
    {"KeyM", 16},
    {"Comma", 54},
    {"Period", 55},
    {"Slash", 56},
    {"ShiftRight", 229},
    {"NumpadMultiply", 85},
    {"AltLeft", 226},
    {"Space", 44},
    {"CapsLock", 57},
    {"F1", 58},
    {"F2", 59},
    {"F3", 60},
    {"F4", 61},
    {"F5", 62},
    {"F6", 63},
    {"F7", 64},
    {"F8", 65},
    {"F9", 66},
    {"F10", 67},
    {"NumLock", 83},
    {"ScrollLock", 71},
    {"Numpad7", 95},
    {"Numpad8", 96},
    {"Numpad9", 97},
    {"NumpadSubtract", 86},
    {"Numpad4", 92},
    {"Numpad5", 93},
    {"Numpad6", 94},
    {"NumpadAdd", 87},
    {"Numpad1", 89},
    {"Numpad2", 90},
    {"Numpad3", 91},
    {"Numpad0", 98},
    {"NumpadDecimal", 99},
    {"IntlBackslash", 100},
    {"F11", 68},
    {"F12", 69},
    {"F13", 104},
    {"F14", 105},
    {"F15", 106},
    {"KanaMode", 136},
    {"IntlRo", 135},
    {"Convert", 138},
    {"NonConvert", 139},
    {"IntlYen", 137},
    {"NumpadEqual", 103},
    {"MediaTrackPrevious", 259},
    {"MediaTrackNext", 258},
    {"NumpadEnter", 88},
    {"ControlRight", 228},
    {"AudioVolumeMute", 127},
    {"VolumeMute", 127},
    {"LaunchApp2", 266},
    {"MediaPlayPause", 261},
    {"MediaStop", 260},
    {"AudioVolumeDown", 129},
    {"VolumeDown", 129},
    {"AudioVolumeUp", 128},
    {"VolumeUp", 128},
    {"BrowserHome", 269},
    {"NumpadComma", 133},
    {"NumpadDivide", 84},
    {"PrintScreen", 70},
    {"AltRight", 230},
    {"Pause", 72},
    {"Home", 74},
    {"ArrowUp", 82},
    {"PageUp", 75},
    {"ArrowLeft", 80},
    {"ArrowRight", 79},
    {"End", 77},
    {"ArrowDown", 81},
    {"PageDown", 78},
    {"Insert", 73},
    {"Delete", 76},
    {"MetaLeft", 227},
    {"OSLeft", 227},
    {"MetaRight", 231},
    {"OSRight", 231},
    {"ContextMenu", 101},
    {"Power", 102},
    {"Sleep", 282},
    {"BrowserSearch", 268},
    {"BrowserFavorites", 274},
    {"BrowserRefresh", 273},
    {"BrowserStop", 272},
    {"BrowserForward", 271},
    {"BrowserBack", 270},
    {"LaunchApp1", 267},
    {"LaunchMail", 265},
    {"MediaSelect", 263},
};

TEST(WebKeysTest, EveryKeyReadsAsTheSameScanCodeOnBothBackends) {
  std::set<int> namedSdl;
  std::set<std::string> namedCodes;
  for (const NamedKey& key : kNamedKeys) {
    const int sdlDik = DikFromSdlScancode(key.sdl);
    EXPECT_NE(sdlDik, 0) << key.code << " is not in the SDL table (scancode " << key.sdl << ")";
    EXPECT_EQ(DikFromWebCode(key.code), sdlDik) << key.code;
    namedSdl.insert(key.sdl);
    namedCodes.insert(key.code);
  }
  // Every key the SDL table maps has a browser name here, so none is left out of the web table.
  for (int sdl = 0; sdl < 512; ++sdl) {
    if (DikFromSdlScancode(sdl) != 0) {
      EXPECT_TRUE(namedSdl.count(sdl)) << "SDL scancode " << sdl;
    }
  }
  // And the web table maps nothing that this comparison does not cover.
  std::map<std::string, int> seen;
  for (const WebKeyName& name : WebKeyNames()) {
    const std::string code(name.code);
    EXPECT_TRUE(namedCodes.count(code)) << code << " is mapped but not compared";
    EXPECT_TRUE(seen.emplace(code, name.dik).second) << code << " is mapped twice";
  }
}

TEST(WebKeysTest, NamesTheBrowserGivesNoPcKeyReadAsUnknown) {
  for (const char* code : {"", "Fn", "FnLock", "Unidentified", "escape", "Escape ", "Hyper",
                           "NumpadParenLeft", "F25"}) {
    EXPECT_EQ(DikFromWebCode(code), 0) << code;
  }
}

}  // namespace
}  // namespace velko::platform
