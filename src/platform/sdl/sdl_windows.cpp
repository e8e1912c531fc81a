// Native windows over SDL: each one shows finished frames through one streaming texture of
// the frame's own pixel format, made at the first presentation and kept while the size and
// format stay. A window's Id is its SDL window id, as SDL's events carry it.
#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/sdl/sdl_platform.h"

namespace velko::platform {
namespace {

struct WindowDeleter {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
struct RendererDeleter {
  void operator()(SDL_Renderer* renderer) const { SDL_DestroyRenderer(renderer); }
};
struct TextureDeleter {
  void operator()(SDL_Texture* texture) const { SDL_DestroyTexture(texture); }
};
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;
using RendererPtr = std::unique_ptr<SDL_Renderer, RendererDeleter>;
using TexturePtr = std::unique_ptr<SDL_Texture, TextureDeleter>;

// The frame a captioned window adds, learnt from the last one shown; none until then (as
// under a display without a window manager).
FrameInsets learntInsets;

bool HasInputFocus(SDL_Window* window) {
  return (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

Uint32 TextureFormatFor(int depth) {
  return depth == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
}

class SdlWindow final : public NativeWindow {
 public:
  SdlWindow(WindowPtr window, bool fullScreen, int refreshRate, bool caption)
      : window_(std::move(window)),
        fullScreen_(fullScreen),
        refreshRate_(refreshRate),
        caption_(caption) {
    if (fullScreen_) SDL_ShowCursor(SDL_DISABLE);
  }
  ~SdlWindow() override {
    texture_.reset();
    renderer_.reset();
    window_.reset();
    if (fullScreen_) SDL_ShowCursor(SDL_ENABLE);
  }

  std::uint32_t Id() const override { return SDL_GetWindowID(window_.get()); }
  void SetTitle(std::string_view titleCp1252) override {
    SDL_SetWindowTitle(window_.get(), Utf8FromCp1252(titleCp1252).c_str());
  }
  void SetVisible(bool visible) override {
    if (visible) {
      SDL_ShowWindow(window_.get());
      LearnInsets();
    } else {
      SDL_HideWindow(window_.get());
    }
  }
  void Raise() override { SDL_RaiseWindow(window_.get()); }
  Rect ClientRect() const override {
    Rect rect;
    SDL_GetWindowPosition(window_.get(), &rect.x, &rect.y);
    SDL_GetWindowSize(window_.get(), &rect.width, &rect.height);
    return rect;
  }
  FrameInsets Insets() const override {
    if (!caption_ || fullScreen_) return {};
    FrameInsets insets;
    if (SDL_GetWindowBordersSize(window_.get(), &insets.top, &insets.left, &insets.bottom,
                                 &insets.right) != 0) {
      return learntInsets;
    }
    return insets;
  }
  void Present(const FrameView& frame) override;
  bool HasFocus() const override {
    // Focus changes arrive as events: take in what is pending (it stays queued for the event
    // reader).
    SDL_PumpEvents();
    return HasInputFocus(window_.get());
  }
  int RefreshRate() const override { return refreshRate_; }

  // Clears the window to black at once, as a fresh screen shows.
  void ShowBlack() {
    if (!EnsureRenderer()) return;
    SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
    SDL_RenderClear(renderer_.get());
    SDL_RenderPresent(renderer_.get());
  }

 private:
  bool EnsureRenderer() {
    if (renderer_ != nullptr) return true;
    // The flip of a full screen waits for the display; a window's copy does not.
    const Uint32 vsync = fullScreen_ ? SDL_RENDERER_PRESENTVSYNC : 0;
    renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_ACCELERATED | vsync));
    if (renderer_ == nullptr) {
      renderer_.reset(SDL_CreateRenderer(window_.get(), -1, SDL_RENDERER_SOFTWARE));
    }
    return renderer_ != nullptr;
  }
  void LearnInsets() {
    if (!caption_ || fullScreen_) return;
    FrameInsets insets;
    if (SDL_GetWindowBordersSize(window_.get(), &insets.top, &insets.left, &insets.bottom,
                                 &insets.right) == 0) {
      learntInsets = insets;
    }
  }

  WindowPtr window_;
  RendererPtr renderer_;
  TexturePtr texture_;
  int textureWidth_ = 0;
  int textureHeight_ = 0;
  int textureDepth_ = 0;
  bool fullScreen_;
  int refreshRate_;
  bool caption_;
};

void SdlWindow::Present(const FrameView& frame) {
  if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) return;
  if (frame.depth != 16 && frame.depth != 32) return;
  if (!EnsureRenderer()) return;
  if (texture_ == nullptr || textureWidth_ != frame.width || textureHeight_ != frame.height ||
      textureDepth_ != frame.depth) {
    texture_.reset(SDL_CreateTexture(renderer_.get(), TextureFormatFor(frame.depth),
                                     SDL_TEXTUREACCESS_STREAMING, frame.width, frame.height));
    if (texture_ == nullptr) return;
    SDL_SetTextureScaleMode(texture_.get(), SDL_ScaleModeNearest);
    textureWidth_ = frame.width;
    textureHeight_ = frame.height;
    textureDepth_ = frame.depth;
  }
  if (SDL_UpdateTexture(texture_.get(), nullptr, frame.pixels, frame.pitch) != 0) return;
  SDL_Rect destination{0, 0, frame.width, frame.height};
  if (fullScreen_) {
    // Scaled to fit the display, aspect kept, centred.
    int outputWidth = 0;
    int outputHeight = 0;
    if (SDL_GetRendererOutputSize(renderer_.get(), &outputWidth, &outputHeight) == 0 &&
        outputWidth > 0 && outputHeight > 0) {
      const double scale = std::min(static_cast<double>(outputWidth) / frame.width,
                                    static_cast<double>(outputHeight) / frame.height);
      destination.w = static_cast<int>(frame.width * scale);
      destination.h = static_cast<int>(frame.height * scale);
      destination.x = (outputWidth - destination.w) / 2;
      destination.y = (outputHeight - destination.h) / 2;
    }
  }
  SDL_SetRenderDrawColor(renderer_.get(), 0, 0, 0, 255);
  SDL_RenderClear(renderer_.get());
  SDL_RenderCopy(renderer_.get(), texture_.get(), nullptr, &destination);
  SDL_RenderPresent(renderer_.get());
}

}  // namespace

bool SdlPlatform::VideoAvailable() {
  if (!EnsureVideo()) return false;
  // Without a display SDL falls back to a driver that shows nothing; unless asked for by
  // name, that is no display for the player.
  const char* driver = SDL_GetCurrentVideoDriver();
  const bool invisible = driver != nullptr &&
                         (SDL_strcmp(driver, "offscreen") == 0 || SDL_strcmp(driver, "dummy") == 0);
  return !invisible || SDL_getenv("SDL_VIDEODRIVER") != nullptr;
}

FrameInsets SdlPlatform::InsetsFor(const WindowRequest& request) {
  if (!request.caption) return {};
  return learntInsets;
}

std::unique_ptr<NativeWindow> SdlPlatform::CreateWindow(const WindowRequest& request) {
  if (!EnsureVideo()) return nullptr;
  const FrameInsets insets = InsetsFor(request);
  int x = request.x;
  int y = request.y;
  if (request.centred) {
    const DesktopInfo desktop = Desktop();
    const int outerWidth = request.clientWidth + insets.left + insets.right;
    const int outerHeight = request.clientHeight + insets.top + insets.bottom;
    x = (desktop.width >> 1) - (outerWidth >> 1);
    y = (desktop.height >> 1) - (outerHeight >> 1);
  }
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (!request.caption) flags |= SDL_WINDOW_BORDERLESS;
  WindowPtr window(SDL_CreateWindow(Utf8FromCp1252(request.title).c_str(), x + insets.left,
                                    y + insets.top, std::max(request.clientWidth, 1),
                                    std::max(request.clientHeight, 1), flags));
  if (window == nullptr) {
    ReportSdlFailure("SDL_CreateWindow");
    return nullptr;
  }
  auto native = std::make_unique<SdlWindow>(std::move(window), false, 0, request.caption);
  if (request.visible) native->SetVisible(true);
  return native;
}

std::unique_ptr<NativeWindow> SdlPlatform::CreateFullScreen(const DisplayMode& mode,
                                                            std::string_view titleCp1252) {
  if (!EnsureVideo() || mode.width <= 0 || mode.height <= 0) return nullptr;
  // A real mode of that size (and refresh rate, when one is asked for) if the display has
  // one; otherwise the desktop's own mode with the picture scaled to fit. A refresh rate that
  // neither offers cannot be had: the screen does not open.
  SDL_DisplayMode chosen{};
  bool found = false;
  const int modes = SDL_GetNumDisplayModes(0);
  if (modes < 0) ReportSdlFailure("SDL_GetNumDisplayModes");
  for (int i = 0; i < modes && !found; ++i) {
    SDL_DisplayMode candidate{};
    if (SDL_GetDisplayMode(0, i, &candidate) != 0) {
      ReportSdlFailure("SDL_GetDisplayMode");
      continue;
    }
    if (candidate.w == mode.width && candidate.h == mode.height &&
        (mode.refreshRate == 0 || candidate.refresh_rate == mode.refreshRate)) {
      chosen = candidate;
      found = true;
    }
  }
  // Made borderless over the whole display from the start, so that it covers the screen even
  // where no window manager applies the full-screen state.
  SDL_DisplayMode desktop{};
  if (SDL_GetDesktopDisplayMode(0, &desktop) != 0) {
    ReportSdlFailure("SDL_GetDesktopDisplayMode");
    desktop = {0, mode.width, mode.height, 0, nullptr};
  }
  if (!found && mode.refreshRate != 0 && desktop.refresh_rate != mode.refreshRate) {
    std::fprintf(stderr, "velko: the display offers no mode at %d Hz\n", mode.refreshRate);
    return nullptr;
  }
  const int width = found ? chosen.w : desktop.w;
  const int height = found ? chosen.h : desktop.h;
  WindowPtr window(SDL_CreateWindow(Utf8FromCp1252(titleCp1252).c_str(), 0, 0, width, height,
                                    SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS));
  if (window == nullptr) {
    ReportSdlFailure("SDL_CreateWindow");
    return nullptr;
  }
  bool fullScreen = false;
  if (found) {
    if (SDL_SetWindowDisplayMode(window.get(), &chosen) != 0) {
      ReportSdlFailure("SDL_SetWindowDisplayMode");
    } else if (SDL_SetWindowFullscreen(window.get(), SDL_WINDOW_FULLSCREEN) != 0) {
      ReportSdlFailure("SDL_SetWindowFullscreen(SDL_WINDOW_FULLSCREEN)");
    } else {
      fullScreen = true;
    }
  }
  if (!fullScreen) {
    fullScreen = SDL_SetWindowFullscreen(window.get(), SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
    if (!fullScreen) {
      ReportSdlFailure("SDL_SetWindowFullscreen(SDL_WINDOW_FULLSCREEN_DESKTOP)");
      return nullptr;
    }
  }
  SDL_ShowWindow(window.get());
  SDL_RaiseWindow(window.get());
  // A screen shown full screen is active at once: give the display a moment to hand it the
  // focus, and take it where nothing hands it over (no window manager, the dialog that had it
  // gone).
  for (int i = 0; i < 60 && !HasInputFocus(window.get()); ++i) {
    if (i == 10) SDL_SetWindowInputFocus(window.get());
    SDL_PumpEvents();
    SDL_Delay(2);
  }
  SDL_DisplayMode current{};
  int refreshRate = 0;
  if (SDL_GetWindowDisplayMode(window.get(), &current) == 0) {
    refreshRate = current.refresh_rate;
  } else {
    ReportSdlFailure("SDL_GetWindowDisplayMode");
  }
  auto native = std::make_unique<SdlWindow>(std::move(window), true, refreshRate, false);
  native->ShowBlack();
  return native;
}

}  // namespace velko::platform
