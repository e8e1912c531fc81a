// The display: the back buffer every frame is composed on, its presentation, the current
// target and the frame cap.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/platform.h"
#include "services/operations.h"
#include "services/screen/frame_composer.h"
#include "services/screen/frame_pacer.h"
#include "services/screen/pixel_buffer.h"

namespace velko {

class WindowService;
class SpriteService;

class ScreenService {
 public:
  ScreenService(platform::Platform& platform, WindowService& windows);
  ~ScreenService();
  ScreenService(const ScreenService&) = delete;
  ScreenService& operator=(const ScreenService&) = delete;
  void AttachSprites(SpriteService& sprites);

  int32_t ScreenStart();
  void ScreenRequestRefresh(int32_t rate);
  int32_t ScreenOpen(int32_t width, int32_t height, int32_t depth, const std::string& title);
  int32_t ScreenOpenInWindow(WindowHandle window, int32_t x, int32_t y, int32_t width,
                             int32_t height, int32_t stretch, int32_t rightMargin,
                             int32_t bottomMargin);
  // The work of ScreenOpenInWindow on a native window the caller keeps alive while the screen
  // is open; null fails as a null handle does.
  int32_t OpenInNativeWindow(platform::NativeWindow* window, int32_t x, int32_t y, int32_t width,
                             int32_t height, int32_t stretch, int32_t rightMargin,
                             int32_t bottomMargin);
  int32_t ScreenFrameCap(int32_t framesPerSecond);
  SurfaceHandle ScreenSelectTarget(int32_t number);
  void ScreenFill(int32_t red, int32_t green, int32_t blue);
  SurfaceHandle ScreenPresent();
  void ScreenClose();
  void ScreenStop();

  // For the sprite, drawing and rotated-sprite services.
  bool Started() const { return started_; }
  bool IsOpen() const { return backBuffer_ != nullptr; }
  bool Windowed() const { return windowed_; }
  bool Active() const { return active_; }
  int32_t Depth() const { return depth_; }
  int32_t ScreenWidth() const { return screenWidth_; }
  int32_t ScreenHeight() const { return screenHeight_; }
  int32_t TargetWidth() const { return targetWidth_; }
  int32_t TargetHeight() const { return targetHeight_; }
  int32_t MonitorFrequency() const { return monitorFrequency_; }
  bool CapSetByWindow() const { return capSetByWindow_; }
  const FramePacer& Pacer() const { return pacer_; }
  // The current target and the back buffer, their pixels finished for reading; null while no
  // screen is open.
  const std::shared_ptr<PixelBuffer>& Target();
  const std::shared_ptr<PixelBuffer>& BackBuffer();
  // The back buffer as it stands, some of its drawing possibly still kept back.
  const std::shared_ptr<PixelBuffer>& BackBufferMemory() const { return backBuffer_; }
  // Drawing on the target or the back buffer goes through these, so that the back buffer's
  // fill can be kept back (see FrameComposer).
  void CopyToTarget(const std::shared_ptr<PixelBuffer>& source, PixelRect from, int32_t x,
                    int32_t y);
  void PaintBackBuffer(FrameComposer::Paint paint);
  void FinishBackBuffer() { composer_.Finish(); }
  // True while the presented frames go unseen and the back buffer is composed only when read.
  bool RecordingFrames() const { return composer_.Recording(); }
  // The back buffer's text context, held by a screen drawing target until given back.
  bool HoldScreenContext();
  void ReleaseScreenContext() { screenContextHeld_ = false; }
  bool ScreenContextHeld() const { return screenContextHeld_; }

 private:
  platform::NativeWindow* PresentWindow();
  void PresentWindowed(platform::NativeWindow& window);
  void UpdateActiveFromFocus();

  platform::Platform& platform_;
  WindowService& windows_;
  SpriteService* sprites_ = nullptr;
  FramePacer pacer_;

  bool started_ = false;
  // The full-screen window belongs to the screen; a windowed screen borrows its window.
  std::unique_ptr<platform::NativeWindow> ownWindow_;
  platform::NativeWindow* borrowedWindow_ = nullptr;
  WindowHandle borrowedHandle_ = 0;
  std::shared_ptr<PixelBuffer> backBuffer_;
  FrameComposer composer_;
  std::shared_ptr<PixelBuffer> target_;
  std::shared_ptr<PixelBuffer> stretchFrame_;  // the client area of a non-1:1 windowed present
  bool windowed_ = false;
  bool active_ = false;
  int32_t screenWidth_ = 0;
  int32_t screenHeight_ = 0;
  int32_t depth_ = 0;
  int32_t targetWidth_ = 0;
  int32_t targetHeight_ = 0;
  int32_t refreshRate_ = 0;
  int32_t monitorFrequency_ = 0;
  bool capSetByWindow_ = false;
  int32_t offsetX_ = 0;
  int32_t offsetY_ = 0;
  bool stretch_ = false;
  int32_t rightMargin_ = 0;
  int32_t bottomMargin_ = 0;
  bool screenContextHeld_ = false;
};

}  // namespace velko
