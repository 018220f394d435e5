// What tests use to drive the headless backend: a virtual clock that fires timers
// through the message loop, the message boxes shown so far with queued answers,
// the programs the shell was asked to start, the desktop's size.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

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

// Forgets boxes, requests and queued replies, and restores the defaults.
void Reset();

}  // namespace platform::headless
