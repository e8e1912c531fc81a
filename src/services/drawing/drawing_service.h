// Text and single pixels on the back buffer or on a sprite, between DrawBegin and DrawEnd.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "services/operations.h"
#include "services/screen/pixel_buffer.h"

namespace velko {

class ScreenService;
class SpriteService;

// A buffer ready for drawing: a text context and direct access to its pixels.
struct DrawTarget {
  int32_t kind = 7;  // a buffer with a text context and direct pixel access
  std::uintptr_t window = 0;
  std::uintptr_t context = 0;     // the text context; non-zero while held
  std::function<void()> release;  // gives the context back; run by DrawEnd
  // First byte of the top row. The screen's pixels stand finished here, except while its
  // frames go unseen (velko-sim): then they are composed only when the screen is read.
  std::uint8_t* pixels = nullptr;
  int32_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bitsPerPixel = 0;
  int32_t formatCode = 0;  // 7: 32-bit 0x00RRGGBB, 5: 24-bit, 3: RGB565, 1: other
};

class DrawingService {
 public:
  DrawingService(platform::Platform& platform, ScreenService& screen, SpriteService& sprites);
  ~DrawingService();
  DrawingService(const DrawingService&) = delete;
  DrawingService& operator=(const DrawingService&) = delete;

  void DrawingStart();
  DrawTarget* ScreenDrawTarget();
  DrawTarget* SpriteDrawTarget(int32_t number);
  std::uintptr_t DrawBegin(DrawTarget* target);
  void DrawString(const std::string& text);
  void DrawPixel(int32_t x, int32_t y, int32_t colour);
  void DrawEnd();

  bool Drawing() const { return current_.context != 0; }

 private:
  // A text context: where the next text goes on its line.
  struct TextContext {
    int cursorX = 0;
  };
  enum class Source { None, Screen, Sprite };
  struct Current {
    Source source = Source::None;
    std::uintptr_t context = 0;
    std::function<void()> release;
    std::shared_ptr<PixelBuffer> buffer;
    int32_t bitsPerPixel = 0;
    uint64_t generation = 0;
  };

  void FillTarget(DrawTarget& target, PixelBuffer& buffer, TextContext& text);
  // The surface drawing goes to, or nothing once its context was given back behind our back.
  Surface DrawableSurface() const;

  platform::Platform& platform_;
  ScreenService& screen_;
  SpriteService& sprites_;
  DrawTarget screenTarget_;
  DrawTarget spriteTarget_;
  TextContext screenText_;
  TextContext spriteText_;
  std::shared_ptr<PixelBuffer> screenBuffer_;
  std::shared_ptr<PixelBuffer> spriteBuffer_;
  bool spriteHeld_ = false;
  uint64_t screenGeneration_ = 0;
  uint64_t spriteGeneration_ = 0;
  Current current_;
};

}  // namespace velko
