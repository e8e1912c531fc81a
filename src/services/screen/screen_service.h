// The display: the back buffer every frame is composed on, its presentation, the current
// target and the frame cap.
#pragma once

#include <cstdint>
#include <string>

#include "platform/platform.h"
#include "services/operations.h"

namespace velko {

class WindowService;
class SpriteService;

class ScreenService {
 public:
  ScreenService(platform::Platform& platform, WindowService& windows);
  ~ScreenService();
  void AttachSprites(SpriteService& sprites);

  int32_t ScreenStart();
  void ScreenRequestRefresh(int32_t rate);
  int32_t ScreenOpen(int32_t width, int32_t height, int32_t depth, const std::string& title);
  int32_t ScreenOpenInWindow(WindowHandle window, int32_t x, int32_t y, int32_t width,
                             int32_t height, int32_t stretch, int32_t rightMargin,
                             int32_t bottomMargin);
  int32_t ScreenFrameCap(int32_t framesPerSecond);
  SurfaceHandle ScreenSelectTarget(int32_t number);
  void ScreenFill(int32_t red, int32_t green, int32_t blue);
  SurfaceHandle ScreenPresent();
  void ScreenClose();
  void ScreenStop();

 private:
  platform::Platform& platform_;
  WindowService& windows_;
  SpriteService* sprites_ = nullptr;
};

}  // namespace velko
