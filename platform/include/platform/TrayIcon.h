// One icon in the taskbar's notification area, owned by a hidden window of its
// own that receives the icon's callback messages and the shell's broadcast that
// the taskbar was re-created.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/Bitmap.h"
#include "platform/Window.h"

namespace platform {

class TrayIcon {
 public:
  // The message the shell sends for the icon; lParam carries the mouse message.
  static constexpr std::uint32_t kCallbackMessage = 2048;
  // Tooltips longer than this are cut by the shell's record.
  static constexpr std::size_t kMaxTip = 127;

  // `handler` sees every message to the icon's window; it answers true when it
  // handled one (its result in the message), false for default processing.
  explicit TrayIcon(std::function<bool(Message&)> handler);
  ~TrayIcon();
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;

  // The shell's add, modify and delete; each answers whether the shell took it.
  bool Add(const Bitmap& icon, const std::string& tip);
  bool Modify(const Bitmap& icon, const std::string& tip);
  bool Delete();

  // Brings the icon's window to the foreground (so that a menu opened from the
  // icon closes when the user clicks elsewhere), and after the menu lets the
  // window see one more message so that the next click opens it again.
  void SetForeground();
  void AfterMenu();

  // The number the shell's "TaskbarCreated" broadcast has in this session.
  static std::uint32_t TaskbarCreatedMessage();

  struct Impl;

 private:
  std::unique_ptr<Impl> impl_;
};

// The longest gap between two clicks of a double click, in milliseconds.
std::uint32_t DoubleClickTime();

// Shift, Alt and Ctrl as the keyboard holds them now (bits of shiftstate).
namespace shiftstate {
constexpr std::uint8_t kShift = 1;
constexpr std::uint8_t kAlt = 2;
constexpr std::uint8_t kCtrl = 4;
constexpr std::uint8_t kLeft = 8;
constexpr std::uint8_t kRight = 16;
constexpr std::uint8_t kMiddle = 32;
}  // namespace shiftstate
std::uint8_t KeyboardShiftState();

// The application's own icon as a small picture (the shell's notification-area size).
Bitmap ApplicationIcon();

}  // namespace platform
