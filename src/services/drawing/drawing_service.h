// Text and single pixels on the back buffer or on a sprite, between DrawBegin and DrawEnd.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "services/operations.h"

namespace velko {

class ScreenService;
class SpriteService;

struct DrawTarget {
  int32_t kind = 7;
};

class DrawingService {
 public:
  DrawingService(platform::Platform& platform, ScreenService& screen, SpriteService& sprites);
  ~DrawingService();

  void DrawingStart();
  DrawTarget* ScreenDrawTarget();
  DrawTarget* SpriteDrawTarget(int32_t number);
  std::uintptr_t DrawBegin(DrawTarget* target);
  void DrawString(const std::string& text);
  void DrawPixel(int32_t x, int32_t y, int32_t colour);
  void DrawEnd();

 private:
  platform::Platform& platform_;
  ScreenService& screen_;
  SpriteService& sprites_;
};

}  // namespace velko
