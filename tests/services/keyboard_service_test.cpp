#include "services/keyboard/keyboard_service.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "platform/headless/headless_platform.h"

namespace velko {
namespace {

constexpr uint8_t kHeld = 0x80;

// A keyboard over the headless platform whose held keys the test sets before each poll.
class KeyboardTest : public ::testing::Test {
 protected:
  KeyboardTest() : platform_(platform::HeadlessOptions{}), keyboard_(platform_) {
    platform_.SetKeySource([this](int, std::array<uint8_t, 256>& keys) {
      for (int code : held_) keys[static_cast<size_t>(code)] = kHeld;
    });
  }

  void PollWith(std::vector<int> held) {
    held_ = std::move(held);
    ASSERT_EQ(keyboard_.KeyboardPoll(), 1);
  }

  platform::HeadlessPlatform platform_;
  KeyboardService keyboard_;
  std::vector<int> held_;
};

TEST_F(KeyboardTest, HeldKeyReads128AndOthersZero) {
  ASSERT_EQ(keyboard_.KeyboardStart(), 1);
  const int32_t codes[] = {dik::kEscape, dik::kF12,  dik::kUp, dik::kLeft,
                           dik::kRight,  dik::kDown, 0,        255};
  for (int32_t code : codes) {
    PollWith({code});
    for (int32_t other = 0; other < 256; ++other) {
      EXPECT_EQ(keyboard_.KeyIsDown(other), other == code ? 128 : 0) << code << " / " << other;
    }
  }
}

TEST_F(KeyboardTest, NothingIsHeldBeforeTheFirstPoll) {
  ASSERT_EQ(keyboard_.KeyboardStart(), 1);
  held_ = {dik::kUp};
  EXPECT_EQ(keyboard_.KeyIsDown(dik::kUp), 0);
  EXPECT_EQ(keyboard_.KeyIsDown(kAnyKey), 0);
  EXPECT_EQ(keyboard_.KeyWasLetGo(dik::kUp), 0);
  EXPECT_EQ(platform_.KeyPolls(), 0);
}

TEST_F(KeyboardTest, PollBeforeStartReadsNothing) {
  held_ = {dik::kUp};
  EXPECT_EQ(keyboard_.KeyboardPoll(), 0);
  EXPECT_EQ(keyboard_.KeyIsDown(dik::kUp), 0);
}

TEST_F(KeyboardTest, AnyKeyLeavesOut255) {
  ASSERT_EQ(keyboard_.KeyboardStart(), 1);
  struct Case {
    std::vector<int> held;
    int32_t expected;
  };
  const Case cases[] = {{{}, 0},  {{255}, 0},    {{254}, 1},
                        {{0}, 1}, {{255, 1}, 1}, {{dik::kDown}, 1}};
  for (const Case& c : cases) {
    PollWith(c.held);
    EXPECT_EQ(keyboard_.KeyIsDown(kAnyKey), c.expected) << ::testing::PrintToString(c.held);
  }
}

TEST_F(KeyboardTest, CodesOutsideTheTableReadAsNotHeld) {
  ASSERT_EQ(keyboard_.KeyboardStart(), 1);
  std::vector<int> all;
  for (int code = 0; code < 256; ++code) all.push_back(code);
  PollWith(all);
  for (int32_t code : {-2, -100, 256, 1000, INT_MIN, INT_MAX}) {
    EXPECT_EQ(keyboard_.KeyIsDown(code), 0) << code;
    EXPECT_EQ(keyboard_.KeyWasLetGo(code), 0) << code;
  }
  PollWith({});
  for (int32_t code : {-2, 256, INT_MIN, INT_MAX})
    EXPECT_EQ(keyboard_.KeyWasLetGo(code), 0) << code;
}

// One poll per character ('H' held, '.' up), KeyWasLetGo asked after each; the expected
// answers are reasoned from "1 at the first call that finds the key up after one found it held".
TEST_F(KeyboardTest, LetGoReportsEachPressOnce) {
  struct Case {
    std::string polls;
    std::string expected;
  };
  const Case cases[] = {
      {"HHHHH...", "00000100"}, {"H.H.H.", "010101"},   {"....", "0000"},
      {"HHHH", "0000"},         {".HH..HH", "0001000"}, {"H", "0"},
  };
  for (const Case& c : cases) {
    KeyboardService keyboard(platform_);
    ASSERT_EQ(keyboard.KeyboardStart(), 1);
    std::string got;
    for (char poll : c.polls) {
      held_ = poll == 'H' ? std::vector<int>{dik::kF12} : std::vector<int>{};
      ASSERT_EQ(keyboard.KeyboardPoll(), 1);
      got += static_cast<char>('0' + keyboard.KeyWasLetGo(dik::kF12));
    }
    EXPECT_EQ(got, c.expected) << c.polls;
  }
}

TEST_F(KeyboardTest, PressSeenByNoCallIsNeverReported) {
  ASSERT_EQ(keyboard_.KeyboardStart(), 1);
  PollWith({});
  EXPECT_EQ(keyboard_.KeyWasLetGo(dik::kF12), 0);
  // Held in a snapshot, but nobody asked before it was up again.
  PollWith({dik::kF12});
  PollWith({});
  EXPECT_EQ(keyboard_.KeyWasLetGo(dik::kF12), 0);
  EXPECT_EQ(keyboard_.KeyIsDown(dik::kF12), 0);
}

TEST_F(KeyboardTest, PressBetweenTwoPollsIsNeverSeen) {
  ASSERT_EQ(keyboard_.KeyboardStart(), 1);
  PollWith({});
  // The key goes down and up again between polls: queries read only the last snapshot.
  held_ = {dik::kF12};
  EXPECT_EQ(keyboard_.KeyIsDown(dik::kF12), 0);
  EXPECT_EQ(keyboard_.KeyWasLetGo(dik::kF12), 0);
  held_ = {};
  PollWith({});
  EXPECT_EQ(keyboard_.KeyWasLetGo(dik::kF12), 0);
}

TEST_F(KeyboardTest, AnyKeyLetGoSettlesEveryLatch) {
  ASSERT_EQ(keyboard_.KeyboardStart(), 1);
  PollWith({dik::kLeft, dik::kRight, 255});
  EXPECT_EQ(keyboard_.KeyWasLetGo(kAnyKey), 0);
  PollWith({dik::kRight, 255});
  EXPECT_EQ(keyboard_.KeyWasLetGo(kAnyKey), 1);     // Left let go
  EXPECT_EQ(keyboard_.KeyWasLetGo(dik::kLeft), 0);  // already reported
  PollWith({});
  EXPECT_EQ(keyboard_.KeyWasLetGo(dik::kRight), 1);
  EXPECT_EQ(keyboard_.KeyWasLetGo(kAnyKey), 0);  // 255 takes no part
  EXPECT_EQ(keyboard_.KeyWasLetGo(255), 0);      // its own latch was never set
}

TEST_F(KeyboardTest, FailedPollKeepsTheLastSnapshot) {
  ASSERT_EQ(keyboard_.KeyboardStart(), 1);
  PollWith({dik::kUp});
  platform_.SetKeysReadable(false);
  held_ = {};
  EXPECT_EQ(keyboard_.KeyboardPoll(), 0);
  EXPECT_EQ(keyboard_.KeyIsDown(dik::kUp), 128);
  platform_.SetKeysReadable(true);
  EXPECT_EQ(keyboard_.KeyboardPoll(), 1);
  EXPECT_EQ(keyboard_.KeyIsDown(dik::kUp), 0);
}

TEST_F(KeyboardTest, StopEndsPollingButKeepsTheSnapshot) {
  ASSERT_EQ(keyboard_.KeyboardStart(), 1);
  PollWith({dik::kEscape});
  keyboard_.KeyboardStop();
  held_ = {};
  EXPECT_EQ(keyboard_.KeyboardPoll(), 0);
  EXPECT_EQ(keyboard_.KeyIsDown(dik::kEscape), 128);
}

// Closing the game's window (or a termination signal) quits as Escape does, on every platform,
// and stays so on every later poll.
TEST_F(KeyboardTest, ACloseRequestReadsAsEscapeHeld) {
  ASSERT_EQ(keyboard_.KeyboardStart(), 1);
  PollWith({dik::kUp});
  EXPECT_EQ(keyboard_.KeyIsDown(dik::kEscape), 0);
  platform_.RequestClose();
  for (int poll = 0; poll < 2; ++poll) {
    PollWith({dik::kUp});
    EXPECT_EQ(keyboard_.KeyIsDown(dik::kEscape), 128) << poll;
    EXPECT_EQ(keyboard_.KeyIsDown(dik::kUp), 128) << poll;
  }
}

}  // namespace
}  // namespace velko
