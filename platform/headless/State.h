#pragma once
// The headless backend's process-wide state.
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Types.h"
#include "platform/headless/Driver.h"

namespace platform {
class Timer;
class Window;
}

namespace platform::headless {

struct ScheduledTimer {
  std::function<void()> fire;
  std::uint64_t due = 0;
  std::uint32_t interval = 0;
};

struct State {
  bool virtualClock = false;
  std::uint64_t virtualNow = 0;

  int nextTimerId = 1;
  std::map<int, ScheduledTimer> timers;

  std::vector<ShownMessageBox> boxes;
  std::deque<MessageResult> replies;
  bool echo = true;

  std::vector<std::string> shellRequests;
  bool shellStarts = true;

  Point desktop{1024, 768};
  std::string exeName;

  // Every live window, bottom of the stacking order first; showing a window
  // moves it to the top.
  std::vector<platform::Window*> windows;
  Point cursor;
  platform::Window* capture = nullptr;
  platform::Window* hover = nullptr;  // the window the mouse was last over
  platform::Window* focus = nullptr;       // the last window that took the focus
  platform::Window* foreground = nullptr;  // the last window brought to the foreground
  std::optional<Rect> workArea;  // none: the whole desktop
  // The forms a minimize of the application hid, shown again by its restore.
  std::vector<platform::Window*> minimizedForms;
  bool layeredWindows = true;

  // Removable drives by upper-cased root, with their disks' labels.
  std::map<std::string, std::string> removableDrives;

  std::vector<TrayRequest> trayRequests;
  std::uint8_t shiftState = 0;
};

State& GetState();

// The key of a drive root in `removableDrives`.
std::string DriveKey(const std::string& root);

int AddTimer(std::uint32_t interval, std::function<void()> fire);
void RemoveTimer(int id);
// Fires the earliest timer due at or before `limit`; false when there is none.
bool FireNextDue(std::uint64_t limit);
// The earliest due time of any timer, or UINT64_MAX.
std::uint64_t NextDue();

}  // namespace platform::headless
