// One key table serves every backend: a key reads as the same scan code whether SDL names it
// by its USB usage or a browser by its KeyboardEvent.code.
#include "platform/key_table.h"

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/scan_codes.h"

namespace velko::platform {
namespace {

TEST(KeyTableTest, KeysOfThePcKeyboardByUsageAndByBrowserName) {
  struct Case {
    const char* code;
    int usage;
    int dik;
  };
  const Case cases[] = {
      // The game's own keys.
      {"Escape", 41, scan::kEscape},
      {"F12", 69, scan::kF12},
      {"ArrowUp", 82, scan::kUp},
      {"ArrowLeft", 80, scan::kLeft},
      {"ArrowRight", 79, scan::kRight},
      {"ArrowDown", 81, scan::kDown},
      // A sample of the others.
      {"KeyA", 4, 30},
      {"KeyQ", 20, 16},
      {"KeyZ", 29, 44},
      {"KeyM", 16, 50},
      {"Digit1", 30, 2},
      {"Digit0", 39, 11},
      {"Enter", 40, 28},
      {"Backspace", 42, 14},
      {"Tab", 43, 15},
      {"Space", 44, 57},
      {"F1", 58, 59},
      {"F10", 67, 68},
      {"F11", 68, 87},
      {"Insert", 73, 210},
      {"Home", 74, 199},
      {"PageUp", 75, 201},
      {"Delete", 76, 211},
      {"End", 77, 207},
      {"PageDown", 78, 209},
      {"NumLock", 83, 69},
      {"NumpadDivide", 84, 181},
      {"NumpadMultiply", 85, 55},
      {"NumpadSubtract", 86, 74},
      {"NumpadAdd", 87, 78},
      {"NumpadEnter", 88, 156},
      {"Numpad1", 89, 79},
      {"Numpad5", 93, 76},
      {"Numpad9", 97, 73},
      {"Numpad0", 98, 82},
      {"NumpadDecimal", 99, 83},
      {"CapsLock", 57, 58},
      {"ControlLeft", 224, 29},
      {"ShiftLeft", 225, 42},
      {"AltLeft", 226, 56},
      {"MetaLeft", 227, 219},
      {"OSLeft", 227, 219},  // an older browser name of the same key
      {"ControlRight", 228, 157},
      {"ShiftRight", 229, 54},
      {"AltRight", 230, 184},
      {"PrintScreen", 70, 183},
      {"ScrollLock", 71, 70},
      {"Pause", 72, 197},
      {"IntlBackslash", 100, 86},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(ScanCodeFromUsage(c.usage), c.dik) << c.code;
    EXPECT_EQ(ScanCodeFromBrowserCode(c.code), c.dik) << c.code;
  }
}

TEST(KeyTableTest, EveryKeyHasItsOwnCodeAndEveryNameOneKey) {
  std::map<int, int> usageByDik;
  std::map<int, int> dikByUsage;
  std::map<std::string, int> dikByCode;
  for (const KeyRow& row : KeyRows()) {
    EXPECT_NE(row.scanCode, 0) << row.browserCode;
    // A browser name stands for one scan code (Backslash names both of its key positions).
    const auto [byCode, newCode] = dikByCode.emplace(std::string(row.browserCode), row.scanCode);
    EXPECT_EQ(byCode->second, row.scanCode) << row.browserCode;
    // Rows of one usage (a key with two browser names) agree on the scan code.
    const auto [byUsage, newUsage] = dikByUsage.emplace(row.usage, row.scanCode);
    EXPECT_EQ(byUsage->second, row.scanCode) << row.browserCode;
    const auto [byDik, newDik] = usageByDik.emplace(row.scanCode, row.usage);
    // Backslash (49) and the ISO key beside Enter (50) are one key position to DirectInput.
    if (!newDik && byDik->second != row.usage) {
      EXPECT_TRUE(byDik->second == 49 && row.usage == 50) << row.browserCode;
    }
  }
  // 104 keys of a full PC keyboard at the least.
  EXPECT_GE(dikByUsage.size(), 104u);
}

TEST(KeyTableTest, KeysTheGameCannotKnowReadAsZero) {
  for (int usage : {0, -1, 512, 100000, -100000}) EXPECT_EQ(ScanCodeFromUsage(usage), 0) << usage;
  for (const char* code : {"", "Fn", "FnLock", "Unidentified", "escape", "Escape ", "Hyper",
                           "NumpadParenLeft", "F25"}) {
    EXPECT_EQ(ScanCodeFromBrowserCode(code), 0) << code;
  }
}

}  // namespace
}  // namespace velko::platform
