#include "platform/TrayIcon.h"

#include <algorithm>
#include <vector>

#include "State.h"

namespace platform {

namespace {
// A session-wide number from the registered-message range, as the shell hands out.
constexpr std::uint32_t kTaskbarCreated = 0xC0F0;
constexpr std::uint32_t kDoubleClickMs = 500;  // the desktop's default
constexpr int kIconSide = 16;
}  // namespace

struct TrayIcon::Impl {
  std::function<bool(Message&)> handler;
  bool shown = false;
};

namespace {
std::vector<TrayIcon::Impl*>& LiveIcons() {
  static std::vector<TrayIcon::Impl*> icons;
  return icons;
}

void Deliver(TrayIcon::Impl& icon, std::uint32_t msg, std::intptr_t lParam) {
  Message m{msg, 0, lParam, 0};
  if (icon.handler) icon.handler(m);
}

// Runs a message to every live icon; a handler may delete icons on the way.
void Broadcast(std::uint32_t msg, std::intptr_t lParam) {
  const std::vector<TrayIcon::Impl*> icons = LiveIcons();
  for (TrayIcon::Impl* icon : icons)
    if (std::find(LiveIcons().begin(), LiveIcons().end(), icon) != LiveIcons().end()) Deliver(*icon, msg, lParam);
}
}  // namespace

TrayIcon::TrayIcon(std::function<bool(Message&)> handler) : impl_(std::make_unique<Impl>()) {
  impl_->handler = std::move(handler);
  LiveIcons().push_back(impl_.get());
}

TrayIcon::~TrayIcon() { std::erase(LiveIcons(), impl_.get()); }

bool TrayIcon::Add(const Bitmap& icon, const std::string& tip) {
  headless::GetState().trayRequests.push_back({headless::TrayRequest::Op::Add, tip, icon});
  if (impl_->shown) return false;  // the shell refuses a second add of the same id
  impl_->shown = true;
  return true;
}

bool TrayIcon::Modify(const Bitmap& icon, const std::string& tip) {
  headless::GetState().trayRequests.push_back({headless::TrayRequest::Op::Modify, tip, icon});
  return impl_->shown;
}

bool TrayIcon::Delete() {
  headless::GetState().trayRequests.push_back({headless::TrayRequest::Op::Delete, {}, {}});
  const bool was = impl_->shown;
  impl_->shown = false;
  return was;
}

void TrayIcon::SetForeground() {}
void TrayIcon::AfterMenu() {}

std::uint32_t TrayIcon::TaskbarCreatedMessage() { return kTaskbarCreated; }

std::uint32_t DoubleClickTime() { return kDoubleClickMs; }
std::uint8_t KeyboardShiftState() { return headless::GetState().shiftState; }

Bitmap ApplicationIcon() { return Bitmap(kIconSide, kIconSide, Rgb(0, 128, 255)); }

namespace headless {
const std::vector<TrayRequest>& TrayRequests() { return GetState().trayRequests; }

int TrayIconsShown() {
  return int(std::count_if(LiveIcons().begin(), LiveIcons().end(), [](const TrayIcon::Impl* i) { return i->shown; }));
}

void SendTrayMouse(std::uint32_t mouseMessage) {
  Broadcast(TrayIcon::kCallbackMessage, std::intptr_t(mouseMessage));
}

void RestartTaskbar() {
  for (TrayIcon::Impl* icon : LiveIcons()) icon->shown = false;
  Broadcast(kTaskbarCreated, 0);
}

void SetKeyboardShiftState(std::uint8_t state) { GetState().shiftState = state; }
}  // namespace headless

}  // namespace platform
