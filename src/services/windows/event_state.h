// What the last wait took from the queue and what it produced, and the codes it returns.
#pragma once

#include <cstdint>

#include "platform/platform.h"
#include "services/operations.h"

namespace velko::gadgets {

inline constexpr int32_t kGadgetEvent = 13100;
inline constexpr int32_t kMenuEvent = 13101;
inline constexpr int32_t kTrayEvent = 13102;
inline constexpr int32_t kCloseEvent = 16;
inline constexpr int32_t kSizeEvent = 5;

struct EventState {
  int32_t pending = 0;      // event produced while handling the message; 0 = none
  WindowHandle window = 0;  // the window the last message was for
  int32_t gadget = 0;       // kept until the next gadget event
  int32_t type = 0;         // −1 = none, set at the start of every wait; 0 before the first
  int32_t message = 0;
  int64_t secondParameter = 0;
};

// The window message number a platform event stands for, returned by a wait when no event
// came of it (never 0, which means that nothing arrived).
int32_t MessageNumberFor(const platform::InputEvent& event, bool altHeld);
int64_t SecondParameterFor(const platform::InputEvent& event);

}  // namespace velko::gadgets
