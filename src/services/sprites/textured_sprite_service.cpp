#include "services/sprites/textured_sprite_service.h"

namespace velko {

// Placeholder until rotated sprites are built.
TexturedSpriteService::TexturedSpriteService(ScreenService& screen, SpriteService& sprites)
    : screen_(screen), sprites_(sprites) {}
TexturedSpriteService::~TexturedSpriteService() = default;
int32_t TexturedSpriteService::TexturedSpriteStart() {
  return 0;
}
int32_t TexturedSpriteService::TexturedSpriteCreate(int32_t, int32_t) {
  return 0;
}
void TexturedSpriteService::TexturedSpriteRotate(int32_t, int32_t, int32_t) {}
int32_t TexturedSpriteService::TexturedSceneBegin() {
  return 0;
}
void TexturedSpriteService::TexturedSpriteShow(int32_t, int32_t, int32_t, int32_t) {}
void TexturedSpriteService::TexturedSceneEnd() {}
void TexturedSpriteService::TexturedSpriteFree(int32_t) {}
void TexturedSpriteService::TexturedSpriteFreeAll() {}

}  // namespace velko
