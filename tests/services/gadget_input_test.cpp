#include <gtest/gtest.h>

#include <vector>

#include "services/windows/control.h"
#include "services/windows/window_service.h"
#include "support/window_test_support.h"

namespace velko {
namespace {

namespace keys = gadgets::keys;
using testing::SpyPlatform;
using testing::WindowDriver;

constexpr int32_t kGadgetEvent = 13100;
constexpr int32_t kKeyDownMessage = 0x100;
constexpr int32_t kKeyUpMessage = 0x101;
constexpr int32_t kButtonUpMessage = 0x202;

class GadgetInputTest : public ::testing::Test {
 protected:
  GadgetInputTest() : windows(spy), driver(spy.Headless(), windows, 1) {
    windows.Start();
    windows.GadgetsStart();
    testing::BuildDialog(windows);
  }
  WindowHandle Focused() { return windows.FocusedControl(1); }
  platform::Rect Item(int position) { return windows.GadgetItemRect(1, position).value(); }

  SpyPlatform spy;
  WindowService windows;
  WindowDriver driver;
};

TEST_F(GadgetInputTest, ClickingOkGivesAGadgetEventOfKindZero) {
  EXPECT_EQ(driver.ClickGadget(2), kGadgetEvent);
  EXPECT_EQ(windows.EventGadgetNumber(), 2);
  EXPECT_EQ(windows.EventKind(), 0);
}

TEST_F(GadgetInputTest, ReleasingOutsideTheButtonCancelsTheClick) {
  const platform::Rect ok = *windows.GadgetFaceRect(2);
  driver.Down(ok.x + 5, ok.y + 5);
  EXPECT_EQ(driver.Up(ok.x - 20, ok.y + 5), kButtonUpMessage);
  EXPECT_NE(windows.EventKind(), 0);
  // Back inside before the release: the click counts.
  driver.Down(ok.x + 5, ok.y + 5);
  driver.Move(ok.x - 20, ok.y + 5);
  driver.Move(ok.x + 6, ok.y + 6);
  EXPECT_EQ(driver.Up(ok.x + 6, ok.y + 6), kGadgetEvent);
}

TEST_F(GadgetInputTest, ClickingACheckBoxTogglesItAndReportsTheClick) {
  for (const int32_t box : {3, 4, 5}) {
    EXPECT_EQ(driver.ClickGadget(box), kGadgetEvent);
    EXPECT_EQ(windows.EventGadgetNumber(), box);
    EXPECT_EQ(windows.EventKind(), 0);
    EXPECT_EQ(windows.GadgetStateGet(box), 1);
    driver.ClickGadget(box);
    EXPECT_EQ(windows.GadgetStateGet(box), 0);
  }
}

TEST_F(GadgetInputTest, ClickingTheLabelDoesNothing) {
  EXPECT_NE(driver.Click(60, 15), kGadgetEvent);
  EXPECT_EQ(Focused(), 0u);
}

TEST_F(GadgetInputTest, TheListDropsDownOnAClickAndAnItemClickChoosesIt) {
  EXPECT_FALSE(windows.GadgetItemRect(1, 0).has_value());
  driver.ClickGadget(1);
  EXPECT_EQ(windows.EventGadgetNumber(), 1);
  ASSERT_TRUE(windows.GadgetItemRect(1, 1).has_value());
  // The list lies below the field, over the check boxes.
  EXPECT_GE(Item(0).y, windows.GadgetFaceRect(1)->y + windows.GadgetFaceRect(1)->height);
  const platform::Rect row = Item(1);
  driver.Move(row.x + 5, row.y + 2);
  EXPECT_EQ(driver.Click(row.x + 5, row.y + 2), kGadgetEvent);
  EXPECT_EQ(windows.EventGadgetNumber(), 1);
  EXPECT_EQ(windows.EventKind(), 1);  // the choice changed
  EXPECT_EQ(windows.GadgetStateGet(1), 1);
  EXPECT_EQ(windows.GadgetTextGet(1), "32 bits");
  EXPECT_FALSE(windows.GadgetItemRect(1, 0).has_value());
  EXPECT_EQ(Focused(), windows.GadgetHandle(1));
}

TEST_F(GadgetInputTest, AClickOutsideTheOpenListOnlyClosesIt) {
  windows.GadgetStateSet(1, 0);
  driver.ClickGadget(1);
  ASSERT_TRUE(windows.GadgetItemRect(1, 0).has_value());
  // OK lies outside the list: the click closes the list and OK is not pressed.
  EXPECT_EQ(driver.ClickGadget(2), kButtonUpMessage);
  EXPECT_FALSE(windows.GadgetItemRect(1, 0).has_value());
  EXPECT_EQ(windows.GadgetStateGet(1), 0);
  EXPECT_EQ(driver.ClickGadget(2), kGadgetEvent);
}

TEST_F(GadgetInputTest, AnOpenListCoversTheCheckBoxBelowIt) {
  driver.ClickGadget(1);
  const platform::Rect row = Item(1);
  const platform::Rect box = *windows.GadgetFaceRect(3);
  ASSERT_GT(row.y + row.height, box.y) << "the list reaches the first check box";
  driver.Click(box.x + 2, std::max(box.y, row.y) + 1);
  EXPECT_EQ(windows.GadgetStateGet(3), 0);
  EXPECT_EQ(windows.GadgetStateGet(1), 1);
}

TEST_F(GadgetInputTest, TabMovesTheFocusAmongTheControlsInCreationOrder) {
  const WindowHandle order[] = {windows.GadgetHandle(1), windows.GadgetHandle(3),
                                windows.GadgetHandle(4), windows.GadgetHandle(5),
                                windows.GadgetHandle(2), windows.GadgetHandle(1)};
  EXPECT_EQ(Focused(), 0u);
  for (const WindowHandle expected : order) {
    EXPECT_EQ(driver.KeyDown(keys::kTab), kKeyDownMessage);
    EXPECT_EQ(Focused(), expected);
    driver.KeyUp(keys::kTab);
  }
}

TEST_F(GadgetInputTest, ShiftTabMovesBackwardStartingFromTheLast) {
  const WindowHandle order[] = {windows.GadgetHandle(2), windows.GadgetHandle(5),
                                windows.GadgetHandle(4), windows.GadgetHandle(3),
                                windows.GadgetHandle(1), windows.GadgetHandle(2)};
  for (const WindowHandle expected : order) {
    driver.Press(keys::kTab, true);
    EXPECT_EQ(Focused(), expected);
  }
}

TEST_F(GadgetInputTest, DisabledAndHiddenControlsAreSkipped) {
  windows.GadgetEnable(3, false);
  windows.GadgetShow(4, false);
  driver.Press(keys::kTab);
  driver.Press(keys::kTab);
  EXPECT_EQ(Focused(), windows.GadgetHandle(5));
  EXPECT_NE(driver.ClickGadget(3), kGadgetEvent);
  EXPECT_EQ(windows.GadgetStateGet(3), 0);
}

TEST_F(GadgetInputTest, SpacePressesTheFocusedButtonOnRelease) {
  driver.Press(keys::kTab, true);  // OK
  EXPECT_EQ(driver.KeyDown(keys::kSpace), kKeyDownMessage);
  EXPECT_EQ(driver.KeyUp(keys::kSpace), kGadgetEvent);
  EXPECT_EQ(windows.EventGadgetNumber(), 2);
  EXPECT_EQ(windows.EventKind(), 0);
}

TEST_F(GadgetInputTest, SpaceTogglesTheFocusedCheckBox) {
  driver.Press(keys::kTab);
  driver.Press(keys::kTab);  // the windowed box
  EXPECT_EQ(driver.Press(keys::kSpace), kGadgetEvent);
  EXPECT_EQ(windows.EventGadgetNumber(), 3);
  EXPECT_EQ(windows.GadgetStateGet(3), 1);
  driver.Press(keys::kSpace);
  EXPECT_EQ(windows.GadgetStateGet(3), 0);
}

TEST_F(GadgetInputTest, EnterDoesNotPressOk) {
  for (int i = 0; i < 5; ++i) driver.Press(keys::kTab);
  ASSERT_EQ(Focused(), windows.GadgetHandle(2));
  EXPECT_EQ(driver.KeyDown(keys::kReturn), kKeyDownMessage);
  EXPECT_EQ(driver.KeyUp(keys::kReturn), kKeyUpMessage);
  EXPECT_EQ(driver.Press(keys::kNumpadEnter), kKeyUpMessage);
}

// The focused list answers the keys as the standard drop-down list does. Each case starts with
// the list focused, closed and the given item chosen (-1: none), then presses its keys.
TEST_F(GadgetInputTest, TheListAnswersTheStandardKeys) {
  struct Key {
    int scanCode;
    bool alt = false;
  };
  struct Case {
    const char* name;
    int32_t chosen;
    std::vector<Key> keys;
    bool open;
    int32_t chosenAfter;
    int32_t focusedAfter;  // gadget number
  };
  const Key down{keys::kDown}, up{keys::kUp}, left{keys::kLeft}, right{keys::kRight};
  const Key f4{keys::kF4}, altDown{keys::kDown, true}, altUp{keys::kUp, true};
  const Key enter{keys::kReturn}, escape{keys::kEscape}, tab{keys::kTab}, space{keys::kSpace};
  const Case cases[] = {
      {"Down chooses the next item", 0, {down}, false, 1, 1},
      {"Down stays on the last", 1, {down, down}, false, 1, 1},
      {"Up chooses the previous item", 1, {up}, false, 0, 1},
      {"Right and Left as Down and Up", -1, {right, right, left}, false, 0, 1},
      {"Down with nothing chosen takes the first", -1, {down}, false, 0, 1},
      {"Space does nothing", 0, {space}, false, 0, 1},
      {"F4 opens", 0, {f4}, true, 0, 1},
      {"Alt+Down opens", 0, {altDown}, true, 0, 1},
      {"Alt+Up opens", 0, {altUp}, true, 0, 1},
      {"open: Down moves, Enter takes", 0, {f4, down, enter}, false, 1, 1},
      {"open: Down moves, Escape gives up", 0, {f4, down, escape}, false, 0, 1},
      {"open: Up moves, F4 takes", 1, {f4, up, f4}, false, 0, 1},
      {"open: Tab takes and moves on", 0, {f4, down, tab}, false, 1, 3},
      {"open: Space does nothing", 0, {f4, space}, true, 0, 1},
  };
  for (const Case& c : cases) {
    windows.GadgetStateSet(1, c.chosen);
    while (Focused() != windows.GadgetHandle(1)) driver.Press(keys::kTab);
    for (const Key& key : c.keys) {
      if (key.alt) driver.KeyDown(keys::kLeftAlt);
      driver.Press(key.scanCode);
      if (key.alt) driver.KeyUp(keys::kLeftAlt);
    }
    EXPECT_EQ(windows.GadgetItemRect(1, 0).has_value(), c.open) << c.name;
    EXPECT_EQ(windows.GadgetStateGet(1), c.chosenAfter) << c.name;
    EXPECT_EQ(Focused(), windows.GadgetHandle(c.focusedAfter)) << c.name;
    if (c.open) driver.Press(keys::kEscape);
  }
}

TEST_F(GadgetInputTest, AChoiceFromTheKeyboardIsReported) {
  driver.Press(keys::kTab);
  EXPECT_EQ(driver.KeyDown(keys::kDown), kGadgetEvent);
  EXPECT_EQ(windows.EventGadgetNumber(), 1);
  EXPECT_EQ(windows.EventKind(), 1);  // selection changed
  driver.KeyUp(keys::kDown);
  driver.Press(keys::kF4);
  driver.Press(keys::kDown);
  EXPECT_EQ(driver.KeyDown(keys::kTab), kGadgetEvent);
  EXPECT_FALSE(windows.GadgetItemRect(1, 0).has_value());
}

TEST_F(GadgetInputTest, ClickingGivesTheFocus) {
  driver.ClickGadget(4);
  EXPECT_EQ(Focused(), windows.GadgetHandle(4));
  driver.Press(keys::kTab);
  EXPECT_EQ(Focused(), windows.GadgetHandle(5));
}

TEST_F(GadgetInputTest, ASystemQuitRequestActsAsTheCloseBox) {
  platform::InputEvent quit;
  quit.type = platform::EventType::Quit;
  spy.Headless().QueueEvent(quit);  // no window of its own
  EXPECT_EQ(windows.EventWait(), 16);
}

TEST_F(GadgetInputTest, RightButtonDoesNotClick) {
  const platform::Rect ok = *windows.GadgetFaceRect(2);
  platform::InputEvent down;
  down.type = platform::EventType::MouseDown;
  down.button = 3;
  down.x = ok.x + 5;
  down.y = ok.y + 5;
  driver.Send(down);
  down.type = platform::EventType::MouseUp;
  EXPECT_EQ(driver.Send(down), 0x205);
}

}  // namespace
}  // namespace velko
