#include "services/drawing/drawing_service.h"

namespace velko {

// Placeholder until drawing is built: no target can be had.
DrawingService::DrawingService(platform::Platform& platform, ScreenService& screen,
                               SpriteService& sprites)
    : platform_(platform), screen_(screen), sprites_(sprites) {}
DrawingService::~DrawingService() = default;
void DrawingService::DrawingStart() {}
DrawTarget* DrawingService::ScreenDrawTarget() {
  return nullptr;
}
DrawTarget* DrawingService::SpriteDrawTarget(int32_t) {
  return nullptr;
}
std::uintptr_t DrawingService::DrawBegin(DrawTarget*) {
  return 0;
}
void DrawingService::DrawString(const std::string&) {}
void DrawingService::DrawPixel(int32_t, int32_t, int32_t) {}
void DrawingService::DrawEnd() {}

}  // namespace velko
