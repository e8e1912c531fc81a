// Gamepads, through SDL's virtual joystick: in the game each control reads as its key, merged
// into the key state; in the dialog the D-pad and A move the focus and press; a pad unplugged
// with a button held lets it go. Runs under Xvfb (keys count only while a window of the game
// has the focus).
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <set>
#include <string>

#include "platform/sdl/sdl_pads.h"
#include "platform/sdl/sdl_platform.h"

namespace velko::platform {
namespace {

class SdlPadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform_ = std::make_unique<SdlPlatform>();
    if (!platform_->VideoAvailable()) GTEST_SKIP() << "no display";
    WindowRequest request;
    request.clientWidth = 200;
    request.clientHeight = 100;
    window_ = platform_->CreateWindow(request);
    ASSERT_NE(window_, nullptr);
    window_->Raise();
    for (int i = 0; i < 100 && !window_->HasFocus(); ++i) {
      SDL_SetWindowInputFocus(SDL_GetWindowFromID(window_->Id()));
      SDL_Delay(10);
    }
    if (!window_->HasFocus()) GTEST_SKIP() << "the window never got the focus";
    device_ = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX,
                                        SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(device_, 0) << SDL_GetError();
    joystick_ = SDL_JoystickOpen(device_);
    ASSERT_NE(joystick_, nullptr) << SDL_GetError();
    Held();  // takes in the pad's arrival
  }
  void TearDown() override {
    if (joystick_ != nullptr) SDL_JoystickClose(joystick_);
    if (device_ >= 0 && attached_) SDL_JoystickDetachVirtual(device_);
    window_.reset();
    platform_.reset();
  }

  std::set<int> Held() {
    std::array<std::uint8_t, 256> keys{};
    EXPECT_TRUE(platform_->ReadKeys(keys));
    std::set<int> held;
    for (int code = 0; code < 256; ++code) {
      if (keys[static_cast<size_t>(code)] == 0x80) held.insert(code);
    }
    return held;
  }
  void Button(SDL_GameControllerButton button, bool down) {
    SDL_JoystickSetVirtualButton(joystick_, button, down ? 1 : 0);
  }
  void Axis(SDL_GameControllerAxis axis, Sint16 value) {
    SDL_JoystickSetVirtualAxis(joystick_, axis, value);
  }
  void Unplug() {
    SDL_JoystickDetachVirtual(device_);
    attached_ = false;
  }

  std::unique_ptr<SdlPlatform> platform_;
  std::unique_ptr<NativeWindow> window_;
  int device_ = -1;
  bool attached_ = true;
  SDL_Joystick* joystick_ = nullptr;
};

TEST_F(SdlPadTest, EachControlReadsAsItsKey) {
  ASSERT_EQ(platform_->Pads() != nullptr ? platform_->Pads()->Count() : 0, 1);
  struct Case {
    const char* control;
    int button;  // -1: an axis
    SDL_GameControllerAxis axis;
    Sint16 value;
    int key;
  };
  const Case cases[] = {
      {"D-pad left", SDL_CONTROLLER_BUTTON_DPAD_LEFT, {}, 0, 203},
      {"D-pad right", SDL_CONTROLLER_BUTTON_DPAD_RIGHT, {}, 0, 205},
      {"left stick left", -1, SDL_CONTROLLER_AXIS_LEFTX, -32768, 203},
      {"left stick right", -1, SDL_CONTROLLER_AXIS_LEFTX, 32767, 205},
      {"A", SDL_CONTROLLER_BUTTON_A, {}, 0, 200},
      {"right trigger", -1, SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767, 200},
      {"B", SDL_CONTROLLER_BUTTON_B, {}, 0, 208},
      {"left trigger", -1, SDL_CONTROLLER_AXIS_TRIGGERLEFT, 32767, 208},
      {"Y", SDL_CONTROLLER_BUTTON_Y, {}, 0, 88},
      {"Back", SDL_CONTROLLER_BUTTON_BACK, {}, 0, 1},
  };
  EXPECT_TRUE(Held().empty());
  for (const Case& c : cases) {
    if (c.button >= 0) {
      Button(static_cast<SDL_GameControllerButton>(c.button), true);
    } else {
      Axis(c.axis, c.value);
    }
    EXPECT_EQ(Held(), std::set<int>{c.key}) << c.control;
    if (c.button >= 0) {
      Button(static_cast<SDL_GameControllerButton>(c.button), false);
    } else {
      Axis(c.axis, 0);
    }
    EXPECT_TRUE(Held().empty()) << c.control << " let go";
  }
  // A stick pushed less than half way is not a key.
  Axis(SDL_CONTROLLER_AXIS_LEFTX, -8000);
  EXPECT_TRUE(Held().empty());
}

TEST_F(SdlPadTest, APadUnpluggedWhileHeldLetsGo) {
  Button(SDL_CONTROLLER_BUTTON_A, true);
  EXPECT_EQ(Held(), std::set<int>{200});
  Unplug();
  EXPECT_TRUE(Held().empty());
  EXPECT_EQ(platform_->Pads()->Count(), 0);
}

// The dialog's keys, as events to the focused window: D-pad down and up are Tab and
// Shift+Tab, A is Space; unplugged with A held, Space is let go.
TEST_F(SdlPadTest, InTheDialogTheDpadMovesAndAPresses) {
  auto next = [&]() -> InputEvent {
    InputEvent event;
    for (int i = 0; i < 50; ++i) {
      if (platform_->PollEvent(event) &&
          (event.type == EventType::KeyDown || event.type == EventType::KeyUp)) {
        return event;
      }
      SDL_Delay(2);
    }
    return {};
  };
  struct Step {
    const char* what;
    int button;
    bool down;
    EventType type;
    int scanCode;
    bool shift;
  };
  const Step steps[] = {
      {"D-pad down", SDL_CONTROLLER_BUTTON_DPAD_DOWN, true, EventType::KeyDown, 0x0F, false},
      {"D-pad down let go", SDL_CONTROLLER_BUTTON_DPAD_DOWN, false, EventType::KeyUp, 0x0F, false},
      {"D-pad up", SDL_CONTROLLER_BUTTON_DPAD_UP, true, EventType::KeyDown, 0x0F, true},
      {"D-pad up let go", SDL_CONTROLLER_BUTTON_DPAD_UP, false, EventType::KeyUp, 0x0F, true},
      {"A", SDL_CONTROLLER_BUTTON_A, true, EventType::KeyDown, 0x39, false},
  };
  for (const Step& step : steps) {
    Button(static_cast<SDL_GameControllerButton>(step.button), step.down);
    const InputEvent event = next();
    EXPECT_EQ(event.type, step.type) << step.what;
    EXPECT_EQ(event.scanCode, step.scanCode) << step.what;
    EXPECT_EQ(event.shift, step.shift) << step.what;
    EXPECT_EQ(event.windowId, window_->Id()) << step.what;
  }
  Unplug();
  const InputEvent letGo = next();
  EXPECT_EQ(letGo.type, EventType::KeyUp) << "A let go with its pad";
  EXPECT_EQ(letGo.scanCode, 0x39);
}

}  // namespace
}  // namespace velko::platform
