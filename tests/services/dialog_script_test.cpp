#include "services/windows/dialog_script.h"

#include <gtest/gtest.h>

#include "services/windows/window_service.h"
#include "support/window_test_support.h"

namespace velko {
namespace {

using platform::EventType;

TEST(DialogScriptTest, RejectsWhatItDoesNotKnow) {
  for (const char* actions : {"", "ok,", "press", "select", "select:", "select:x", "select:-1",
                              "toggle:3a", "ok:1", "tab:2", "OK"}) {
    std::string error;
    EXPECT_FALSE(DialogScript::Parse(actions, error).has_value()) << actions;
    EXPECT_FALSE(error.empty()) << actions;
  }
  std::string error;
  EXPECT_TRUE(DialogScript::Parse("ok,close,select:1,toggle:4,tab,shift-tab,space,enter", error));
}

class DialogScriptEventsTest : public ::testing::Test {
 protected:
  DialogScriptEventsTest() : windows(spy) {
    windows.Start();
    windows.GadgetsStart();
    testing::BuildDialog(windows);
  }
  DialogScript Script(const char* actions) {
    std::string error;
    return *DialogScript::Parse(actions, error);
  }
  testing::SpyPlatform spy;
  WindowService windows;
};

TEST_F(DialogScriptEventsTest, OkIsAClickInTheMiddleOfTheButton) {
  DialogScript script = Script("ok");
  const EventType expected[] = {EventType::MouseMove, EventType::MouseDown, EventType::MouseUp};
  for (const EventType type : expected) {
    platform::InputEvent event;
    ASSERT_TRUE(script.Next(windows, event));
    EXPECT_EQ(event.type, type);
    EXPECT_EQ(event.x, 120 + 30);
    EXPECT_EQ(event.y, 145 + 10);
    EXPECT_EQ(event.windowId, windows.NativeIdOf(1));
  }
  platform::InputEvent event;
  EXPECT_FALSE(script.RanOut());
  EXPECT_FALSE(script.Next(windows, event));
  EXPECT_TRUE(script.RanOut());
}

TEST_F(DialogScriptEventsTest, SelectClicksTheRowOfTheListOnceItHasDropped) {
  DialogScript script = Script("select:1");
  spy.Headless().SetEventSource(
      [&](platform::InputEvent& event) { return script.Next(windows, event); });
  while (windows.EventWait() != 0) {
  }
  EXPECT_EQ(windows.GadgetStateGet(1), 1);
  EXPECT_TRUE(script.RanOut());
}

TEST_F(DialogScriptEventsTest, KeysAndTheCloseBox) {
  DialogScript script = Script("shift-tab,enter,close");
  const struct {
    EventType type;
    int scanCode;
    bool shift;
  } expected[] = {{EventType::KeyDown, 0x0F, true},
                  {EventType::KeyUp, 0x0F, true},
                  {EventType::KeyDown, 0x1C, false},
                  {EventType::KeyUp, 0x1C, false},
                  {EventType::Close, 0, false}};
  for (const auto& e : expected) {
    platform::InputEvent event;
    ASSERT_TRUE(script.Next(windows, event));
    EXPECT_EQ(event.type, e.type);
    EXPECT_EQ(event.scanCode, e.scanCode);
    EXPECT_EQ(event.shift, e.shift);
    EXPECT_EQ(event.windowId, windows.NativeIdOf(1));
  }
}

TEST_F(DialogScriptEventsTest, WithoutTheDialogTheActionsWait) {
  DialogScript script = Script("ok");
  windows.WindowClose(1);
  platform::InputEvent event;
  EXPECT_FALSE(script.Next(windows, event));
  EXPECT_FALSE(script.RanOut());
  testing::BuildDialog(windows);
  EXPECT_TRUE(script.Next(windows, event));
  EXPECT_EQ(event.type, EventType::MouseMove);
}

}  // namespace
}  // namespace velko
