// The keyboard as one snapshot of 256 keys per frame, by DirectInput scan code.
#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"

namespace velko {

class KeyboardService {
 public:
  explicit KeyboardService(platform::Platform& platform);

  int32_t KeyboardStart();
  int32_t KeyboardPoll();
  int32_t KeyIsDown(int32_t code) const;
  int32_t KeyWasLetGo(int32_t code);
  void KeyboardStop();

 private:
  platform::Platform& platform_;
};

}  // namespace velko
