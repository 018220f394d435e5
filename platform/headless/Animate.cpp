#include "platform/Animate.h"

#include "../core/AnimateFrames.h"
#include "platform/Timer.h"

namespace platform {

// Headless: no pictures, only the frame counter, stepped by a timer.
struct Animate::Impl {
  AnimateFrames frames;
  Timer timer;
  bool active = false;
};

Animate::Animate(Window&) : impl_(std::make_unique<Impl>()) {
  impl_->timer.SetEnabled(false);
  impl_->timer.SetInterval(kAnimateFrameMs);
  impl_->timer.SetOnTimer([this] {
    if (!impl_->frames.Step()) SetActive(false);
  });
}

Animate::~Animate() = default;

void Animate::SetCommonClip(CommonClip) {}
void Animate::SetFrames(int startFrame, int stopFrame) {
  impl_->frames.start = startFrame;
  impl_->frames.stop = stopFrame;
}
void Animate::SetRepetitions(int repetitions) { impl_->frames.repetitions = repetitions; }
void Animate::SetCentered(bool) {}
void Animate::SetTransparent(bool) {}

void Animate::SetActive(bool active) {
  if (active == impl_->active) return;
  impl_->active = active;
  if (active) impl_->frames.Restart();
  impl_->timer.SetEnabled(active);
}

bool Animate::Active() const { return impl_->active; }
int Animate::CurrentFrame() const { return impl_->frames.current; }
long Animate::FramesShown() const { return impl_->frames.shown; }

}  // namespace platform
