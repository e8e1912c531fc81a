// The pad's controls read as the game's keys, the same on every backend that has pads.
#include "platform/pad_mapping.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/scan_codes.h"

namespace velko::platform {
namespace {

TEST(PadMappingTest, EachControlHoldsItsKey) {
  struct Case {
    const char* name;
    std::function<void(PadState&)> set;
    std::vector<int> held;
  };
  const Case cases[] = {
      {"nothing", [](PadState&) {}, {}},
      {"D-pad left", [](PadState& p) { p.Set(PadButton::DpadLeft, true); }, {scan::kLeft}},
      {"D-pad right", [](PadState& p) { p.Set(PadButton::DpadRight, true); }, {scan::kRight}},
      {"stick past half left", [](PadState& p) { p.leftStickX = -0.51f; }, {scan::kLeft}},
      {"stick past half right", [](PadState& p) { p.leftStickX = 0.51f; }, {scan::kRight}},
      {"stick at half", [](PadState& p) { p.leftStickX = -0.5f; }, {}},
      {"A", [](PadState& p) { p.Set(PadButton::A, true); }, {scan::kUp}},
      {"right trigger", [](PadState& p) { p.rightTrigger = 0.75f; }, {scan::kUp}},
      {"B", [](PadState& p) { p.Set(PadButton::B, true); }, {scan::kDown}},
      {"left trigger", [](PadState& p) { p.leftTrigger = 1.0f; }, {scan::kDown}},
      {"Y", [](PadState& p) { p.Set(PadButton::Y, true); }, {scan::kF12}},
      {"Back", [](PadState& p) { p.Set(PadButton::Back, true); }, {scan::kEscape}},
      {"X and Start do nothing",
       [](PadState& p) {
         p.Set(PadButton::X, true);
         p.Set(PadButton::Start, true);
       },
       {}},
      {"steer while accelerating",
       [](PadState& p) {
         p.Set(PadButton::A, true);
         p.leftStickX = -1.0f;
       },
       {scan::kUp, scan::kLeft}},
  };
  for (const Case& c : cases) {
    PadState pad;
    c.set(pad);
    std::array<std::uint8_t, 256> keys{};
    keys[0x10] = scan::kHeld;  // a key already held stays held
    MergePadInto(pad, keys);
    std::array<std::uint8_t, 256> expected{};
    expected[0x10] = scan::kHeld;
    for (int code : c.held) expected[static_cast<std::size_t>(code)] = scan::kHeld;
    EXPECT_EQ(keys, expected) << c.name;
  }
}

TEST(PadMappingTest, InTheDialogTheDpadMovesAndAPresses) {
  const auto up = DialogKeyForPadButton(PadButton::DpadUp);
  const auto down = DialogKeyForPadButton(PadButton::DpadDown);
  const auto a = DialogKeyForPadButton(PadButton::A);
  ASSERT_TRUE(up && down && a);
  EXPECT_EQ(up->scanCode, scan::kTab);
  EXPECT_TRUE(up->shift);
  EXPECT_EQ(down->scanCode, scan::kTab);
  EXPECT_FALSE(down->shift);
  EXPECT_EQ(a->scanCode, scan::kSpace);
  for (PadButton other : {PadButton::B, PadButton::Y, PadButton::Back, PadButton::DpadLeft}) {
    EXPECT_FALSE(DialogKeyForPadButton(other)) << static_cast<int>(other);
  }
}

}  // namespace
}  // namespace velko::platform
