// The back buffer's drawing, written as late as it may be. A fill is kept back and written
// only where no opaque copy has covered it by the time the pixels are needed, so a frame of
// tiles writes each pixel once. While nobody looks at the presented frames (velko-sim), all
// drawing is recorded instead, and the frame is composed only if its pixels are read.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "services/screen/pixel_buffer.h"
#include "services/screen/pixel_ops.h"

namespace velko {

class FrameComposer {
 public:
  // Drawing that reads the pixels beneath it or leaves some of them: it runs on a finished
  // picture of everything drawn before it.
  using Paint = std::function<void(const Surface&)>;

  // Draws on `buffer` from now on; `record` keeps all drawing back until Finish.
  void Attach(std::shared_ptr<PixelBuffer> buffer, bool record);
  void Detach();
  bool Recording() const { return record_; }

  // The whole buffer in one pixel value: whatever was drawn before no longer matters.
  void Fill(std::uint32_t value);
  // An opaque copy of `from` (a rectangle of `source`, a buffer other than this one) to (x, y).
  void Copy(const std::shared_ptr<PixelBuffer>& source, PixelRect from, int x, int y);
  void Draw(Paint paint);
  // Writes everything kept back: the buffer then holds the finished picture.
  void Finish();

 private:
  // A copy of `source`, or, without one, the paint.
  struct Step {
    std::shared_ptr<PixelBuffer> source;
    PixelRect from;
    int x = 0;
    int y = 0;
    Paint paint;
  };

  void RunCopy(PixelBuffer& source, PixelRect from, int x, int y);
  void RunPaint(const Paint& paint);
  void Cover(PixelRect written);
  // Writes the kept-back fill on every pixel no copy covered since.
  void WriteFill();

  std::shared_ptr<PixelBuffer> buffer_;
  bool record_ = false;
  std::optional<std::uint32_t> fill_;
  // What the copies since the fill covered; neighbours of one row or column merge as they come.
  std::vector<PixelRect> covered_;
  std::vector<Step> steps_;
  std::vector<int> bandEdges_;
  std::vector<std::pair<int, int>> spans_;
};

}  // namespace velko
