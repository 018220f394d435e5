// What tests use to drive the headless backend: a virtual clock that fires timers
// through the message loop, the message boxes shown so far with queued answers,
// the programs the shell was asked to start, the desktop's size.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Dialogs.h"
#include "platform/Messages.h"
#include "platform/Types.h"

namespace platform {
class Window;
}

namespace platform::headless {

// Virtual time (tests) or the wall clock (the default, for programs).
void UseVirtualClock(bool on);
std::uint64_t NowMs();
// Moves virtual time forward, firing every timer that falls due on the way, in
// time order, as the message loop would.
void AdvanceTime(std::uint64_t milliseconds);

struct ShownMessageBox {
  std::string text, caption;
  MessageButtons buttons;
  MessageIcon icon;
};
const std::vector<ShownMessageBox>& MessageBoxes();
// The next box answers this instead of its first button.
void QueueMessageBoxReply(MessageResult reply);
// Whether windows shown and boxes are echoed to stderr (on by default: the
// only view a user of the headless backend has).
void SetEcho(bool on);

// ShellExecute records every request here; when `start` is false it starts nothing.
const std::vector<std::string>& ShellRequests();
void SetShellStartsPrograms(bool start);

void SetDesktopSize(int width, int height);
// Pretends the running program is `path` (tests of paths beside the executable).
void SetExeName(std::string path);

// The work area (the whole desktop unless set).
void SetWorkArea(const Rect& area);
// Whether windows can be translucent (on unless set); without, SetAlpha does nothing.
void SetLayeredWindowsAvailable(bool available);
// Every opacity a window was given, in order (nullopt: made opaque again).
const std::vector<std::optional<std::uint8_t>>& AlphaChanges(const Window& window);
// The user drags a window by its caption so that its top-left corner would be
// at `topLeft`: the window sees the move begin, may change the proposed
// rectangle (WM_MOVING), is put where it answered, and sees the move end.
void DragWindow(Window& window, Point topLeft);

// Drive roots such as "A:\" (any letter case) that report a removable drive
// holding a disk with `label`; every other drive is fixed and unlabelled.
// Changing the label stands for the user inserting another disk.
void SetRemovableDrive(const std::string& root, const std::string& label);

// Moves the cursor to a screen point and sends the window under it (or the
// window holding the capture) a mouse message at that point: kMouseMove by
// default, or a button message.
void MouseAt(Point screen, std::uint32_t message = msg::kMouseMove);
// A left click at a screen point: button down, then up.
void ClickAt(Point screen);
// Sends a key-down message with a virtual-key code to `target`.
void PressKey(Window& target, std::uint32_t virtualKey);

// What a window showed when it last painted (empty before its first paint).
const Bitmap& WindowImage(const Window& window);
// The last frame picture a form presented (PresentFrame), empty before the first.
const Bitmap& PresentedFrame(const Window& window);
// The visible windows, bottom of the stacking order first.
std::vector<Window*> VisibleWindows();

// Forgets boxes, requests and queued replies, and restores the defaults
// (desktop, work area, cursor at 0, 0, no capture, no removable drives, layered
// windows available).
void Reset();

// The notification area: every add, modify and delete the shell was asked for,
// the icons it holds now, the icon's callback message with a mouse message, and
// a taskbar restart (the icons are gone and "TaskbarCreated" goes to each owner).
struct TrayRequest {
  enum class Op { Add, Modify, Delete } op;
  std::string tip;
  Bitmap icon;
};
const std::vector<TrayRequest>& TrayRequests();
int TrayIconsShown();
void SendTrayMouse(std::uint32_t mouseMessage);
void RestartTaskbar();
// The Shift, Alt and Ctrl bits the keyboard reports (platform::shiftstate).
void SetKeyboardShiftState(std::uint8_t state);
// The window last brought to the foreground (platform::BringToForeground), or nullptr.
Window* ForegroundWindow();

}  // namespace platform::headless
