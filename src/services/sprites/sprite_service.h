// Numbered sprites in the display's pixel format: blank, loaded from BMP files, grabbed from
// the current target, shown clipped, saved as 24-bit BMP files.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

#include "services/files/program_directory.h"
#include "services/memory/object_table.h"
#include "services/operations.h"
#include "services/screen/pixel_buffer.h"

namespace velko {

class ScreenService;

enum SpriteMode : int32_t {
  SpriteModeDefault = 0,
  SpriteModeSystem = 1,
  SpriteModeRaw = 2,
  SpriteModeTexture = 4,
};

struct SpriteRecord {
  // The pixel buffer; shared so that a target or a textured sprite still using it never sees
  // freed memory. Null: no sprite.
  std::shared_ptr<PixelBuffer> surface;
  int16_t width = 0;
  int16_t height = 0;
  int16_t depth = 0;  // -2 marks a raw sprite (one byte per pixel, not a surface)
  int16_t mode = 0;
  std::optional<std::string> fileName;
  int16_t clipWidth = 0;
  int16_t clipHeight = 0;
  int16_t clipX = 0;
  int16_t clipY = 0;

  bool IsSurface() const { return surface != nullptr && depth != -2; }
};

class SpriteService {
 public:
  SpriteService(ScreenService& screen, const ProgramDirectory& directory);
  ~SpriteService();
  SpriteService(const SpriteService&) = delete;
  SpriteService& operator=(const SpriteService&) = delete;

  // Fresh table (capacity 50) and default key colour 0; run by ScreenStart.
  void Reset();

  SurfaceHandle SpriteCreate(int32_t number, int32_t width, int32_t height, int32_t mode);
  SurfaceHandle SpriteLoadFile(int32_t number, const std::string& fileName, int32_t mode);
  SurfaceHandle SpriteLoadImage(int32_t number, std::span<const std::uint8_t> image, int32_t mode,
                                const std::string& fileName);
  SurfaceHandle SpriteGrab(int32_t number, int32_t x, int32_t y, int32_t width, int32_t height);
  void SpriteSetKeyColour(int32_t number, int32_t red, int32_t green, int32_t blue);
  void SpriteShow(int32_t number, int32_t x, int32_t y);
  void SpriteFree(int32_t number);
  int32_t SpriteGetWidth(int32_t number);
  int32_t SpriteGetHeight(int32_t number);
  int32_t SpriteSaveBmp(int32_t number, const std::string& fileName);
  void SpriteFreeAll();

  // The record of a number, or null outside the table.
  const SpriteRecord* Find(int32_t number) const { return table_.Find(number); }
  // The surface a sprite number offers as a target (not raw), with its clip size; else null.
  std::shared_ptr<PixelBuffer> TargetSurface(int32_t number, int32_t& clipWidth,
                                             int32_t& clipHeight);
  int32_t Capacity() const { return table_.Capacity(); }
  uint32_t DefaultKeyColour() const { return defaultKeyColour_; }

 private:
  // Empties the number (growing the table) and makes its record; false when no buffer can be
  // made for that size, depth and mode.
  // Null when the table cannot take the number.
  SpriteRecord* MakeRecord(int32_t number, int32_t width, int32_t height, int32_t depth,
                           int32_t mode);

  ScreenService& screen_;
  const ProgramDirectory& directory_;
  ObjectTable<SpriteRecord> table_{50, 50, 1};
  uint32_t defaultKeyColour_ = 0;
};

}  // namespace velko
