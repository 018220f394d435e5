#include "platform/Hints.h"

#include <memory>

#include "platform/Input.h"
#include "platform/Timer.h"
#include "platform/Window.h"

namespace platform {

namespace {

struct HintState {
  ApplicationHints::HintWindowClass hintWindow;
  Window* control = nullptr;  // the window the mouse rests on, with a hint
  bool showing = false;
  // A hint was showing when the mouse left its control: the next control's
  // hint follows after the short pause.
  bool recent = false;
  // Made on first use: timers need the platform's message loop state.
  std::unique_ptr<Timer> timer;
};

HintState& State() {
  static HintState state;
  return state;
}

void Hide() {
  HintState& s = State();
  if (s.showing && s.hintWindow.hide) s.hintWindow.hide();
  s.showing = false;
}

void StopTimer() {
  if (State().timer) State().timer->SetEnabled(false);
}

void StartTimer(std::uint32_t interval, std::function<void()> then) {
  HintState& s = State();
  if (!s.timer) s.timer = std::make_unique<Timer>();
  s.timer->SetEnabled(false);
  s.timer->SetInterval(interval);
  s.timer->SetOnTimer(std::move(then));
  s.timer->SetEnabled(true);
}

void Show() {
  HintState& s = State();
  StopTimer();
  if (!s.control) return;
  std::string text = s.control->Hint;
  bool canShow = ApplicationHints::ShowHint && !text.empty() && s.hintWindow.show;
  HintInfo info{s.control, CursorPos(), ApplicationHints::HintHidePause};
  if (canShow && ApplicationHints::OnShowHint) ApplicationHints::OnShowHint(text, canShow, info);
  if (!canShow || text.empty()) return;
  s.hintWindow.show(text, info.CursorPos);
  s.showing = true;
  if (info.HideTimeout > 0) StartTimer(info.HideTimeout, [] {
      StopTimer();
      Hide();
    });
}

}  // namespace

void ApplicationHints::SetHintWindowClass(HintWindowClass hintWindow) {
  CancelHint();
  State().hintWindow = std::move(hintWindow);
}

void ApplicationHints::CancelHint() {
  StopTimer();
  Hide();
  State().control = nullptr;
  State().recent = false;
}

bool ApplicationHints::HintShowing() { return State().showing; }

void ApplicationHints::WindowMessage(Window& window, std::uint32_t m) {
  HintState& s = State();
  switch (m) {
    case msg::kMouseEnter: {
      const bool quick = s.showing || s.recent;
      CancelHint();
      if (window.Hint.empty() || !window.ShowHint || !ShowHint) return;
      s.control = &window;
      StartTimer(quick ? HintShortPause : HintPause, Show);
      return;
    }
    case msg::kMouseLeave: {
      if (s.control != &window) return;
      const bool wasShowing = s.showing;
      CancelHint();
      s.recent = wasShowing;
      return;
    }
    case msg::kLButtonDown:
    case msg::kRButtonDown:
    case msg::kMButtonDown:
    case msg::kKeyDown:
    case msg::kSysKeyDown:
      if (s.control || s.showing) CancelHint();
      return;
    default:
      return;
  }
}

void ApplicationHints::WindowDestroyed(Window& window) {
  if (State().control == &window) CancelHint();
}

}  // namespace platform
