#include "services/sprites/textured_sprite_service.h"

#include "services/screen/screen_service.h"
#include "services/sprites/sprite_service.h"

namespace velko {

TexturedSpriteService::TexturedSpriteService(ScreenService& screen, SpriteService& sprites)
    : screen_(screen), sprites_(sprites) {}

TexturedSpriteService::~TexturedSpriteService() = default;

int32_t TexturedSpriteService::TexturedSpriteStart() {
  table_ = ObjectTable<TexturedSpriteRecord>(50, 50, 1);
  deviceNeeded_ = true;
  sceneOpen_ = false;
  // The rasteriser needs nothing but a started display.
  return screen_.Started() ? 1 : 0;
}

int32_t TexturedSpriteService::TexturedSpriteCreate(int32_t texturedNumber, int32_t spriteNumber) {
  if (!table_.Grow(texturedNumber)) return 0;
  TexturedSpriteFree(texturedNumber);
  const SpriteRecord* sprite = sprites_.Find(spriteNumber);
  if (sprite == nullptr || !sprite->IsSurface() || sprite->mode != SpriteModeTexture) return 0;
  TexturedSpriteRecord& record = *table_.Make(texturedNumber);
  // One pixel wider and taller than the picture.
  record.quadWidth = static_cast<int16_t>(sprite->width + 1);
  record.quadHeight = static_cast<int16_t>(sprite->height + 1);
  record.corners = InitialCorners(record.quadWidth, record.quadHeight);
  record.texture = sprite->surface;
  return 1;
}

void TexturedSpriteService::TexturedSpriteRotate(int32_t texturedNumber, int32_t degrees,
                                                 int32_t sizeSource) {
  TexturedSpriteRecord* record = table_.Find(texturedNumber);
  if (record == nullptr) return;
  RotateCorners(record->corners, record->quadWidth, record->quadHeight, degrees, sizeSource);
}

int32_t TexturedSpriteService::TexturedSceneBegin() {
  // The device is made on the back buffer at the first begin that finds one.
  if (deviceNeeded_ && screen_.IsOpen()) deviceNeeded_ = false;
  if (deviceNeeded_) return 0;
  sceneOpen_ = true;
  return 1;
}

void TexturedSpriteService::TexturedSpriteShow(int32_t texturedNumber, int32_t x, int32_t y,
                                               int32_t opacity) {
  if (!sceneOpen_) return;
  const TexturedSpriteRecord* record = table_.Find(texturedNumber);
  if (record == nullptr) return;
  std::shared_ptr<PixelBuffer> texture = record->texture.lock();
  if (texture == nullptr || !screen_.IsOpen()) return;
  TexturedQuad quad = record->corners;
  const auto alpha = static_cast<std::uint8_t>(opacity & 0xFF);  // low 8 bits only
  for (TexturedVertex& vertex : quad) {
    vertex.x += static_cast<float>(x);
    vertex.y += static_cast<float>(y);
    vertex.diffuse = (vertex.diffuse & 0x00FFFFFFu) | (static_cast<std::uint32_t>(alpha) << 24);
  }
  // The colour is the texel times the white diffuse, the alpha the diffuse's alpha; the key
  // colour is the one in force now, even if the frame is composed later.
  const std::uint32_t key = texture->keyColour;
  const auto opacity8 = static_cast<std::uint8_t>(quad[0].diffuse >> 24);
  screen_.PaintBackBuffer([quad, texture = std::move(texture), key, opacity8](const Surface& back) {
    DrawTexturedQuad(back, quad, texture->View(), key, opacity8);
  });
}

void TexturedSpriteService::TexturedSceneEnd() {
  sceneOpen_ = false;
}

void TexturedSpriteService::TexturedSpriteFree(int32_t texturedNumber) {
  TexturedSpriteRecord* record = table_.Find(texturedNumber);
  if (record != nullptr) record->texture.reset();
}

void TexturedSpriteService::TexturedSpriteFreeAll() {
  for (int32_t number = 0; number < table_.Capacity(); ++number) TexturedSpriteFree(number);
}

}  // namespace velko
