// Numbered sprites in the display's pixel format: blank, loaded from BMP files, grabbed from
// the current target, shown clipped, saved as 24-bit BMP files.
#pragma once

#include <cstdint>
#include <string>

#include "services/files/program_directory.h"
#include "services/operations.h"

namespace velko {

class ScreenService;

class SpriteService {
 public:
  SpriteService(ScreenService& screen, const ProgramDirectory& directory);
  ~SpriteService();

  SurfaceHandle SpriteCreate(int32_t number, int32_t width, int32_t height, int32_t mode);
  SurfaceHandle SpriteLoadFile(int32_t number, const std::string& fileName, int32_t mode);
  SurfaceHandle SpriteGrab(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height);
  void SpriteSetKeyColour(int32_t number, int32_t red, int32_t green, int32_t blue);
  void SpriteShow(int32_t number, int32_t x, int32_t y);
  void SpriteFree(int32_t number);
  int32_t SpriteGetWidth(int32_t number);
  int32_t SpriteGetHeight(int32_t number);
  int32_t SpriteSaveBmp(int32_t number, const std::string& fileName);
  void SpriteFreeAll();

 private:
  ScreenService& screen_;
  const ProgramDirectory& directory_;
};

}  // namespace velko
