#include "platform/sdl/sdl_frame_stats.h"

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace velko::platform {
namespace {

std::int64_t Nanoseconds(clockid_t clock) {
  timespec now{};
  ::clock_gettime(clock, &now);
  return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}

// What the frame cap aims at: presentations 1/61 s apart.
constexpr double kTargetMs = 1000.0 / 61.0;

}  // namespace

FrameStats::FrameStats() {
  const char* path = std::getenv("VELKO_FRAME_STATS");
  if (path == nullptr || *path == '\0') return;
  enabled_ = true;
  path_ = path;
  started_ = Nanoseconds(CLOCK_REALTIME);
  intervals_.reserve(1 << 16);
}

FrameStats::~FrameStats() {
  if (!enabled_) return;
  if (std::FILE* file = std::fopen(path_.c_str(), "w")) {
    const std::string report = Report();
    std::fwrite(report.data(), 1, report.size(), file);
    std::fclose(file);
  }
}

void FrameStats::FrameShown(bool screenFrame) {
  if (!enabled_) return;
  if (!screenFrame) {
    if (dialogShown_ == 0) dialogShown_ = Nanoseconds(CLOCK_REALTIME);
    return;
  }
  ++screenFrames_;
  // The first screen frame is the loading screen, the second the first frame of the game.
  if (screenFrames_ == 1) loadingShown_ = Nanoseconds(CLOCK_REALTIME);
  if (screenFrames_ == 2) firstGameFrame_ = Nanoseconds(CLOCK_REALTIME);
  const std::int64_t now = Nanoseconds(CLOCK_MONOTONIC);
  if (screenFrames_ > 2) intervals_.push_back(now - lastScreenFrame_);
  lastScreenFrame_ = now;
}

void FrameStats::WindowClosed(bool showedFrames) {
  if (enabled_ && showedFrames && dialogClosed_ == 0) dialogClosed_ = Nanoseconds(CLOCK_REALTIME);
}

std::string FrameStats::Report() const {
  std::ostringstream out;
  out << "started_ns = " << started_ << "\n"
      << "dialog_shown_ns = " << dialogShown_ << "\n"
      << "dialog_closed_ns = " << dialogClosed_ << "\n"
      << "loading_shown_ns = " << loadingShown_ << "\n"
      << "first_game_frame_ns = " << firstGameFrame_ << "\n"
      << "intervals = " << intervals_.size() << "\n";
  if (intervals_.empty()) return out.str();
  std::vector<std::int64_t> sorted = intervals_;
  std::sort(sorted.begin(), sorted.end());
  auto percentile = [&](double p) {
    const size_t at = std::min(sorted.size() - 1, static_cast<size_t>(p * sorted.size()));
    return static_cast<double>(sorted[at]) / 1e6;
  };
  size_t within = 0;
  double sum = 0;
  for (const std::int64_t ns : intervals_) {
    const double ms = static_cast<double>(ns) / 1e6;
    sum += ms;
    if (ms >= kTargetMs - 1.0 && ms <= kTargetMs + 1.0) ++within;
  }
  out.setf(std::ios::fixed);
  out.precision(3);
  out << "interval_ms_min = " << static_cast<double>(sorted.front()) / 1e6 << "\n"
      << "interval_ms_p1 = " << percentile(0.01) << "\n"
      << "interval_ms_p50 = " << percentile(0.50) << "\n"
      << "interval_ms_p99 = " << percentile(0.99) << "\n"
      << "interval_ms_max = " << static_cast<double>(sorted.back()) / 1e6 << "\n"
      << "interval_ms_mean = " << sum / static_cast<double>(intervals_.size()) << "\n"
      << "within_1ms_share = "
      << static_cast<double>(within) / static_cast<double>(intervals_.size()) << "\n";
  return out.str();
}

}  // namespace velko::platform
