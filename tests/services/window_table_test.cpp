#include <gtest/gtest.h>

#include "services/windows/window_service.h"
#include "support/window_test_support.h"

namespace velko {
namespace {

using platform::EventType;
using testing::SpyPlatform;
using testing::WindowDriver;

constexpr int32_t kGadgetEvent = 13100;
constexpr int32_t kCloseEvent = 16;
constexpr int32_t kMouseMoveMessage = 0x200;

class WindowTableTest : public ::testing::Test {
 protected:
  WindowTableTest() : windows(spy) {
    windows.Start();
    windows.GadgetsStart();
  }
  SpyPlatform spy;
  WindowService windows;
};

TEST_F(WindowTableTest, FlagsChooseTheFrameAndVisibility) {
  struct Case {
    uint32_t flags;
    bool caption;
    bool systemMenu;
    bool minimiseBox;
    bool visible;
  };
  const Case cases[] = {
      {0x00CA0001, true, true, true, true},     // the dialog
      {0x00C00001, true, false, false, true},   // the game window
      {0x00000000, true, false, false, true},   // nothing given: a caption is added
      {0x10000001, true, false, false, false},  // WS_VISIBLE given: starts hidden
      {0x00080000, false, false, false, true},  // a system menu needs a caption
      {0x00CA0000, true, true, true, true},
  };
  for (const Case& c : cases) {
    spy.requests.clear();
    ASSERT_NE(windows.WindowOpen(1, 10, 20, 300, 180, c.flags, "T"), 0u);
    ASSERT_EQ(spy.requests.size(), 1u);
    const platform::WindowRequest& request = spy.requests[0];
    EXPECT_EQ(request.caption, c.caption) << std::hex << c.flags;
    EXPECT_EQ(request.systemMenu, c.systemMenu) << std::hex << c.flags;
    EXPECT_EQ(request.minimiseBox, c.minimiseBox) << std::hex << c.flags;
    EXPECT_EQ(request.visible, c.visible) << std::hex << c.flags;
    EXPECT_EQ(request.clientWidth, 300);
    EXPECT_EQ(request.clientHeight, 180);
  }
}

TEST_F(WindowTableTest, CentresOnTheDesktopFromTheOuterSize) {
  // Headless frame: 3 pixels each side and 23 on top, so the outer size is 306 x 206.
  const WindowHandle handle = windows.WindowOpen(1, 0, 0, 300, 180, 0x00CA0001, "Dialog");
  ASSERT_NE(handle, 0u);
  const platform::Rect client = windows.NativeFor(handle)->ClientRect();
  EXPECT_EQ(client.x, (1920 >> 1) - (306 >> 1) + 3);
  EXPECT_EQ(client.y, (1080 >> 1) - (206 >> 1) + 23);
  EXPECT_EQ(client.width, 300);
  EXPECT_EQ(client.height, 180);
}

TEST_F(WindowTableTest, WithoutCentringThePositionIsKept) {
  const WindowHandle handle = windows.WindowOpen(1, 40, 50, 100, 80, 0x00C00000, "Plain");
  ASSERT_NE(handle, 0u);
  EXPECT_EQ(spy.requests.back().x, 40);
  EXPECT_EQ(spy.requests.back().y, 50);
}

TEST_F(WindowTableTest, CentresOnTheActiveWindow) {
  const WindowHandle first = windows.WindowOpen(1, 0, 0, 400, 300, 0x00C00001, "A");
  ASSERT_NE(first, 0u);
  ASSERT_NE(windows.WindowOpen(2, 0, 0, 100, 50, 0x00C00002, "B"), 0u);
  // The headless windows always have the focus, so window 1 is the active one.
  const platform::Rect active = windows.NativeFor(first)->ClientRect();
  const int activeLeft = active.x - 3;
  const int activeTop = active.y - 23;
  EXPECT_EQ(spy.requests.back().x, activeLeft - (106 >> 1) + (406 >> 1));
  EXPECT_EQ(spy.requests.back().y, activeTop - (76 >> 1) + (326 >> 1));
}

TEST_F(WindowTableTest, OpeningANumberAgainClosesTheFirstWindow) {
  const WindowHandle first = windows.WindowOpen(1, 0, 0, 300, 180, 0x00CA0001, "One");
  ASSERT_NE(first, 0u);
  EXPECT_TRUE(windows.ClassRegistered("WindowClass_1"));
  const WindowHandle second = windows.WindowOpen(1, 0, 0, 300, 180, 0x00CA0001, "Two");
  ASSERT_NE(second, 0u);
  EXPECT_NE(first, second);
  EXPECT_EQ(windows.NativeFor(first), nullptr);
  EXPECT_NE(windows.NativeFor(second), nullptr);
  EXPECT_EQ(spy.Headless().OpenWindowIds().size(), 1u);
  EXPECT_TRUE(windows.ClassRegistered("WindowClass_1"));
}

TEST_F(WindowTableTest, CloseDestroysTheWindowAndItsClass) {
  const WindowHandle handle = windows.WindowOpen(4, 0, 0, 30, 30, 0, "W");
  ASSERT_NE(handle, 0u);
  windows.WindowClose(4);
  EXPECT_EQ(windows.NativeFor(handle), nullptr);
  EXPECT_EQ(windows.WindowHandleOf(4), 0u);
  EXPECT_FALSE(windows.ClassRegistered("WindowClass_4"));
  EXPECT_TRUE(spy.Headless().OpenWindowIds().empty());
  windows.WindowClose(4);    // nothing left to close
  windows.WindowClose(500);  // beyond the table
}

TEST_F(WindowTableTest, TableGrowsByTenPastItsCapacity) {
  EXPECT_EQ(windows.WindowCapacity(), 10);
  ASSERT_NE(windows.WindowOpen(9, 0, 0, 10, 10, 0, "W"), 0u);
  EXPECT_EQ(windows.WindowCapacity(), 10);
  ASSERT_NE(windows.WindowOpen(10, 0, 0, 10, 10, 0, "W"), 0u);
  EXPECT_EQ(windows.WindowCapacity(), 20);
  EXPECT_NE(windows.WindowHandleOf(9), 0u);
  EXPECT_EQ(windows.WindowHandleOf(25), 0u);  // beyond the capacity: an empty record
}

TEST_F(WindowTableTest, CloseAllClosesEveryWindow) {
  windows.WindowOpen(0, 0, 0, 10, 10, 0, "W");
  windows.WindowOpen(2, 0, 0, 10, 10, 0, "W");
  windows.WindowOpen(14, 0, 0, 10, 10, 0, "W");
  windows.CloseAll();
  EXPECT_TRUE(spy.Headless().OpenWindowIds().empty());
  EXPECT_EQ(windows.WindowHandleOf(0), 0u);
  EXPECT_EQ(windows.WindowHandleOf(14), 0u);
}

TEST_F(WindowTableTest, AFailedOpenStoresZeroAndKeepsTheCurrentWindow) {
  const WindowHandle first = windows.WindowOpen(1, 0, 0, 10, 10, 0, "W");
  spy.refuseWindows = true;
  EXPECT_EQ(windows.WindowOpen(2, 0, 0, 10, 10, 0, "W"), 0u);
  EXPECT_EQ(windows.WindowHandleOf(2), 0u);
  // Gadgets still go where GadgetList says; the current window is still window 1.
  windows.GadgetList(first);
  EXPECT_NE(windows.GadgetButton(1, 0, 0, 5, 5, "B", 0), 0u);
}

TEST_F(WindowTableTest, TheEventStateStartsAtZeroAndEachWaitSetsTheTypeToNone) {
  EXPECT_EQ(windows.EventGadgetNumber(), 0);
  EXPECT_EQ(windows.EventKind(), 0);
  EXPECT_EQ(windows.EventWindowNumber(), -1);
  windows.WindowOpen(1, 0, 0, 100, 100, 0, "W");
  EXPECT_EQ(windows.EventPoll(), 0);  // nothing waiting, yet the type is reset
  EXPECT_EQ(windows.EventKind(), -1);
  EXPECT_EQ(windows.EventGadgetNumber(), 0);
  // Starting the service again clears it all.
  windows.Start();
  EXPECT_EQ(windows.EventKind(), 0);
}

TEST_F(WindowTableTest, CloseBoxGivesEvent16AndLeavesTheWindowOpen) {
  const WindowHandle handle = windows.WindowOpen(1, 0, 0, 300, 180, 0x00CA0001, "Dialog");
  WindowDriver driver(spy.Headless(), windows, 1);
  platform::InputEvent close;
  close.type = EventType::Close;
  EXPECT_EQ(driver.Send(close), kCloseEvent);
  EXPECT_NE(windows.NativeFor(handle), nullptr);
  EXPECT_EQ(windows.EventWindowNumber(), 1);
}

TEST_F(WindowTableTest, OtherMessagesKeepTheLastGadgetWithTypeMinusOne) {
  testing::BuildDialog(windows);
  WindowDriver driver(spy.Headless(), windows, 1);
  ASSERT_EQ(driver.ClickGadget(2), kGadgetEvent);
  EXPECT_EQ(windows.EventGadgetNumber(), 2);
  EXPECT_EQ(windows.EventKind(), 0);
  EXPECT_EQ(driver.Move(5, 5), kMouseMoveMessage);
  EXPECT_EQ(windows.EventGadgetNumber(), 2);
  EXPECT_EQ(windows.EventKind(), -1);
  EXPECT_EQ(windows.EventSecondParameter(), (5 << 16) | 5);
}

TEST_F(WindowTableTest, MessageNumbersOfPlatformEvents) {
  windows.WindowOpen(1, 0, 0, 100, 100, 0, "W");
  WindowDriver driver(spy.Headless(), windows, 1);
  struct Case {
    EventType type;
    int button;
    int32_t message;
  };
  const Case cases[] = {
      {EventType::MouseDown, 1, 0x201}, {EventType::MouseUp, 1, 0x202},
      {EventType::MouseDown, 3, 0x204}, {EventType::MouseUp, 3, 0x205},
      {EventType::KeyDown, 0, 0x100},   {EventType::KeyUp, 0, 0x101},
      {EventType::FocusGained, 0, 7},   {EventType::FocusLost, 0, 8},
      {EventType::Exposed, 0, 0x0F},
  };
  for (const Case& c : cases) {
    platform::InputEvent event;
    event.type = c.type;
    event.button = c.button;
    event.scanCode = 0x1E;
    EXPECT_EQ(driver.Send(event), c.message) << static_cast<int>(c.type);
  }
}

TEST_F(WindowTableTest, WaitsReturnZeroWhenNothingCanArrive) {
  windows.WindowOpen(1, 0, 0, 100, 100, 0, "W");
  EXPECT_EQ(windows.EventPoll(), 0);
  EXPECT_EQ(windows.EventWait(), 0);
}

TEST_F(WindowTableTest, EventsForUnknownWindowsHaveNoEventWindow) {
  windows.WindowOpen(1, 0, 0, 100, 100, 0, "W");
  platform::InputEvent event;
  event.type = EventType::MouseMove;
  event.windowId = 999;
  spy.Headless().QueueEvent(event);
  EXPECT_EQ(windows.EventPoll(), kMouseMoveMessage);
  EXPECT_EQ(windows.EventWindowNumber(), -1);
}

}  // namespace
}  // namespace velko
