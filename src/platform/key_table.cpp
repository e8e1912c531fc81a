#include "platform/key_table.h"

#include <algorithm>
#include <array>

namespace velko::platform {
namespace {

constexpr KeyRow kRows[] = {
    {41, "Escape", 0x01},
    {30, "Digit1", 0x02},
    {31, "Digit2", 0x03},
    {32, "Digit3", 0x04},
    {33, "Digit4", 0x05},
    {34, "Digit5", 0x06},
    {35, "Digit6", 0x07},
    {36, "Digit7", 0x08},
    {37, "Digit8", 0x09},
    {38, "Digit9", 0x0A},
    {39, "Digit0", 0x0B},
    {45, "Minus", 0x0C},
    {46, "Equal", 0x0D},
    {42, "Backspace", 0x0E},
    {43, "Tab", 0x0F},
    {20, "KeyQ", 0x10},
    {26, "KeyW", 0x11},
    {8, "KeyE", 0x12},
    {21, "KeyR", 0x13},
    {23, "KeyT", 0x14},
    {28, "KeyY", 0x15},
    {24, "KeyU", 0x16},
    {12, "KeyI", 0x17},
    {18, "KeyO", 0x18},
    {19, "KeyP", 0x19},
    {47, "BracketLeft", 0x1A},
    {48, "BracketRight", 0x1B},
    {40, "Enter", 0x1C},
    {224, "ControlLeft", 0x1D},
    {4, "KeyA", 0x1E},
    {22, "KeyS", 0x1F},
    {7, "KeyD", 0x20},
    {9, "KeyF", 0x21},
    {10, "KeyG", 0x22},
    {11, "KeyH", 0x23},
    {13, "KeyJ", 0x24},
    {14, "KeyK", 0x25},
    {15, "KeyL", 0x26},
    {51, "Semicolon", 0x27},
    {52, "Quote", 0x28},
    {53, "Backquote", 0x29},
    {225, "ShiftLeft", 0x2A},
    {49, "Backslash", 0x2B},
    {50, "Backslash", 0x2B},
    {29, "KeyZ", 0x2C},
    {27, "KeyX", 0x2D},
    {6, "KeyC", 0x2E},
    {25, "KeyV", 0x2F},
    {5, "KeyB", 0x30},
    {17, "KeyN", 0x31},
    {16, "KeyM", 0x32},
    {54, "Comma", 0x33},
    {55, "Period", 0x34},
    {56, "Slash", 0x35},
    {229, "ShiftRight", 0x36},
    {85, "NumpadMultiply", 0x37},
    {226, "AltLeft", 0x38},
    {44, "Space", 0x39},
    {57, "CapsLock", 0x3A},
    {58, "F1", 0x3B},
    {59, "F2", 0x3C},
    {60, "F3", 0x3D},
    {61, "F4", 0x3E},
    {62, "F5", 0x3F},
    {63, "F6", 0x40},
    {64, "F7", 0x41},
    {65, "F8", 0x42},
    {66, "F9", 0x43},
    {67, "F10", 0x44},
    {83, "NumLock", 0x45},
    {71, "ScrollLock", 0x46},
    {95, "Numpad7", 0x47},
    {96, "Numpad8", 0x48},
    {97, "Numpad9", 0x49},
    {86, "NumpadSubtract", 0x4A},
    {92, "Numpad4", 0x4B},
    {93, "Numpad5", 0x4C},
    {94, "Numpad6", 0x4D},
    {87, "NumpadAdd", 0x4E},
    {89, "Numpad1", 0x4F},
    {90, "Numpad2", 0x50},
    {91, "Numpad3", 0x51},
    {98, "Numpad0", 0x52},
    {99, "NumpadDecimal", 0x53},
    {100, "IntlBackslash", 0x56},
    {68, "F11", 0x57},
    {69, "F12", 0x58},
    {104, "F13", 0x64},
    {105, "F14", 0x65},
    {106, "F15", 0x66},
    {136, "KanaMode", 0x70},
    {135, "IntlRo", 0x73},
    {138, "Convert", 0x79},
    {139, "NonConvert", 0x7B},
    {137, "IntlYen", 0x7D},
    {103, "NumpadEqual", 0x8D},
    {259, "MediaTrackPrevious", 0x90},
    {258, "MediaTrackNext", 0x99},
    {88, "NumpadEnter", 0x9C},
    {228, "ControlRight", 0x9D},
    {127, "AudioVolumeMute", 0xA0},
    {127, "VolumeMute", 0xA0},
    {266, "LaunchApp2", 0xA1},
    {261, "MediaPlayPause", 0xA2},
    {260, "MediaStop", 0xA4},
    {129, "AudioVolumeDown", 0xAE},
    {129, "VolumeDown", 0xAE},
    {128, "AudioVolumeUp", 0xB0},
    {128, "VolumeUp", 0xB0},
    {269, "BrowserHome", 0xB2},
    {133, "NumpadComma", 0xB3},
    {84, "NumpadDivide", 0xB5},
    {70, "PrintScreen", 0xB7},
    {230, "AltRight", 0xB8},
    {72, "Pause", 0xC5},
    {74, "Home", 0xC7},
    {82, "ArrowUp", 0xC8},
    {75, "PageUp", 0xC9},
    {80, "ArrowLeft", 0xCB},
    {79, "ArrowRight", 0xCD},
    {77, "End", 0xCF},
    {81, "ArrowDown", 0xD0},
    {78, "PageDown", 0xD1},
    {73, "Insert", 0xD2},
    {76, "Delete", 0xD3},
    {227, "MetaLeft", 0xDB},
    {227, "OSLeft", 0xDB},
    {231, "MetaRight", 0xDC},
    {231, "OSRight", 0xDC},
    {101, "ContextMenu", 0xDD},
    {102, "Power", 0xDE},
    {282, "Sleep", 0xDF},
    {268, "BrowserSearch", 0xE5},
    {274, "BrowserFavorites", 0xE6},
    {273, "BrowserRefresh", 0xE7},
    {272, "BrowserStop", 0xE8},
    {271, "BrowserForward", 0xE9},
    {270, "BrowserBack", 0xEA},
    {267, "LaunchApp1", 0xEB},
    {265, "LaunchMail", 0xEC},
    {263, "MediaSelect", 0xED},
};

// Usages run to 282 (the last consumer key SDL names).
constexpr int kUsageCount = 512;

constexpr std::array<std::uint8_t, kUsageCount> BuildUsageTable() {
  std::array<std::uint8_t, kUsageCount> table{};
  for (const KeyRow& row : kRows) table[static_cast<std::size_t>(row.usage)] = row.scanCode;
  return table;
}
constexpr std::array<std::uint8_t, kUsageCount> kScanCodeByUsage = BuildUsageTable();

}  // namespace

std::span<const KeyRow> KeyRows() {
  return kRows;
}

int ScanCodeFromUsage(int usage) {
  if (usage < 0 || usage >= kUsageCount) return 0;
  return kScanCodeByUsage[static_cast<std::size_t>(usage)];
}

int ScanCodeFromBrowserCode(std::string_view code) {
  const auto found = std::find_if(std::begin(kRows), std::end(kRows),
                                  [code](const KeyRow& row) { return row.browserCode == code; });
  return found != std::end(kRows) ? found->scanCode : 0;
}

}  // namespace velko::platform
