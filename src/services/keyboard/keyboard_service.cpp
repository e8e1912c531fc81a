#include "services/keyboard/keyboard_service.h"

namespace velko {

// Placeholder until the keyboard is built: it cannot be started.
KeyboardService::KeyboardService(platform::Platform& platform) : platform_(platform) {}
int32_t KeyboardService::KeyboardStart() {
  return 0;
}
int32_t KeyboardService::KeyboardPoll() {
  return 0;
}
int32_t KeyboardService::KeyIsDown(int32_t) const {
  return 0;
}
int32_t KeyboardService::KeyWasLetGo(int32_t) {
  return 0;
}
void KeyboardService::KeyboardStop() {}

}  // namespace velko
