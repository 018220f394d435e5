// The application's hints: a window's Hint text shown after the mouse rests on
// it for HintPause, hidden after HintHidePause, when the mouse leaves, or on a
// click or key. The hint window is whatever the application installs (a skinned
// one, for instance); OnShowHint may change the text or the wait, or veto it.
#pragma once
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Types.h"

namespace platform {

class Window;

struct HintInfo {
  Window* HintControl = nullptr;
  Point CursorPos;
  // How long the hint stays, in milliseconds.
  std::uint32_t HideTimeout = 0;
};

class ApplicationHints {
 public:
  // The framework's defaults.
  static inline std::uint32_t HintPause = 500;
  static inline std::uint32_t HintHidePause = 2500;
  // The wait when the mouse moves to another control while a hint shows.
  static inline std::uint32_t HintShortPause = 50;
  static inline bool ShowHint = true;

  using ShowHintEvent = std::function<void(std::string& hintStr, bool& canShow, HintInfo& info)>;
  static inline ShowHintEvent OnShowHint;

  // The window the hints appear in: `show` puts the text at a screen point
  // (the cursor's), `hide` takes it away. Without one no hint shows.
  struct HintWindowClass {
    std::function<void(const std::string& text, Point cursor)> show;
    std::function<void()> hide;
  };
  static void SetHintWindowClass(HintWindowClass hintWindow);

  // Hides a showing hint and forgets a pending one.
  static void CancelHint();
  static bool HintShowing();
  // Backends and windows: a message a window has taken (mouse entering or
  // leaving, buttons, keys) and a window going away.
  static void WindowMessage(Window& window, std::uint32_t msg);
  static void WindowDestroyed(Window& window);
};

}  // namespace platform
