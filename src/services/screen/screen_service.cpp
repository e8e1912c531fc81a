#include "services/screen/screen_service.h"

#include "services/screen/pixel_ops.h"
#include "services/sprites/sprite_service.h"
#include "services/windows/window_service.h"

namespace velko {
namespace {

SurfaceHandle HandleOf(const std::shared_ptr<PixelBuffer>& buffer) {
  return reinterpret_cast<SurfaceHandle>(buffer.get());
}

// The display layer beneath works in RGB565 or XRGB8888 only.
bool DepthSupported(int32_t depth) {
  return depth == 16 || depth == 32;
}

}  // namespace

ScreenService::ScreenService(platform::Platform& platform, WindowService& windows)
    : platform_(platform), windows_(windows), pacer_(platform) {}

ScreenService::~ScreenService() = default;

void ScreenService::AttachSprites(SpriteService& sprites) {
  sprites_ = &sprites;
}

int32_t ScreenService::ScreenStart() {
  if (sprites_ != nullptr) sprites_->Reset();
  pacer_.Reset();
  capSetByWindow_ = false;
  refreshRate_ = 0;
  screenContextHeld_ = false;
  if (started_) return 1;
  // No display at all: the game reports that its display layer is missing.
  if (!platform_.VideoAvailable()) return 0;
  started_ = true;
  return 1;
}

void ScreenService::ScreenRequestRefresh(int32_t rate) {
  refreshRate_ = rate;
}

int32_t ScreenService::ScreenOpen(int32_t width, int32_t height, int32_t depth,
                                  const std::string& title) {
  width = static_cast<int16_t>(width);
  height = static_cast<int16_t>(height);
  depth = static_cast<int16_t>(depth);
  // Opening again starts from a closed screen.
  if (IsOpen()) ScreenClose();
  screenWidth_ = targetWidth_ = width;
  screenHeight_ = targetHeight_ = height;
  depth_ = depth;
  if (!started_ || !DepthSupported(depth) || !PixelBuffer::SizeAllowed(width, height)) {
    ScreenClose();
    return 0;
  }
  ownWindow_ = platform_.CreateFullScreen({width, height, depth, refreshRate_}, title);
  auto back = std::make_shared<PixelBuffer>(width, height, depth);
  if (ownWindow_ == nullptr || !back->Valid()) {
    ScreenClose();
    return 0;
  }
  windowed_ = false;
  backBuffer_ = std::move(back);
  composer_.Attach(backBuffer_, !platform_.PresentedFramesSeen());
  target_ = backBuffer_;
  monitorFrequency_ = ownWindow_->RefreshRate();
  UpdateActiveFromFocus();
  return 1;
}

int32_t ScreenService::ScreenOpenInWindow(WindowHandle window, int32_t x, int32_t y, int32_t width,
                                          int32_t height, int32_t stretch, int32_t rightMargin,
                                          int32_t bottomMargin) {
  platform::NativeWindow* native = window != 0 ? windows_.NativeFor(window) : nullptr;
  const int32_t result =
      OpenInNativeWindow(native, x, y, width, height, stretch, rightMargin, bottomMargin);
  // Looked up again at each presentation, so a window closed meanwhile is never touched.
  if (result != 0) borrowedHandle_ = window;
  return result;
}

int32_t ScreenService::OpenInNativeWindow(platform::NativeWindow* window, int32_t x, int32_t y,
                                          int32_t width, int32_t height, int32_t stretch,
                                          int32_t rightMargin, int32_t bottomMargin) {
  if (IsOpen()) ScreenClose();
  windowed_ = true;
  if (window == nullptr || !started_) {
    ScreenClose();
    return 0;
  }
  screenWidth_ = targetWidth_ = width;
  screenHeight_ = targetHeight_ = height;
  depth_ = platform_.Desktop().depth <= 16 ? 16 : 32;
  if (pacer_.FrameCap() == 0) {
    ScreenFrameCap(60);
    capSetByWindow_ = true;
  } else {
    capSetByWindow_ = false;
  }
  auto back = std::make_shared<PixelBuffer>(width, height, depth_);
  if (!back->Valid()) {
    ScreenClose();
    return 0;
  }
  borrowedWindow_ = window;
  borrowedHandle_ = 0;
  backBuffer_ = std::move(back);
  composer_.Attach(backBuffer_, !platform_.PresentedFramesSeen());
  target_ = backBuffer_;
  window->SetVisible(true);
  // Where the frame goes relative to the window's outer top-left corner.
  const platform::FrameInsets insets = window->Insets();
  offsetX_ = x + insets.left;
  offsetY_ = y + insets.top;
  stretch_ = stretch != 0;
  rightMargin_ = rightMargin;
  bottomMargin_ = bottomMargin;
  active_ = true;
  return 1;
}

int32_t ScreenService::ScreenFrameCap(int32_t framesPerSecond) {
  if (pacer_.SetCap(framesPerSecond) == 0) return 0;
  capSetByWindow_ = false;
  return 1;
}

SurfaceHandle ScreenService::ScreenSelectTarget(int32_t number) {
  if (number == -1) {
    target_ = backBuffer_;
    targetWidth_ = screenWidth_;
    targetHeight_ = screenHeight_;
  } else if (sprites_ != nullptr) {
    // Drawing on a sprite may change a picture a recorded frame still copies from.
    composer_.Finish();
    int32_t clipWidth = 0;
    int32_t clipHeight = 0;
    std::shared_ptr<PixelBuffer> surface = sprites_->TargetSurface(number, clipWidth, clipHeight);
    if (surface != nullptr) {
      target_ = std::move(surface);
      targetWidth_ = clipWidth;
      targetHeight_ = clipHeight;
    }
  }
  return HandleOf(target_);
}

void ScreenService::ScreenFill(int32_t red, int32_t green, int32_t blue) {
  if (target_ == nullptr) return;
  const std::uint32_t value = PackColour(depth_, red, green, blue);
  if (target_ != backBuffer_) {
    FillSurface(target_->View(), value);
    return;
  }
  composer_.Fill(value);
  // A held screen context may write the pixels directly: they must stand as drawn.
  if (screenContextHeld_ && !composer_.Recording()) composer_.Finish();
}

const std::shared_ptr<PixelBuffer>& ScreenService::Target() {
  if (target_ == backBuffer_) composer_.Finish();
  return target_;
}

const std::shared_ptr<PixelBuffer>& ScreenService::BackBuffer() {
  composer_.Finish();
  return backBuffer_;
}

void ScreenService::CopyToTarget(const std::shared_ptr<PixelBuffer>& source, PixelRect from,
                                 int32_t x, int32_t y) {
  if (target_ == nullptr || source == nullptr) return;
  if (target_ == backBuffer_) {
    composer_.Copy(source, from, x, y);
  } else {
    CopyRect(target_->View(), x, y, source->View(), from);
  }
}

void ScreenService::PaintBackBuffer(FrameComposer::Paint paint) {
  composer_.Draw(std::move(paint));
}

bool ScreenService::HoldScreenContext() {
  if (screenContextHeld_ || backBuffer_ == nullptr) return false;
  screenContextHeld_ = true;
  return true;
}

platform::NativeWindow* ScreenService::PresentWindow() {
  if (!windowed_) return ownWindow_.get();
  if (borrowedHandle_ != 0) return windows_.NativeFor(borrowedHandle_);
  return borrowedWindow_;
}

void ScreenService::UpdateActiveFromFocus() {
  // Full screen follows the activation of its window; windowed stays active.
  if (windowed_ || ownWindow_ == nullptr) return;
  active_ = ownWindow_->HasFocus();
}

void ScreenService::PresentWindowed(platform::NativeWindow& window) {
  const platform::FrameInsets insets = window.Insets();
  const platform::Rect client = window.ClientRect();
  // The frame's rectangle in client coordinates.
  PixelRect destination{offsetX_ - insets.left, offsetY_ - insets.top, targetWidth_, targetHeight_};
  if (stretch_) {
    destination.width = client.width + insets.right - rightMargin_ - destination.x;
    destination.height = client.height + insets.bottom - bottomMargin_ - destination.y;
  }
  Surface back = backBuffer_->View();
  platform::FrameView frame{back.pixels, back.pitch, back.width, back.height, back.depth, true};
  const bool oneToOne = destination.x == 0 && destination.y == 0 &&
                        destination.width == back.width && destination.height == back.height;
  if (!oneToOne) {
    if (client.width <= 0 || client.height <= 0) return;
    if (stretchFrame_ == nullptr || stretchFrame_->Width() != client.width ||
        stretchFrame_->Height() != client.height || stretchFrame_->Depth() != depth_) {
      stretchFrame_ = std::make_shared<PixelBuffer>(client.width, client.height, depth_);
      if (!stretchFrame_->Valid()) {
        stretchFrame_.reset();
        return;
      }
    }
    Surface staging = stretchFrame_->View();
    FillSurface(staging, 0);
    ScaleCopy(staging, destination, back);
    frame = {staging.pixels, staging.pitch, staging.width, staging.height, staging.depth, true};
  }
  window.Present(frame);
}

SurfaceHandle ScreenService::ScreenPresent() {
  // A screen text context still held is given back, so a frame can always be presented.
  ReleaseScreenContext();
  ScreenSelectTarget(-1);
  if (backBuffer_ == nullptr) return HandleOf(target_);
  // A frame nobody will see need not be composed; it still is, later, if it is read.
  if (!composer_.Recording()) composer_.Finish();
  // With the requested refresh rate in force, the flip's wait paces full screen by itself.
  // The cap waits before the frame is shown, so that the presentations themselves come
  // evenly, however long each frame took to compose.
  if (pacer_.FrameCap() != 0 && (windowed_ || refreshRate_ != monitorFrequency_)) pacer_.Wait();
  if (windowed_) {
    if (platform::NativeWindow* window = PresentWindow()) PresentWindowed(*window);
  } else {
    UpdateActiveFromFocus();
    if (active_ && ownWindow_ != nullptr) {
      Surface back = backBuffer_->View();
      ownWindow_->Present({back.pixels, back.pitch, back.width, back.height, back.depth, true});
    }
  }
  target_ = backBuffer_;
  return HandleOf(target_);
}

void ScreenService::ScreenClose() {
  if (sprites_ != nullptr) sprites_->SpriteFreeAll();
  target_.reset();
  composer_.Detach();
  backBuffer_.reset();
  stretchFrame_.reset();
  ownWindow_.reset();
  borrowedWindow_ = nullptr;
  borrowedHandle_ = 0;
  windowed_ = false;
  screenContextHeld_ = false;
}

void ScreenService::ScreenStop() {
  ScreenClose();
}

}  // namespace velko
