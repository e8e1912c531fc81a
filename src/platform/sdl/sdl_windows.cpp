// Native windows over SDL. Each shows finished frames through a presenter (sdl_present.h),
// chosen once for the run at the first frame shown. A window's Id is its SDL window id, as
// SDL's events carry it.
#include <SDL.h>
#include <time.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "platform/sdl/sdl_frame_stats.h"
#include "platform/sdl/sdl_platform.h"
#include "platform/sdl/sdl_present.h"

namespace velko::platform {
namespace {

struct WindowDeleter {
  void operator()(SDL_Window* window) const { SDL_DestroyWindow(window); }
};
using WindowPtr = std::unique_ptr<SDL_Window, WindowDeleter>;

// The SDL window's link back to ours, for the events that concern it.
constexpr const char* kWindowData = "velko.window";

// The frame a captioned window adds, learnt from the last one shown; none until then (as
// under a display without a window manager).
FrameInsets learntInsets;

bool HasInputFocus(SDL_Window* window) {
  return (SDL_GetWindowFlags(window) & SDL_WINDOW_INPUT_FOCUS) != 0;
}

std::int64_t MonotonicNanoseconds() {
  timespec now{};
  ::clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// The way frames are shown, for the whole run. VELKO_PRESENT=surface or =renderer forces one
// (for tests); otherwise a machine without a render node has no GPU, and elsewhere the
// renderer is asked who draws it. The renderer made for asking is handed back when it is kept.
PresentPath DecidePresentPath(SDL_Window* window, bool fullScreen, SDL_Renderer*& made) {
  made = nullptr;
  if (const char* forced = std::getenv("VELKO_PRESENT")) {
    const std::string_view choice(forced);
    if (choice == "surface") return PresentPath::Surface;
    if (choice == "renderer") return PresentPath::Renderer;
  }
  bool renderNode = false;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", error)) {
    if (entry.path().filename().string().rfind("renderD", 0) == 0) renderNode = true;
  }
  // Asking would start Mesa's software OpenGL: a third of a second for nothing.
  if (!renderNode) return PresentPath::Surface;
  const Uint32 vsync = fullScreen ? SDL_RENDERER_PRESENTVSYNC : 0;
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED | vsync);
  if (renderer == nullptr) return PresentPath::Surface;
  if (RendererIsSoftware(renderer)) {
    SDL_DestroyRenderer(renderer);
    return PresentPath::Surface;
  }
  made = renderer;
  return PresentPath::Renderer;
}

class SdlWindow final : public NativeWindow {
 public:
  SdlWindow(SdlPlatform& platform, WindowPtr window, bool fullScreen, int refreshRate, bool caption)
      : platform_(platform),
        window_(std::move(window)),
        fullScreen_(fullScreen),
        refreshRate_(refreshRate),
        caption_(caption) {
    SDL_SetWindowData(window_.get(), kWindowData, this);
    if (fullScreen_) SDL_ShowCursor(SDL_DISABLE);
  }
  ~SdlWindow() override {
    platform_.Stats().WindowClosed(showedOwnFrames_);
    presenter_.reset();
    SDL_SetWindowData(window_.get(), kWindowData, nullptr);
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
    if (Presenter() != nullptr) presenter_->ShowBlack();
  }
  void Invalidate() {
    if (presenter_ != nullptr) presenter_->Invalidate();
  }

 private:
  FramePresenter* Presenter();
  // A full screen shown through the window's surface has no flip to wait for the display:
  // each frame waits here for the refresh after the one that showed the frame before.
  void WaitForRefresh();
  void LearnInsets() {
    if (!caption_ || fullScreen_) return;
    FrameInsets insets;
    if (SDL_GetWindowBordersSize(window_.get(), &insets.top, &insets.left, &insets.bottom,
                                 &insets.right) == 0) {
      learntInsets = insets;
    }
  }

  SdlPlatform& platform_;
  WindowPtr window_;
  std::unique_ptr<FramePresenter> presenter_;
  bool fullScreen_;
  int refreshRate_;
  bool caption_;
  bool showedOwnFrames_ = false;
  std::int64_t nextRefresh_ = 0;  // monotonic nanoseconds
};

FramePresenter* SdlWindow::Presenter() {
  if (presenter_ != nullptr) return presenter_.get();
  SDL_Renderer* renderer = nullptr;
  if (platform_.ChosenPresentPath() == PresentPath::Undecided) {
    platform_.ChoosePresentPath(DecidePresentPath(window_.get(), fullScreen_, renderer));
  }
  if (platform_.ChosenPresentPath() == PresentPath::Renderer) {
    presenter_ = MakeRendererPresenter(window_.get(), fullScreen_, renderer);
  }
  if (presenter_ == nullptr) presenter_ = MakeSurfacePresenter(window_.get(), fullScreen_);
  return presenter_.get();
}

void SdlWindow::Present(const FrameView& frame) {
  if (frame.pixels == nullptr || frame.width <= 0 || frame.height <= 0) return;
  if (frame.depth != 16 && frame.depth != 32) return;
  FramePresenter* presenter = Presenter();
  if (presenter == nullptr) return;
  if (fullScreen_ && platform_.ChosenPresentPath() != PresentPath::Renderer) WaitForRefresh();
  if (!presenter->Present(frame)) return;
  if (!frame.screenFrame) showedOwnFrames_ = true;
  platform_.Stats().FrameShown(frame.screenFrame);
}

void SdlWindow::WaitForRefresh() {
  const std::int64_t period = 1'000'000'000 / (refreshRate_ > 0 ? refreshRate_ : 60);
  const std::int64_t now = MonotonicNanoseconds();
  // The refreshes tick on evenly from the first frame, which is shown at once, as is a frame
  // after a long one (a loading): it starts the ticks again.
  if (nextRefresh_ == 0 || now - nextRefresh_ > period) {
    nextRefresh_ = now + period;
    return;
  }
  const timespec until{static_cast<time_t>(nextRefresh_ / 1'000'000'000),
                       static_cast<long>(nextRefresh_ % 1'000'000'000)};
  while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr) == EINTR) {
  }
  nextRefresh_ += period;
}

}  // namespace

void InvalidateShownFrame(std::uint32_t windowId) {
  SDL_Window* window = SDL_GetWindowFromID(windowId);
  if (window == nullptr) return;
  if (auto* ours = static_cast<SdlWindow*>(SDL_GetWindowData(window, kWindowData))) {
    ours->Invalidate();
  }
}

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
  const int x = request.x;
  const int y = request.y;
  Uint32 flags = SDL_WINDOW_HIDDEN;
  if (!request.caption) flags |= SDL_WINDOW_BORDERLESS;
  WindowPtr window(SDL_CreateWindow(Utf8FromCp1252(request.title).c_str(), x + insets.left,
                                    y + insets.top, std::max(request.clientWidth, 1),
                                    std::max(request.clientHeight, 1), flags));
  if (window == nullptr) {
    ReportSdlFailure("SDL_CreateWindow");
    return nullptr;
  }
  auto native = std::make_unique<SdlWindow>(*this, std::move(window), false, 0, request.caption);
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
  // With no window manager, the borderless window over the whole display is the full screen
  // already, and asking for the state would only make SDL wait for a manager that never
  // answers (a tenth of a second before the first frame).
  if (!fullScreen && !WindowManagerRunning(window.get())) fullScreen = true;
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
  auto native = std::make_unique<SdlWindow>(*this, std::move(window), true, refreshRate, false);
  native->ShowBlack();
  return native;
}

}  // namespace velko::platform
