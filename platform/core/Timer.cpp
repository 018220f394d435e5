#include "platform/Timer.h"

namespace platform {

void Timer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void Timer::SetInterval(std::uint32_t milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Update();
}

void Timer::SetOnTimer(std::function<void()> handler) {
  onTimer_ = std::move(handler);
  Update();
}

}  // namespace platform
