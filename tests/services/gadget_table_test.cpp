#include <gtest/gtest.h>

#include "services/windows/window_service.h"
#include "support/window_test_support.h"

namespace velko {
namespace {

using testing::SpyPlatform;

class GadgetTableTest : public ::testing::Test {
 protected:
  GadgetTableTest() : windows(spy) {
    windows.Start();
    windows.GadgetsStart();
    window = windows.WindowOpen(1, 0, 0, 300, 180, 0x00CA0001, "Dialog");
    windows.GadgetList(window);
  }
  SpyPlatform spy;
  WindowService windows;
  WindowHandle window = 0;
};

TEST_F(GadgetTableTest, GrowsByThirtyPastItsCapacity) {
  EXPECT_EQ(windows.GadgetCapacity(), 30);
  ASSERT_NE(windows.GadgetCheckBox(29, 0, 0, 10, 10, "a", 0), 0u);
  EXPECT_EQ(windows.GadgetCapacity(), 30);
  ASSERT_NE(windows.GadgetCheckBox(30, 0, 0, 10, 10, "b", 0), 0u);
  EXPECT_EQ(windows.GadgetCapacity(), 60);
  windows.GadgetStateSet(29, 1);
  EXPECT_EQ(windows.GadgetStateGet(29), 1);
  EXPECT_EQ(windows.GadgetStateGet(30), 0);
}

TEST_F(GadgetTableTest, NumbersBeyondTheTableReadTheSpareRecord) {
  ASSERT_NE(windows.GadgetCheckBox(1, 0, 0, 10, 10, "a", 0), 0u);
  for (const int32_t number : {30, 31, 32, 45, 100000}) {
    windows.GadgetStateSet(number, 1);
    windows.GadgetItemAdd(number, 0, "x");
    windows.GadgetTextSet(number, "y");
    EXPECT_EQ(windows.GadgetStateGet(number), 0) << number;
    EXPECT_EQ(windows.GadgetTextGet(number), "") << number;
    EXPECT_EQ(windows.GadgetItemCount(number), 0) << number;
    EXPECT_EQ(windows.GadgetHandle(number), 0u) << number;
  }
  // Reading beyond the table never grows it.
  EXPECT_EQ(windows.GadgetCapacity(), 30);
  EXPECT_EQ(windows.GadgetStateGet(-1), 0);
}

TEST_F(GadgetTableTest, GadgetsNeedAListWindow) {
  windows.GadgetList(0);
  EXPECT_EQ(windows.GadgetButton(1, 0, 0, 10, 10, "OK", 0), 0u);
  EXPECT_EQ(windows.GadgetHandle(1), 0u);
  EXPECT_EQ(windows.GadgetTextGet(1), "");
}

TEST_F(GadgetTableTest, ASecondGadgetUnderANumberLeavesTheFirstOnScreen) {
  const WindowHandle label = windows.GadgetText(3, 50, 10, 200, 30, "Label", 0);
  const WindowHandle box = windows.GadgetCheckBox(3, 80, 80, 150, 20, "Box", 0);
  ASSERT_NE(label, 0u);
  ASSERT_NE(box, 0u);
  EXPECT_NE(label, box);
  EXPECT_EQ(windows.GadgetHandle(3), box);
  EXPECT_EQ(windows.GadgetTextGet(3), "Box");
  windows.GadgetStateSet(3, 1);
  EXPECT_EQ(windows.GadgetStateGet(3), 1);
  // The label is still painted: ink in its area (headless text is solid bars).
  const gadgets::Canvas* pixels = windows.ClientPixels(1);
  ASSERT_NE(pixels, nullptr);
  bool ink = false;
  for (int x = 50; x < 250; ++x) ink = ink || pixels->At(x, 10 + 8) == gadgets::kWindowText;
  EXPECT_TRUE(ink);
}

TEST_F(GadgetTableTest, ClosingTheWindowLeavesEntriesThatLeadNowhere) {
  ASSERT_NE(windows.GadgetCheckBox(4, 0, 0, 10, 10, "a", 0), 0u);
  windows.GadgetStateSet(4, 1);
  windows.WindowClose(1);
  EXPECT_NE(windows.GadgetHandle(4), 0u);
  EXPECT_EQ(windows.GadgetStateGet(4), 0);
  windows.GadgetStateSet(4, 1);  // does nothing
  EXPECT_EQ(windows.GadgetTextGet(4), "");
}

TEST_F(GadgetTableTest, DropDownItemsStateAndText) {
  ASSERT_NE(windows.GadgetDropDown(1, 75, 45, 130, 100, 0), 0u);
  windows.GadgetItemAdd(1, 0, "16 bits");
  windows.GadgetItemAdd(1, 1, "32 bits");
  EXPECT_EQ(windows.GadgetItemCount(1), 2);
  EXPECT_EQ(windows.GadgetStateGet(1), -1);
  EXPECT_EQ(windows.GadgetTextGet(1), "");

  struct Case {
    int32_t state;
    int32_t expected;
    const char* text;
  };
  const Case cases[] = {{1, 1, "32 bits"}, {0, 0, "16 bits"}, {-1, -1, ""},
                        {2, -1, ""},       {1, 1, "32 bits"}, {-7, -1, ""}};
  for (const Case& c : cases) {
    windows.GadgetStateSet(1, c.state);
    EXPECT_EQ(windows.GadgetStateGet(1), c.expected) << c.state;
    EXPECT_EQ(windows.GadgetTextGet(1), c.text) << c.state;
  }
  EXPECT_EQ(windows.GadgetItemTextGet(1, 1), "32 bits");
  EXPECT_EQ(windows.GadgetItemTextGet(1, 2), "");
}

TEST_F(GadgetTableTest, DropDownTextSelectsByBeginningOrNone) {
  windows.GadgetDropDown(1, 75, 45, 130, 100, 0);
  windows.GadgetItemAdd(1, 0, "16 bits");
  windows.GadgetItemAdd(1, 1, "32 bits");
  windows.GadgetTextSet(1, "32");
  EXPECT_EQ(windows.GadgetStateGet(1), 1);
  windows.GadgetTextSet(1, "64");  // no match: the choice stays
  EXPECT_EQ(windows.GadgetStateGet(1), 1);
  windows.GadgetTextSet(1, "16 BITS");
  EXPECT_EQ(windows.GadgetStateGet(1), 0);
  windows.GadgetTextSet(1, "");
  EXPECT_EQ(windows.GadgetStateGet(1), -1);
}

TEST_F(GadgetTableTest, DropDownInsertAndRemoveKeepTheChosenItem) {
  windows.GadgetDropDown(1, 75, 45, 130, 100, 0);
  windows.GadgetItemAdd(1, 0, "b");
  windows.GadgetItemAdd(1, 5, "ignored");  // beyond the end
  windows.GadgetItemAdd(1, -1, "c");       // appended
  windows.GadgetStateSet(1, 0);
  windows.GadgetItemAdd(1, 0, "a");
  EXPECT_EQ(windows.GadgetItemCount(1), 3);
  EXPECT_EQ(windows.GadgetTextGet(1), "b");
  windows.GadgetItemRemove(1, 0);
  EXPECT_EQ(windows.GadgetTextGet(1), "b");
  windows.GadgetItemRemove(1, 0);
  EXPECT_EQ(windows.GadgetStateGet(1), -1);
  windows.GadgetItemsClear(1);
  EXPECT_EQ(windows.GadgetItemCount(1), 0);
}

TEST_F(GadgetTableTest, CheckBoxAndButtonStates) {
  windows.GadgetCheckBox(4, 0, 0, 100, 20, "Box", 0);
  windows.GadgetButton(2, 0, 30, 60, 20, "OK", 1);
  EXPECT_EQ(windows.GadgetStateGet(4), 0);
  windows.GadgetStateSet(4, 1);
  EXPECT_EQ(windows.GadgetStateGet(4), 1);
  windows.GadgetStateSet(4, 0);
  EXPECT_EQ(windows.GadgetStateGet(4), 0);
  windows.GadgetStateSet(2, 1);  // a push button has no check state
  EXPECT_EQ(windows.GadgetStateGet(2), 0);
  EXPECT_EQ(windows.GadgetTextGet(2), "OK");
  windows.GadgetTextSet(2, "Go");
  EXPECT_EQ(windows.GadgetTextGet(2), "Go");
}

TEST_F(GadgetTableTest, WindowTextIsCutAt5000Characters) {
  windows.GadgetText(6, 0, 0, 50, 20, std::string(6000, 'x'), 0);
  EXPECT_EQ(windows.GadgetTextGet(6).size(), 5000u);
}

TEST_F(GadgetTableTest, ListBoxFindsTheExactTextOrNothing) {
  windows.GadgetListBox(7, 0, 0, 100, 100, 0);
  windows.GadgetItemAdd(7, 0, "alpha");
  windows.GadgetItemAdd(7, 1, "alphabet");
  windows.GadgetTextSet(7, "ALPHABET");
  EXPECT_EQ(windows.GadgetStateGet(7), 1);
  windows.GadgetTextSet(7, "alp");
  EXPECT_EQ(windows.GadgetStateGet(7), -1);
  windows.GadgetItemTextSet(7, 0, "omega");
  EXPECT_EQ(windows.GadgetItemTextGet(7, 0), "omega");
  windows.GadgetItemStateSet(7, 0, 1);
  EXPECT_EQ(windows.GadgetItemStateGet(7, 0), 1);
  EXPECT_EQ(windows.GadgetItemStateGet(7, 1), 0);
}

TEST_F(GadgetTableTest, OptionsOfOneRunExcludeEachOther) {
  windows.GadgetOption(10, 0, 0, 80, 20, "A", 0);
  windows.GadgetOption(11, 0, 20, 80, 20, "B", 0);
  windows.GadgetText(12, 0, 40, 80, 20, "ends the run", 0);
  windows.GadgetOption(13, 0, 60, 80, 20, "C", 0);
  testing::WindowDriver driver(spy.Headless(), windows, 1);
  driver.ClickGadget(10);
  driver.ClickGadget(13);
  EXPECT_EQ(windows.GadgetStateGet(10), 1);
  EXPECT_EQ(windows.GadgetStateGet(13), 1);
  driver.ClickGadget(11);
  EXPECT_EQ(windows.GadgetStateGet(10), 0);
  EXPECT_EQ(windows.GadgetStateGet(11), 1);
  EXPECT_EQ(windows.GadgetStateGet(13), 1);
}

TEST_F(GadgetTableTest, OtherKindsKeepTheirState) {
  windows.GadgetString(14, 0, 0, 100, 20, "typed", 0);
  windows.GadgetFrame(15, 0, 30, 100, 50, "Group", 0);
  windows.GadgetPanel(16, 0, 90, 200, 80);
  windows.GadgetItemAdd(16, 0, "First");
  windows.GadgetItemAdd(16, 1, "Second");
  EXPECT_EQ(windows.GadgetTextGet(14), "typed");
  EXPECT_EQ(windows.GadgetTextGet(15), "Group");
  EXPECT_EQ(windows.GadgetItemCount(16), 2);
  windows.GadgetStateSet(16, 1);
  EXPECT_EQ(windows.GadgetStateGet(16), 1);
  EXPECT_EQ(windows.GadgetTextGet(16), "Second");
}

TEST_F(GadgetTableTest, FreeRemovesTheControlAndTheEntry) {
  windows.GadgetCheckBox(4, 0, 0, 100, 20, "Box", 0);
  windows.GadgetFree(4);
  EXPECT_EQ(windows.GadgetHandle(4), 0u);
  EXPECT_EQ(windows.GadgetTextGet(4), "");
}

}  // namespace
}  // namespace velko
