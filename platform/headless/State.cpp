#include "State.h"

#include <chrono>
#include <limits>

namespace platform::headless {

State& GetState() {
  static State state;
  return state;
}

void UseVirtualClock(bool on) { GetState().virtualClock = on; }

std::uint64_t NowMs() {
  const State& s = GetState();
  if (s.virtualClock) return s.virtualNow;
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

int AddTimer(std::uint32_t interval, std::function<void()> fire) {
  State& s = GetState();
  const int id = s.nextTimerId++;
  s.timers[id] = ScheduledTimer{std::move(fire), NowMs() + interval, interval};
  return id;
}

void RemoveTimer(int id) { GetState().timers.erase(id); }

std::uint64_t NextDue() {
  std::uint64_t due = std::numeric_limits<std::uint64_t>::max();
  for (const auto& [id, t] : GetState().timers) due = std::min(due, t.due);
  return due;
}

bool FireNextDue(std::uint64_t limit) {
  State& s = GetState();
  auto next = s.timers.end();
  for (auto it = s.timers.begin(); it != s.timers.end(); ++it)
    if (it->second.due <= limit && (next == s.timers.end() || it->second.due < next->second.due)) next = it;
  if (next == s.timers.end()) return false;
  if (s.virtualClock && next->second.due > s.virtualNow) s.virtualNow = next->second.due;
  // Like WM_TIMER, the next tick counts from this one; the handler may stop the
  // timer or restart it, so re-arm before calling it.
  next->second.due = NowMs() + next->second.interval;
  auto fire = next->second.fire;
  fire();
  return true;
}

void AdvanceTime(std::uint64_t milliseconds) {
  State& s = GetState();
  const std::uint64_t end = s.virtualNow + milliseconds;
  while (FireNextDue(end)) {
  }
  s.virtualNow = end;
}

const std::vector<ShownMessageBox>& MessageBoxes() { return GetState().boxes; }
void QueueMessageBoxReply(MessageResult reply) { GetState().replies.push_back(reply); }
void SetEcho(bool on) { GetState().echo = on; }
const std::vector<std::string>& ShellRequests() { return GetState().shellRequests; }
void SetShellStartsPrograms(bool start) { GetState().shellStarts = start; }
void SetDesktopSize(int width, int height) { GetState().desktop = {width, height}; }
void SetExeName(std::string path) { GetState().exeName = std::move(path); }

void Reset() {
  State& s = GetState();
  s.boxes.clear();
  s.replies.clear();
  s.echo = true;
  s.shellRequests.clear();
  s.shellStarts = true;
  s.desktop = {1024, 768};
  s.exeName.clear();
  s.workArea.reset();
  s.cursor = {};
  s.capture = nullptr;
  s.hover = nullptr;
  s.focus = nullptr;
  s.foreground = nullptr;
  s.trayRequests.clear();
  s.shiftState = 0;
  s.removableDrives.clear();
  s.minimizedForms.clear();
  s.layeredWindows = true;
}

void SetWorkArea(const Rect& area) { GetState().workArea = area; }
void SetLayeredWindowsAvailable(bool available) { GetState().layeredWindows = available; }

std::string DriveKey(const std::string& root) {
  std::string key = root;
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

void SetRemovableDrive(const std::string& root, const std::string& label) {
  GetState().removableDrives[DriveKey(root)] = label;
}

}  // namespace platform::headless
