// How a finished frame reaches an SDL window. Two ways: through the window's own surface,
// which X shows from shared memory for almost nothing, or through an accelerated renderer,
// which is worth it only where a real GPU draws. Where the renderer would be Mesa's software
// rasteriser, the surface is far cheaper and shows the same picture.
#pragma once

#include <SDL.h>

#include <memory>

#include "platform/platform.h"
#include "platform/sdl/sdl_platform.h"

namespace velko::platform {

class FramePresenter {
 public:
  virtual ~FramePresenter() = default;
  // Shows the frame: 1:1 from the top-left corner, or scaled to fit with its aspect kept for
  // a full screen. False when it could not be shown.
  virtual bool Present(const FrameView& frame) = 0;
  virtual void ShowBlack() = 0;
  // The window's contents were lost: the next frame is shown whole.
  virtual void Invalidate() = 0;
};

std::unique_ptr<FramePresenter> MakeSurfacePresenter(SDL_Window* window, bool fullScreen);

// Takes over `renderer` when given one, or makes its own; null when none can be had.
std::unique_ptr<FramePresenter> MakeRendererPresenter(SDL_Window* window, bool fullScreen,
                                                      SDL_Renderer* renderer);

// True for SDL's software renderer and for OpenGL drawn by Mesa's software rasterisers.
bool RendererIsSoftware(SDL_Renderer* renderer);

// Where the destination of a scaled frame lies: the largest rectangle of the frame's aspect
// centred in the output.
SDL_Rect FitRect(int frameWidth, int frameHeight, int outputWidth, int outputHeight);

}  // namespace velko::platform
