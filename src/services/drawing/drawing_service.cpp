#include "services/drawing/drawing_service.h"

#include <algorithm>
#include <array>

#include "services/screen/screen_service.h"
#include "services/sprites/sprite_service.h"

namespace velko {
namespace {

int32_t FormatCode(int depth) {
  switch (depth) {
    case 32:
      return 7;  // red above green above blue, not in the lowest byte
    case 24:
      return 5;
    case 16:
      return 3;  // RGB565
    default:
      return 1;
  }
}

// One row of text: each pixel the shade of its coverage.
template <typename Pixel>
void WriteShades(std::uint8_t* out, const std::uint8_t* coverage, int count,
                 const std::array<std::uint32_t, 256>& shade) {
  for (int x = 0; x < count; ++x, out += sizeof(Pixel)) {
    StorePixel(out, static_cast<Pixel>(shade[coverage[x]]));
  }
}

}  // namespace

DrawingService::DrawingService(platform::Platform& platform, ScreenService& screen,
                               SpriteService& sprites)
    : platform_(platform), screen_(screen), sprites_(sprites) {}

DrawingService::~DrawingService() = default;

void DrawingService::DrawingStart() {
  // Text is always black on white; there is no brush or pen to make.
  current_ = Current{};
}

void DrawingService::FillTarget(DrawTarget& target, PixelBuffer& buffer, TextContext& text) {
  // A fresh context writes from the buffer's top-left corner.
  text.cursorX = 0;
  const Surface view = buffer.View();
  target.kind = 7;
  target.window = 0;
  target.context = reinterpret_cast<std::uintptr_t>(&text);
  target.pixels = view.pixels;
  target.pitch = view.pitch;
  target.width = view.width;
  target.height = view.height;
  target.bitsPerPixel = screen_.Depth();
  target.formatCode = FormatCode(view.depth);
}

DrawTarget* DrawingService::ScreenDrawTarget() {
  if (!screen_.HoldScreenContext()) return nullptr;
  // The target's pixels are the finished picture, except while frames go unseen: then only
  // the drawing below reaches them, recorded with the rest of the frame.
  if (!screen_.RecordingFrames()) screen_.FinishBackBuffer();
  screenBuffer_ = screen_.BackBufferMemory();
  const uint64_t generation = ++screenGeneration_;
  FillTarget(screenTarget_, *screenBuffer_, screenText_);
  screenTarget_.release = [this, generation] {
    // Only the hold this target took is given back, never a newer one.
    if (generation == screenGeneration_) screen_.ReleaseScreenContext();
  };
  return &screenTarget_;
}

DrawTarget* DrawingService::SpriteDrawTarget(int32_t number) {
  if (spriteHeld_) return nullptr;
  int32_t clipWidth = 0;
  int32_t clipHeight = 0;
  std::shared_ptr<PixelBuffer> surface = sprites_.TargetSurface(number, clipWidth, clipHeight);
  if (surface == nullptr) return nullptr;
  // The sprite's pixels may change: a recorded frame copying from it is composed first.
  screen_.FinishBackBuffer();
  spriteHeld_ = true;
  spriteBuffer_ = std::move(surface);
  const uint64_t generation = ++spriteGeneration_;
  FillTarget(spriteTarget_, *spriteBuffer_, spriteText_);
  spriteTarget_.release = [this, generation] {
    if (generation != spriteGeneration_) return;
    spriteHeld_ = false;
    spriteBuffer_.reset();
  };
  return &spriteTarget_;
}

std::uintptr_t DrawingService::DrawBegin(DrawTarget* target) {
  DrawEnd();
  if (target == nullptr) return 0;
  current_.context = target->context;
  current_.release = target->release;
  current_.bitsPerPixel = target->bitsPerPixel;
  // Pixels are written only into buffers this service handed out, through a reference that
  // keeps them alive.
  if (target == &screenTarget_ && target->context != 0) {
    current_.source = Source::Screen;
    current_.buffer = screenBuffer_;
    current_.generation = screenGeneration_;
  } else if (target == &spriteTarget_ && target->context != 0) {
    current_.source = Source::Sprite;
    current_.buffer = spriteBuffer_;
    current_.generation = spriteGeneration_;
  } else {
    current_.source = Source::None;
    current_.buffer.reset();
  }
  return current_.context;
}

Surface DrawingService::DrawableSurface() const {
  if (current_.context == 0 || current_.buffer == nullptr) return {};
  if (current_.source == Source::Screen &&
      (current_.generation != screenGeneration_ || !screen_.ScreenContextHeld())) {
    return {};  // ScreenPresent gave the context back
  }
  return current_.buffer->View();
}

void DrawingService::DrawString(const std::string& text) {
  if (current_.context == 0 || text.empty()) return;
  const Surface surface = DrawableSurface();
  if (surface.Empty()) return;
  auto* context = reinterpret_cast<TextContext*>(current_.context);
  platform::TextRaster raster = platform_.RasterizeText(text);
  const int left = context->cursorX;
  context->cursorX = left + raster.width;
  auto write = [raster = std::move(raster), left](const Surface& on) {
    // Black text on an opaque white band, the ink's coverage shading the edges.
    std::array<std::uint32_t, 256> shade{};
    for (int coverage = 0; coverage < 256; ++coverage) {
      const int level = 255 - coverage;
      shade[static_cast<size_t>(coverage)] = PackColour(on.depth, level, level, level);
    }
    const int right = std::min(on.width, left + raster.width);
    const int bottom = std::min(on.height, raster.height);
    const int from = std::max(left, 0);
    if (from >= right) return;  // the text starts past the buffer's right edge
    for (int y = 0; y < bottom; ++y) {
      const std::uint8_t* coverage =
          raster.coverage.data() + static_cast<size_t>(y) * static_cast<size_t>(raster.width);
      if (on.depth == 16) {
        WriteShades<std::uint16_t>(on.At(from, y), coverage + (from - left), right - from, shade);
      } else if (on.depth == 32) {
        WriteShades<std::uint32_t>(on.At(from, y), coverage + (from - left), right - from, shade);
      } else {
        for (int x = from; x < right; ++x) on.Set(x, y, shade[coverage[x - left]]);
      }
    }
  };
  if (current_.source == Source::Screen) {
    screen_.PaintBackBuffer(std::move(write));
  } else {
    write(surface);
  }
}

void DrawingService::DrawPixel(int32_t x, int32_t y, int32_t colour) {
  if (current_.context == 0) return;
  const Surface surface = DrawableSurface();
  // Pixels outside the buffer are ignored, never written.
  if (surface.Empty() || !surface.Contains(x, y)) return;
  const auto c = static_cast<std::uint32_t>(colour);
  std::uint32_t value = 0;
  switch (current_.bitsPerPixel) {
    case 32:
      // Red and blue exchanged into the buffer's 0x00RRGGBB order.
      value = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
      break;
    case 16:
      // RGB565 from the top 5, 6 and 5 bits of red, green and blue.
      value = ((c & 0xF8) << 8) | ((c & 0xFC00) >> 5) | ((c & 0xF80000) >> 19);
      break;
    case 8:
      value = c & 0xFF;
      break;
    default:
      // 24 bits: bytes B, G, R of the colour's red, green, blue.
      value = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
      break;
  }
  if (current_.source == Source::Screen) {
    screen_.PaintBackBuffer([x, y, value](const Surface& on) { on.Set(x, y, value); });
  } else {
    surface.Set(x, y, value);
  }
}

void DrawingService::DrawEnd() {
  if (current_.context == 0) return;
  if (current_.release) current_.release();
  current_ = Current{};
}

}  // namespace velko
