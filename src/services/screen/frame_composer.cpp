#include "services/screen/frame_composer.h"

#include <algorithm>

namespace velko {
namespace {

// Bounds on what is kept back for a game that never fills: past them the work is done at once.
constexpr size_t kMaxCovered = 4096;
constexpr size_t kMaxSteps = 8192;

bool Touch(int from, int length, int otherFrom, int otherLength) {
  return from <= otherFrom + otherLength && otherFrom <= from + length;
}

// Makes `into` the union of itself and `other`, two rectangles that share one axis' extent.
void Join(PixelRect& into, const PixelRect& other, bool across) {
  if (across) {
    const int right = std::max(into.x + into.width, other.x + other.width);
    into.x = std::min(into.x, other.x);
    into.width = right - into.x;
  } else {
    const int bottom = std::max(into.y + into.height, other.y + other.height);
    into.y = std::min(into.y, other.y);
    into.height = bottom - into.y;
  }
}

}  // namespace

void FrameComposer::Attach(std::shared_ptr<PixelBuffer> buffer, bool record) {
  Detach();
  buffer_ = std::move(buffer);
  record_ = record;
}

void FrameComposer::Detach() {
  buffer_.reset();
  fill_.reset();
  covered_.clear();
  steps_.clear();
}

void FrameComposer::Fill(std::uint32_t value) {
  if (buffer_ == nullptr) return;
  steps_.clear();
  covered_.clear();
  fill_ = value;
}

void FrameComposer::Copy(const std::shared_ptr<PixelBuffer>& source, PixelRect from, int x, int y) {
  if (buffer_ == nullptr || source == nullptr) return;
  if (record_) {
    steps_.push_back(Step{source, from, x, y, {}});
    if (steps_.size() > kMaxSteps) Finish();
    return;
  }
  RunCopy(*source, from, x, y);
}

void FrameComposer::Draw(Paint paint) {
  if (buffer_ == nullptr || !paint) return;
  if (record_) {
    steps_.push_back(Step{nullptr, {}, 0, 0, std::move(paint)});
    if (steps_.size() > kMaxSteps) Finish();
    return;
  }
  RunPaint(paint);
}

void FrameComposer::Finish() {
  if (buffer_ == nullptr) return;
  // Replayed in their order; the steps' storage is kept for the next frame.
  std::vector<Step> steps = std::move(steps_);
  steps_.clear();
  for (const Step& step : steps) {
    if (step.source != nullptr) {
      RunCopy(*step.source, step.from, step.x, step.y);
    } else {
      RunPaint(step.paint);
    }
  }
  steps.clear();
  steps_ = std::move(steps);
  WriteFill();
}

void FrameComposer::RunCopy(PixelBuffer& source, PixelRect from, int x, int y) {
  const PixelRect written = CopyRect(buffer_->View(), x, y, source.View(), from);
  if (fill_) Cover(written);
}

void FrameComposer::RunPaint(const Paint& paint) {
  WriteFill();
  paint(buffer_->View());
}

void FrameComposer::Cover(PixelRect written) {
  if (written.width <= 0 || written.height <= 0) return;
  if (!covered_.empty()) {
    PixelRect& last = covered_.back();
    if (written.x == last.x && written.width == last.width &&
        Touch(written.y, written.height, last.y, last.height)) {
      Join(last, written, false);
      // A column grown to the extent of the one before it joins that one.
      if (covered_.size() >= 2) {
        PixelRect& before = covered_[covered_.size() - 2];
        if (before.y == last.y && before.height == last.height &&
            Touch(before.x, before.width, last.x, last.width)) {
          Join(before, last, true);
          covered_.pop_back();
        }
      }
      return;
    }
    if (written.y == last.y && written.height == last.height &&
        Touch(written.x, written.width, last.x, last.width)) {
      Join(last, written, true);
      return;
    }
  }
  covered_.push_back(written);
  // Too scattered to be worth keeping: the fill goes down now, under the copies still to come.
  if (covered_.size() > kMaxCovered) WriteFill();
}

void FrameComposer::WriteFill() {
  if (!fill_) return;
  const std::uint32_t value = *fill_;
  fill_.reset();
  const Surface surface = buffer_->View();
  if (covered_.empty()) {
    FillSurface(surface, value);
    return;
  }
  // Bands of rows that the same rectangles cross; in each, the gaps between them are filled.
  bandEdges_.assign({0, surface.height});
  for (const PixelRect& rect : covered_) {
    bandEdges_.push_back(rect.y);
    bandEdges_.push_back(rect.y + rect.height);
  }
  std::sort(bandEdges_.begin(), bandEdges_.end());
  bandEdges_.erase(std::unique(bandEdges_.begin(), bandEdges_.end()), bandEdges_.end());
  for (size_t band = 0; band + 1 < bandEdges_.size(); ++band) {
    const int top = bandEdges_[band];
    const int bottom = bandEdges_[band + 1];
    spans_.clear();
    for (const PixelRect& rect : covered_) {
      if (rect.y <= top && rect.y + rect.height >= bottom) {
        spans_.emplace_back(rect.x, rect.x + rect.width);
      }
    }
    std::sort(spans_.begin(), spans_.end());
    int x = 0;
    for (const auto& [left, right] : spans_) {
      if (left > x) FillRect(surface, {x, top, left - x, bottom - top}, value);
      x = std::max(x, right);
    }
    if (x < surface.width) FillRect(surface, {x, top, surface.width - x, bottom - top}, value);
  }
  covered_.clear();
}

}  // namespace velko
