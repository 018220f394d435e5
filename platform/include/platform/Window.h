// Top-level windows and their messages. A window's messages run through a chain
// of hooks (the newest first) and then the window's own procedure, so that a
// component can take over a window the way subclassing does on Win32.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Types.h"

namespace platform {

struct Message {
  std::uint32_t msg = 0;
  std::uintptr_t wParam = 0;
  std::intptr_t lParam = 0;
  std::intptr_t result = 0;
};

// Message numbers shared by both backends (the Win32 values).
namespace msg {
constexpr std::uint32_t kClose = 0x0010;  // WM_CLOSE
constexpr std::uint32_t kShowWindow = 0x0018;
constexpr std::uint32_t kTimer = 0x0113;
constexpr std::uint32_t kUser = 0x0400;
}  // namespace msg

enum class BorderStyle { None, Single, Sizeable };

class Window {
 public:
  // A hidden top-level window; it joins the application's list of forms, and the
  // first one becomes the main form.
  Window();
  virtual ~Window();
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;

  const std::string& Caption() const;
  void SetCaption(const std::string& caption);
  BorderStyle GetBorderStyle() const;
  void SetBorderStyle(BorderStyle style);

  // Outer bounds on the desktop, and the client area's size.
  Rect BoundsRect() const;
  Point ClientSize() const;
  void SetClientSize(int width, int height);
  void SetPosition(int left, int top);
  void CenterOnDesktop();

  // Show runs OnShow (the form's show handler) while the window becomes visible;
  // an error escaping OnShow goes to the application's default error report.
  void Show();
  bool Visible() const;
  std::function<void()> OnShow;

  // Closes and destroys the native window; closing the main form ends the application.
  void Close();
  bool Closed() const;

  // Sends a message through the hooks and the window's procedure; returns its result.
  std::intptr_t Perform(std::uint32_t msg, std::uintptr_t wParam = 0, std::intptr_t lParam = 0);
  using MessageHook = std::function<bool(Window&, Message&)>;  // true: handled
  int AddMessageHook(MessageHook hook);
  void RemoveMessageHook(int id);

  // Layered-window alpha (0..255); nullopt makes the window opaque again.
  void SetAlpha(std::optional<std::uint8_t> alpha);
  std::optional<std::uint8_t> Alpha() const;

  // HWND on Win32; the window itself on the headless backend.
  void* NativeHandle() const;

  struct Impl;
  Impl& impl() const { return *impl_; }

 protected:
  // The window's own procedure: what is left after the hooks. The default does
  // the platform's default processing.
  virtual void WndProc(Message& message);

 private:
  friend struct WindowDispatch;
  // Runs a message through the hooks, newest first, then WndProc.
  void Dispatch(Message& message);
  std::vector<std::pair<int, MessageHook>> hooks_;
  int nextHookId_ = 1;
  std::unique_ptr<Impl> impl_;
};

// Whether the platform can make windows translucent.
bool LayeredWindowsAvailable();

// The desktop's size in pixels.
Point DesktopSize();

}  // namespace platform
