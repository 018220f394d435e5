#pragma once
// Frame stepping shared by the backends' animation controls: a one-based frame
// range played a number of times (0: without end).
namespace platform {

struct AnimateFrames {
  int start = 1, stop = 1, repetitions = 0;
  int current = 0;      // zero-based frame on screen
  long shown = 0;       // frames shown since the start
  int playsDone = 0;

  void Restart() {
    current = start - 1;
    shown = 1;
    playsDone = 0;
  }
  // Advances one frame; false when the last repetition has ended.
  bool Step() {
    if (current + 1 < stop) {
      ++current;
    } else {
      ++playsDone;
      if (repetitions > 0 && playsDone >= repetitions) return false;
      current = start - 1;
    }
    ++shown;
    return true;
  }
};

// The copy-files clip's rate: about 15 frames a second.
constexpr unsigned kAnimateFrameMs = 67;

}  // namespace platform
