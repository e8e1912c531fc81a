#include <gtest/gtest.h>

#include "services/windows/control.h"
#include "services/windows/window_service.h"
#include "window_test_support.h"

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

TEST_F(GadgetInputTest, TheFocusedListOpensFromTheKeyboard) {
  struct Case {
    const char* name;
    int scanCode;
    bool alt;
  };
  const Case cases[] = {{"F4", keys::kF4, false},
                        {"Space", keys::kSpace, false},
                        {"Down", keys::kDown, false},
                        {"Alt+Down", keys::kDown, true}};
  driver.Press(keys::kTab);
  ASSERT_EQ(Focused(), windows.GadgetHandle(1));
  for (const Case& c : cases) {
    if (c.alt) driver.KeyDown(keys::kLeftAlt);
    driver.Press(c.scanCode);
    if (c.alt) driver.KeyUp(keys::kLeftAlt);
    EXPECT_TRUE(windows.GadgetItemRect(1, 0).has_value()) << c.name;
    driver.Press(keys::kEscape);
    EXPECT_FALSE(windows.GadgetItemRect(1, 0).has_value()) << c.name;
  }
}

TEST_F(GadgetInputTest, KeysMoveThroughTheOpenListAndEnterChooses) {
  driver.Press(keys::kTab);
  driver.Press(keys::kF4);
  driver.Press(keys::kDown);
  driver.Press(keys::kDown);  // stays on the last item
  EXPECT_EQ(windows.GadgetStateGet(1), -1);
  EXPECT_EQ(driver.KeyDown(keys::kReturn), kGadgetEvent);
  EXPECT_EQ(windows.EventKind(), 1);
  EXPECT_EQ(windows.GadgetStateGet(1), 1);
  driver.Press(keys::kSpace);
  driver.Press(keys::kUp);
  driver.Press(keys::kEscape);  // cancels
  EXPECT_EQ(windows.GadgetStateGet(1), 1);
}

TEST_F(GadgetInputTest, TabClosesAnOpenListWithoutChoosing) {
  driver.ClickGadget(1);
  driver.Press(keys::kDown);
  EXPECT_EQ(driver.KeyDown(keys::kTab), kGadgetEvent);  // the list reports its closing
  EXPECT_EQ(windows.EventKind(), 8);
  EXPECT_FALSE(windows.GadgetItemRect(1, 0).has_value());
  EXPECT_EQ(windows.GadgetStateGet(1), -1);
  EXPECT_EQ(Focused(), windows.GadgetHandle(3));
}

TEST_F(GadgetInputTest, ClickingGivesTheFocus) {
  driver.ClickGadget(4);
  EXPECT_EQ(Focused(), windows.GadgetHandle(4));
  driver.Press(keys::kTab);
  EXPECT_EQ(Focused(), windows.GadgetHandle(5));
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
