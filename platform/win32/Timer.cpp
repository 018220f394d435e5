#include "platform/Timer.h"

#include <map>

#include "Backend.h"

namespace platform {

struct Timer::Impl {
  UINT_PTR id = 0;  // 0: not running

  static std::map<UINT_PTR, Timer*>& Live() {
    static std::map<UINT_PTR, Timer*> live;
    return live;
  }
  static LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg != WM_TIMER) return DefWindowProcW(hwnd, msg, wParam, lParam);
    auto it = Live().find(wParam);
    if (it != Live().end() && it->second->onTimer_) {
      try {
        it->second->onTimer_();
      } catch (const std::exception& e) {
        win32::ReportEscapedError(e);
      }
    }
    return 0;
  }
};

namespace win32 {
HWND TimerWindow() {
  static HWND hwnd = [] {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Timer::Impl::Proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"TwTimers";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  }();
  return hwnd;
}
}  // namespace win32

Timer::Timer() : impl_(std::make_unique<Impl>()) {}

Timer::~Timer() {
  if (impl_->id) {
    KillTimer(win32::TimerWindow(), impl_->id);
    Impl::Live().erase(impl_->id);
  }
}

bool Timer::Running() const { return impl_->id != 0; }

void Timer::Update() {
  static UINT_PTR nextId = 1;
  if (impl_->id) {
    KillTimer(win32::TimerWindow(), impl_->id);
    Impl::Live().erase(impl_->id);
    impl_->id = 0;
  }
  if (enabled_ && interval_ > 0 && onTimer_) {
    const UINT_PTR id = nextId++;
    if (SetTimer(win32::TimerWindow(), id, interval_, nullptr)) {
      impl_->id = id;
      Impl::Live()[id] = this;
    }
  }
}

}  // namespace platform
