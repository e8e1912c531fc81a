#include "platform/sdl/sdl_present.h"

#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "platform/frame_fitting.h"
#include "platform/sdl/sdl_platform.h"

namespace velko::platform {
namespace {

// Reports a failing call once, then again only after it has worked in between: a failure
// that repeats every frame would otherwise flood stderr.
class FailureOnce {
 public:
  void Failed(const char* call) {
    if (!failing_) ReportSdlFailure(call);
    failing_ = true;
  }
  void Worked() { failing_ = false; }

 private:
  bool failing_ = false;
};

// The layout of one pixel of the window's surface.
struct Packing {
  int bytes = 4;
  int rShift = 16, gShift = 8, bShift = 0;
  int rLoss = 0, gLoss = 0, bLoss = 0;

  static Packing Of(const SDL_PixelFormat& format) {
    return {format.BytesPerPixel, format.Rshift, format.Gshift, format.Bshift,
            format.Rloss,         format.Gloss,  format.Bloss};
  }
  bool operator==(const Packing&) const = default;
};

constexpr Packing kXrgb8888{4, 16, 8, 0, 0, 0, 0};
constexpr Packing kRgb565{2, 11, 5, 0, 3, 2, 3};

// 0xRRGGBB of a frame pixel.
std::uint32_t RgbOf(const std::uint8_t* pixel, int depth) {
  if (depth == 16) {
    std::uint16_t v;
    std::memcpy(&v, pixel, 2);
    return RgbFrom565(v);
  }
  std::uint32_t v;
  std::memcpy(&v, pixel, 4);
  return v & 0xFFFFFF;
}

// One row of a frame in the surface's layout.
void ConvertRow(const std::uint8_t* from, int depth, int width, const Packing& to,
                std::uint8_t* into) {
  if ((depth == 32 && to == kXrgb8888) || (depth == 16 && to == kRgb565)) {
    std::memcpy(into, from, static_cast<size_t>(width) * static_cast<size_t>(to.bytes));
    return;
  }
  const int step = depth / 8;
  for (int x = 0; x < width; ++x) {
    const std::uint32_t rgb = RgbOf(from + static_cast<ptrdiff_t>(x) * step, depth);
    const std::uint32_t value = ((rgb >> 16 & 0xFF) >> to.rLoss) << to.rShift |
                                ((rgb >> 8 & 0xFF) >> to.gLoss) << to.gShift |
                                ((rgb & 0xFF) >> to.bLoss) << to.bShift;
    // Little-endian: the low bytes of the value are the pixel's bytes.
    std::memcpy(into + static_cast<ptrdiff_t>(x) * to.bytes, &value, static_cast<size_t>(to.bytes));
  }
}

// Each destination pixel x takes source pixel sourceX[x]: a copy of a known size per pixel.
template <size_t kBytes>
void ScaleRowOf(const std::uint8_t* from, const std::vector<int>& sourceX, std::uint8_t* into) {
  for (const int x : sourceX) {
    std::memcpy(into, from + static_cast<ptrdiff_t>(x) * static_cast<ptrdiff_t>(kBytes), kBytes);
    into += kBytes;
  }
}

void ScaleRow(const std::uint8_t* from, const std::vector<int>& sourceX, int bytes,
              std::uint8_t* into) {
  switch (bytes) {
    case 2:
      ScaleRowOf<2>(from, sourceX, into);
      break;
    case 3:
      ScaleRowOf<3>(from, sourceX, into);
      break;
    default:
      ScaleRowOf<4>(from, sourceX, into);
      break;
  }
}

// The window's surface, filled by our own copy (with X's shared memory behind it, where X
// has it) and updated only where the frame changed.
class SurfacePresenter final : public FramePresenter {
 public:
  SurfacePresenter(SDL_Window* window, bool fullScreen)
      : window_(window), fullScreen_(fullScreen) {}

  bool Present(const FrameView& frame) override;
  void ShowBlack() override;
  void Invalidate() override { invalid_ = true; }

 private:
  SDL_Surface* Surface();
  // First and last rows that differ from the frame shown last; false when none does.
  bool ChangedRows(const FrameView& frame, int& first, int& last) const;
  void Remember(const FrameView& frame, int first, int last);

  SDL_Window* window_;
  bool fullScreen_;
  bool invalid_ = true;
  FailureOnce surfaceFailure_;
  FailureOnce updateFailure_;
  // The frame as last shown, and the geometry it was shown with.
  std::vector<std::uint8_t> shown_;
  int shownWidth_ = 0, shownHeight_ = 0, shownDepth_ = 0;
  int surfaceWidth_ = 0, surfaceHeight_ = 0;
  Packing packing_;
  std::vector<std::uint8_t> converted_;  // one source row in the surface's layout
  std::vector<std::uint8_t> scaled_;     // that row scaled to the destination width
  std::vector<int> sourceX_;             // the source column of each destination column
};

SDL_Surface* SurfacePresenter::Surface() {
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (surface == nullptr) {
    surfaceFailure_.Failed("SDL_GetWindowSurface");
    return nullptr;
  }
  surfaceFailure_.Worked();
  const Packing packing = Packing::Of(*surface->format);
  if (surface->w != surfaceWidth_ || surface->h != surfaceHeight_ || !(packing == packing_)) {
    surfaceWidth_ = surface->w;
    surfaceHeight_ = surface->h;
    packing_ = packing;
    invalid_ = true;
  }
  return surface;
}

bool SurfacePresenter::ChangedRows(const FrameView& frame, int& first, int& last) const {
  const size_t rowBytes = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.depth / 8);
  auto same = [&](int y) {
    return std::memcmp(static_cast<const std::uint8_t*>(frame.pixels) +
                           static_cast<ptrdiff_t>(y) * frame.pitch,
                       shown_.data() + static_cast<size_t>(y) * rowBytes, rowBytes) == 0;
  };
  first = 0;
  while (first < frame.height && same(first)) ++first;
  if (first == frame.height) return false;
  last = frame.height - 1;
  while (last > first && same(last)) --last;
  return true;
}

void SurfacePresenter::Remember(const FrameView& frame, int first, int last) {
  const size_t rowBytes = static_cast<size_t>(frame.width) * static_cast<size_t>(frame.depth / 8);
  if (shownWidth_ != frame.width || shownHeight_ != frame.height || shownDepth_ != frame.depth) {
    shown_.assign(rowBytes * static_cast<size_t>(frame.height), 0);
    shownWidth_ = frame.width;
    shownHeight_ = frame.height;
    shownDepth_ = frame.depth;
  }
  for (int y = first; y <= last; ++y) {
    std::memcpy(
        shown_.data() + static_cast<size_t>(y) * rowBytes,
        static_cast<const std::uint8_t*>(frame.pixels) + static_cast<ptrdiff_t>(y) * frame.pitch,
        rowBytes);
  }
}

bool SurfacePresenter::Present(const FrameView& frame) {
  SDL_Surface* surface = Surface();
  if (surface == nullptr) return false;
  if (packing_.bytes < 2 || packing_.bytes > 4) {
    surfaceFailure_.Failed("SDL_GetWindowSurface (a pixel format of 8 bits)");
    return false;
  }
  if (frame.width != shownWidth_ || frame.height != shownHeight_ || frame.depth != shownDepth_) {
    invalid_ = true;
  }

  SDL_Rect to{0, 0, frame.width, frame.height};
  if (fullScreen_) to = FitRect(frame.width, frame.height, surface->w, surface->h);
  if (to.w <= 0 || to.h <= 0) return true;

  int first = 0;
  int last = frame.height - 1;
  const bool whole = invalid_;
  if (!whole && !ChangedRows(frame, first, last)) return true;  // nothing new to show

  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) {
    updateFailure_.Failed("SDL_LockSurface");
    return false;
  }
  auto* pixels = static_cast<std::uint8_t*>(surface->pixels);
  const int bytes = packing_.bytes;
  if (whole) SDL_FillRect(surface, nullptr, 0);

  // Destination rows [top, bottom) showing source rows first..last; columns cut to the surface.
  const int left = std::max(to.x, 0);
  const int right = std::min(to.x + to.w, surface->w);
  int top = surface->h;
  int bottom = 0;
  if (right > left) {
    converted_.resize(static_cast<size_t>(frame.width) * static_cast<size_t>(bytes));
    const bool oneToOne = to.w == frame.width && to.h == frame.height;
    if (!oneToOne && static_cast<int>(sourceX_.size()) != to.w) {
      sourceX_.resize(static_cast<size_t>(to.w));
      for (int tx = 0; tx < to.w; ++tx) {
        sourceX_[static_cast<size_t>(tx)] =
            static_cast<int>(static_cast<std::int64_t>(tx) * frame.width / to.w);
      }
    }
    if (!oneToOne) scaled_.resize(static_cast<size_t>(to.w) * static_cast<size_t>(bytes));
    // The destination rows whose source row lies in first..last.
    const int firstRow =
        to.y + static_cast<int>((static_cast<std::int64_t>(first) * to.h + frame.height - 1) /
                                frame.height);
    const int endRow =
        to.y + static_cast<int>((static_cast<std::int64_t>(last + 1) * to.h + frame.height - 1) /
                                frame.height);
    int convertedRow = -1;
    for (int ty = std::max(firstRow, 0); ty < std::min(endRow, surface->h); ++ty) {
      const int sy = static_cast<int>(static_cast<std::int64_t>(ty - to.y) * frame.height / to.h);
      if (sy < first || sy > last) continue;
      if (sy != convertedRow) {
        ConvertRow(static_cast<const std::uint8_t*>(frame.pixels) +
                       static_cast<ptrdiff_t>(sy) * frame.pitch,
                   frame.depth, frame.width, packing_, converted_.data());
        if (!oneToOne) ScaleRow(converted_.data(), sourceX_, bytes, scaled_.data());
        convertedRow = sy;
      }
      const std::uint8_t* row = oneToOne ? converted_.data() : scaled_.data();
      std::memcpy(pixels + static_cast<ptrdiff_t>(ty) * surface->pitch +
                      static_cast<ptrdiff_t>(left) * bytes,
                  row + static_cast<ptrdiff_t>(left - to.x) * bytes,
                  static_cast<size_t>(right - left) * static_cast<size_t>(bytes));
      top = std::min(top, ty);
      bottom = std::max(bottom, ty + 1);
    }
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);

  int updated = 0;
  if (whole) {
    updated = SDL_UpdateWindowSurface(window_);
  } else if (bottom > top) {
    const SDL_Rect band{left, top, right - left, bottom - top};
    updated = SDL_UpdateWindowSurfaceRects(window_, &band, 1);
  }
  if (updated != 0) {
    updateFailure_.Failed("SDL_UpdateWindowSurface");
    return false;
  }
  updateFailure_.Worked();
  invalid_ = false;
  Remember(frame, first, last);
  return true;
}

void SurfacePresenter::ShowBlack() {
  SDL_Surface* surface = Surface();
  if (surface == nullptr) return;
  SDL_FillRect(surface, nullptr, 0);
  if (SDL_UpdateWindowSurface(window_) != 0) updateFailure_.Failed("SDL_UpdateWindowSurface");
  invalid_ = true;
}

struct TextureDeleter {
  void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};
struct RendererDeleter {
  void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
};

// A streaming texture drawn by the renderer: the way where a GPU does the scaling and, in full
// screen, waits for the display. 16-bit frames are widened here as for the surface, so both
// ways show the very same colours.
class RendererPresenter final : public FramePresenter {
 public:
  RendererPresenter(SDL_Renderer* renderer, bool fullScreen)
      : renderer_(renderer), fullScreen_(fullScreen) {}
  ~RendererPresenter() override { texture_.reset(); }

  bool Present(const FrameView& frame) override;
  void ShowBlack() override {
    SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
    SDL_RenderClear(renderer_.get());
    SDL_RenderPresent(renderer_.get());
  }
  void Invalidate() override {}  // every frame is drawn whole

 private:
  std::unique_ptr<SDL_Renderer, RendererDeleter> renderer_;
  std::unique_ptr<SDL_Texture, TextureDeleter> texture_;
  int textureWidth_ = 0, textureHeight_ = 0;
  bool fullScreen_;
  FailureOnce failure_;
  std::vector<std::uint8_t> widened_;  // a 16-bit frame as XRGB8888
};

bool RendererPresenter::Present(const FrameView& frame) {
  if (texture_ == nullptr || textureWidth_ != frame.width || textureHeight_ != frame.height) {
    texture_.reset(SDL_CreateTexture(renderer_.get(), SDL_PIXELFORMAT_RGB888,
                                     SDL_TEXTUREACCESS_STREAMING, frame.width, frame.height));
    if (texture_ == nullptr) {
      failure_.Failed("SDL_CreateTexture");
      return false;
    }
    SDL_SetTextureScaleMode(texture_.get(), SDL_ScaleModeNearest);
    textureWidth_ = frame.width;
    textureHeight_ = frame.height;
  }
  const void* pixels = frame.pixels;
  int pitch = frame.pitch;
  if (frame.depth == 16) {
    const size_t rowBytes = static_cast<size_t>(frame.width) * 4;
    widened_.resize(rowBytes * static_cast<size_t>(frame.height));
    for (int y = 0; y < frame.height; ++y) {
      ConvertRow(
          static_cast<const std::uint8_t*>(frame.pixels) + static_cast<ptrdiff_t>(y) * frame.pitch,
          16, frame.width, kXrgb8888, widened_.data() + static_cast<size_t>(y) * rowBytes);
    }
    pixels = widened_.data();
    pitch = static_cast<int>(rowBytes);
  }
  if (SDL_UpdateTexture(texture_.get(), nullptr, pixels, pitch) != 0) {
    failure_.Failed("SDL_UpdateTexture");
    return false;
  }
  SDL_Rect destination{0, 0, frame.width, frame.height};
  if (fullScreen_) {
    int outputWidth = 0;
    int outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer_.get(), &outputWidth, &outputHeight) == 0) {
      destination = FitRect(frame.width, frame.height, outputWidth, outputHeight);
    } else {
      failure_.Failed("SDL_GetRendererOutputSize");
    }
  }
  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  if (SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &destination) != 0) {
    failure_.Failed("SDL_RenderCopy");
    return false;
  }
  SDL_RenderPresent(renderer_.get());
  failure_.Worked();
  return true;
}

}  // namespace

SDL_Rect FitRect(int frameWidth, int frameHeight, int outputWidth, int outputHeight) {
  const Rect fit = FitWithAspect(frameWidth, frameHeight, outputWidth, outputHeight);
  return {fit.x, fit.y, fit.width, fit.height};
}

std::unique_ptr<FramePresenter> MakeSurfacePresenter(SDL_Window* window, bool fullScreen) {
  return std::make_unique<SurfacePresenter>(window, fullScreen);
}

std::unique_ptr<FramePresenter> MakeRendererPresenter(SDL_Window* window, bool fullScreen,
                                                      SDL_Renderer* renderer) {
  if (renderer == nullptr) {
    // The flip of a full screen waits for the display; a window's copy does not.
    const Uint32 vsync = fullScreen ? SDL_RENDERER_PRESENTVSYNC : 0;
    renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | vsync);
    if (renderer == nullptr) {
      ReportSdlFailure("SDL_CreateRenderer");
      return nullptr;
    }
  }
  return std::make_unique<RendererPresenter>(renderer, fullScreen);
}

bool RendererIsSoftware(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (SDL_GetRendererInfo(renderer, &info) != 0) {
    ReportSdlFailure("SDL_GetRendererInfo");
    return true;
  }
  if ((info.flags & SDL_RENDERER_SOFTWARE) != 0 || std::string_view(info.name) == "software") {
    return true;
  }
  // An OpenGL renderer: its context is current, so the driver can be asked who draws.
  using GetString = const unsigned char* (*)(unsigned int);
  constexpr unsigned int kGlRenderer = 0x1F01;
  const auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString != nullptr ? getString(kGlRenderer) : nullptr;
  if (name == nullptr) return false;
  const std::string_view who(reinterpret_cast<const char*>(name));
  for (const std::string_view software :
       {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
    if (who.find(software) != std::string_view::npos) return true;
  }
  return false;
}

}  // namespace velko::platform
