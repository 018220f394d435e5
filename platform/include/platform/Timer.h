// A periodic timer delivered through the message loop on the user-interface
// thread. It runs while it is enabled, has an interval above zero and a handler.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>

namespace platform {

class Timer {
 public:
  Timer();
  ~Timer();
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;

  bool Enabled() const { return enabled_; }
  // Enabling a running timer changes nothing; disabling stops it at once.
  void SetEnabled(bool enabled);
  std::uint32_t Interval() const { return interval_; }
  void SetInterval(std::uint32_t milliseconds);
  // Attaching the handler starts the timer when it is enabled.
  void SetOnTimer(std::function<void()> handler);

  bool Running() const;

  struct Impl;

 private:
  void Update();
  bool enabled_ = true;
  std::uint32_t interval_ = 1000;
  std::function<void()> onTimer_;
  std::unique_ptr<Impl> impl_;
};

}  // namespace platform
