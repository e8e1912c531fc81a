// Opt-in figures of a run, for the presentation benchmark: with VELKO_FRAME_STATS naming a
// file, the game writes there at exit the intervals between its frames and when the dialog
// and the first frames were shown.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace velko::platform {

class FrameStats {
 public:
  FrameStats();   // reads VELKO_FRAME_STATS
  ~FrameStats();  // writes the file
  FrameStats(const FrameStats&) = delete;
  FrameStats& operator=(const FrameStats&) = delete;

  // A frame reached the display: one of the game's screen, or of another window (the
  // dialog).
  void FrameShown(bool screenFrame);
  // A window that showed frames of its own (the dialog) is gone.
  void WindowClosed(bool showedFrames);

  // The figures as written: key = value lines.
  std::string Report() const;

 private:
  bool enabled_ = false;
  std::string path_;
  std::int64_t started_ = 0;
  std::int64_t dialogShown_ = 0;
  std::int64_t dialogClosed_ = 0;
  std::int64_t loadingShown_ = 0;
  std::int64_t firstGameFrame_ = 0;
  std::int64_t lastScreenFrame_ = 0;  // monotonic
  int screenFrames_ = 0;
  std::vector<std::int64_t> intervals_;  // nanoseconds between frames of the game
};

}  // namespace velko::platform
