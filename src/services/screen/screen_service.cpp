#include "services/screen/screen_service.h"

namespace velko {

// Placeholder until the screen is built: the display cannot be had.
ScreenService::ScreenService(platform::Platform& platform, WindowService& windows)
    : platform_(platform), windows_(windows) {}
ScreenService::~ScreenService() = default;
void ScreenService::AttachSprites(SpriteService& sprites) {
  sprites_ = &sprites;
}
int32_t ScreenService::ScreenStart() {
  return 0;
}
void ScreenService::ScreenRequestRefresh(int32_t) {}
int32_t ScreenService::ScreenOpen(int32_t, int32_t, int32_t, const std::string&) {
  return 0;
}
int32_t ScreenService::ScreenOpenInWindow(WindowHandle, int32_t, int32_t, int32_t, int32_t, int32_t,
                                          int32_t, int32_t) {
  return 0;
}
int32_t ScreenService::ScreenFrameCap(int32_t) {
  return 0;
}
SurfaceHandle ScreenService::ScreenSelectTarget(int32_t) {
  return 0;
}
void ScreenService::ScreenFill(int32_t, int32_t, int32_t) {}
SurfaceHandle ScreenService::ScreenPresent() {
  return 0;
}
void ScreenService::ScreenClose() {}
void ScreenService::ScreenStop() {}

}  // namespace velko
