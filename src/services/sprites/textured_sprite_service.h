// Rotated sprites: a texture-mode sprite drawn as a rotated, key-coloured, alpha-blended quad.
#pragma once

#include <cstdint>

namespace velko {

class ScreenService;
class SpriteService;

class TexturedSpriteService {
 public:
  TexturedSpriteService(ScreenService& screen, SpriteService& sprites);
  ~TexturedSpriteService();

  int32_t TexturedSpriteStart();
  int32_t TexturedSpriteCreate(int32_t texturedNumber, int32_t spriteNumber);
  void TexturedSpriteRotate(int32_t texturedNumber, int32_t degrees, int32_t sizeSource);
  int32_t TexturedSceneBegin();
  void TexturedSpriteShow(int32_t texturedNumber, int32_t x, int32_t y, int32_t opacity);
  void TexturedSceneEnd();
  void TexturedSpriteFree(int32_t texturedNumber);
  void TexturedSpriteFreeAll();

 private:
  ScreenService& screen_;
  SpriteService& sprites_;
};

}  // namespace velko
