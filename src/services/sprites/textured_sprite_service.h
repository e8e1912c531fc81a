// Rotated sprites: a texture-mode sprite drawn as a rotated, key-coloured, alpha-blended quad.
#pragma once

#include <cstdint>
#include <memory>

#include "services/memory/object_table.h"
#include "services/screen/pixel_buffer.h"
#include "services/sprites/textured_quad.h"

namespace velko {

class ScreenService;
class SpriteService;

struct TexturedSpriteRecord {
  // The sprite's buffer, shared with it and not owned: once the sprite is freed or replaced
  // the textured sprite shows nothing until it is made again.
  std::weak_ptr<PixelBuffer> texture;
  TexturedQuad corners{};
  int16_t quadWidth = 0;
  int16_t quadHeight = 0;
};

class TexturedSpriteService {
 public:
  TexturedSpriteService(ScreenService& screen, SpriteService& sprites);
  ~TexturedSpriteService();
  TexturedSpriteService(const TexturedSpriteService&) = delete;
  TexturedSpriteService& operator=(const TexturedSpriteService&) = delete;

  int32_t TexturedSpriteStart();
  int32_t TexturedSpriteCreate(int32_t texturedNumber, int32_t spriteNumber);
  void TexturedSpriteRotate(int32_t texturedNumber, int32_t degrees, int32_t sizeSource);
  int32_t TexturedSceneBegin();
  void TexturedSpriteShow(int32_t texturedNumber, int32_t x, int32_t y, int32_t opacity);
  void TexturedSceneEnd();
  void TexturedSpriteFree(int32_t texturedNumber);
  void TexturedSpriteFreeAll();

  const TexturedSpriteRecord* Find(int32_t texturedNumber) const {
    return table_.Find(texturedNumber);
  }
  int32_t Capacity() const { return table_.Capacity(); }
  bool SceneOpen() const { return sceneOpen_; }

 private:
  ScreenService& screen_;
  SpriteService& sprites_;
  ObjectTable<TexturedSpriteRecord> table_{50, 50, 1};
  bool deviceNeeded_ = true;
  bool sceneOpen_ = false;
};

}  // namespace velko
