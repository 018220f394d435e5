// An animation control filling its parent: plays frames of a clip in a loop.
// It draws the shell's clip where that clip's frames decode and move, and a
// clip of its own (a sheet flying between two folders) everywhere else.
#pragma once
#include <memory>

namespace platform {

class Window;

class Animate {
 public:
  // The shell's common clips, by their resource number in the shell's module.
  enum class CommonClip { CopyFiles = 160 };

  explicit Animate(Window& parent);
  ~Animate();
  Animate(const Animate&) = delete;
  Animate& operator=(const Animate&) = delete;

  void SetCommonClip(CommonClip clip);
  // One-based frame range, and how many times to play it (0: without end).
  void SetFrames(int startFrame, int stopFrame);
  void SetRepetitions(int repetitions);
  void SetCentered(bool centered);
  void SetTransparent(bool transparent);
  void SetActive(bool active);
  bool Active() const;

  // Zero-based frame now on screen, and frames shown since the start.
  int CurrentFrame() const;
  long FramesShown() const;
  // Whether the own clip stands in for the shell's (decided on activation).
  bool PlaysOwnClip() const;

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
