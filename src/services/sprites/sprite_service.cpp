#include "services/sprites/sprite_service.h"

namespace velko {

// Placeholder until sprites are built: nothing can be made.
SpriteService::SpriteService(ScreenService& screen, const ProgramDirectory& directory)
    : screen_(screen), directory_(directory) {}
SpriteService::~SpriteService() = default;
SurfaceHandle SpriteService::SpriteCreate(int32_t, int32_t, int32_t, int32_t) {
  return 0;
}
SurfaceHandle SpriteService::SpriteLoadFile(int32_t, const std::string&, int32_t) {
  return 0;
}
SurfaceHandle SpriteService::SpriteGrab(int32_t, int32_t, int32_t, int32_t, int32_t) {
  return 0;
}
void SpriteService::SpriteSetKeyColour(int32_t, int32_t, int32_t, int32_t) {}
void SpriteService::SpriteShow(int32_t, int32_t, int32_t) {}
void SpriteService::SpriteFree(int32_t) {}
int32_t SpriteService::SpriteGetWidth(int32_t) {
  return 0;
}
int32_t SpriteService::SpriteGetHeight(int32_t) {
  return 0;
}
int32_t SpriteService::SpriteSaveBmp(int32_t, const std::string&) {
  return 0;
}
void SpriteService::SpriteFreeAll() {}

}  // namespace velko
