#include "platform/Timer.h"

#include "State.h"

namespace platform {

struct Timer::Impl {
  int id = 0;  // 0: not scheduled
};

Timer::Timer() : impl_(std::make_unique<Impl>()) {}

Timer::~Timer() {
  if (impl_->id) headless::RemoveTimer(impl_->id);
}

bool Timer::Running() const { return impl_->id != 0; }

void Timer::Update() {
  if (impl_->id) headless::RemoveTimer(impl_->id);
  impl_->id = 0;
  if (enabled_ && interval_ > 0 && onTimer_)
    impl_->id = headless::AddTimer(interval_, [this] { onTimer_(); });
}

}  // namespace platform
