#include "skTrayIcon.h"

#include <algorithm>

#include "platform/Application.h"
#include "platform/Input.h"

namespace skin {

namespace {
// Whether `w` is `root` or lies inside it, found by walking `root`'s children,
// so that a pointer to a window that has gone is never followed.
bool Contains(const platform::Window& root, const platform::Window* w) {
  if (&root == w) return true;
  for (const platform::Window* c : root.Children())
    if (Contains(*c, w)) return true;
  return false;
}

bool IsLifetimeMessage(std::uint32_t message) {
  switch (message) {
    case msg::kDestroy: case msg::kClose: case msg::kQueryEndSession: case msg::kQuit: case msg::kUserChanged:
    case msg::kNCDestroy:
      return true;
    default:
      return false;
  }
}
}  // namespace

TskTrayIcon::TskTrayIcon(platform::Window* owner)
    : owner_(owner),
      TaskbarCreated_(platform::TrayIcon::TaskbarCreatedMessage()),
      tray_([this](platform::Message& m) { return HandleMessage(m); }) {
  AnimateTimer.SetEnabled(false);
  AnimateTimer.SetInterval(0);
  AnimateTimer.SetOnTimer([this] { CycleTick(); });
  ClickTimer.SetEnabled(false);
  ClickTimer.SetInterval(platform::DoubleClickTime());
  ClickTimer.SetOnTimer([this] { ClickTimerTick(); });
  if (!Designing()) {
    if (Icon_.Empty() && UseApplicationIcon()) Icon_ = platform::ApplicationIcon();
    if (platform::Application::Exists())
      appHook_ = platform::Application::Instance().AddMinimizeHook([this] {
        if (MinimizeToTray) DoMinimizeToTray();
      });
    if (owner_)
      ownerHook_ = owner_->AddMessageHook([this](platform::Window&, platform::Message& m) {
        OwnerMessage(m);
        return false;
      });
  }
}

TskTrayIcon::~TskTrayIcon() {
  SetIconVisible(false);
  SetDesignPreview(false);
  if (appHook_ && platform::Application::Exists()) platform::Application::Instance().RemoveMinimizeHook(appHook_);
  if (ownerHook_) owner_->RemoveMessageHook(ownerHook_);
}

void TskTrayIcon::OwnerMessage(const platform::Message& m) {
  if (m.msg == msg::kActivate) {
    const std::uintptr_t state = m.wParam & 0xFFFF;
    if (state == msg::kInactive) {
      platform::Window* focused = platform::FocusedWindow();
      ActiveControl_ = focused != owner_ && Contains(*owner_, focused) ? focused : nullptr;
      return;
    }
    // Coming back (from the tray's menu, say), the focus returns to the control
    // that had it, unless the activation came from that control's own parent.
    platform::Window* control = ActiveControl_;
    if (!control || !Contains(*owner_, control)) return;
    const platform::Window* parent = control->Parent() ? control->Parent() : control;
    if (m.lParam != 0 && reinterpret_cast<void*>(m.lParam) == parent->NativeHandle()) return;
    control->TakeFocus();
    return;
  }
  // Shown by the program (not because its owner appeared): back from the tray,
  // restored and in front.
  if (m.msg == platform::msg::kShowWindow && m.wParam == 1 && m.lParam == 0) {
    if (platform::Application::Exists()) {
      platform::Application& app = platform::Application::Instance();
      if (app.Minimized() || !app.TaskButtonVisible()) app.Restore();
    }
    platform::BringToForeground(*owner_);
  }
}

bool TskTrayIcon::ShellInUse() const { return !Designing() || PreviewChanging; }

std::string TskTrayIcon::TipText() const {
  if (Hint_.empty() || !ShowHint_) return {};
  // The first kMaxTip characters, cut at a character boundary so that the tip stays valid UTF-8.
  std::size_t chars = 0, n = 0;
  while (n < Hint_.size() && chars < platform::TrayIcon::kMaxTip) {
    const unsigned char c = static_cast<unsigned char>(Hint_[n]);
    n += c < 0x80 ? 1 : c < 0xE0 ? 2 : c < 0xF0 ? 3 : 4;
    ++chars;
  }
  n = std::min(n, Hint_.size());
  return Hint_.substr(0, n);
}

bool TskTrayIcon::AddIcon() {
  if (!PreviewChanging) IconVisible_ = true;
  if (!ShellInUse() || (Designing() && !DesignPreview_ && !PreviewChanging)) return false;
  return tray_.Add(Icon_, TipText());
}

bool TskTrayIcon::RemoveIcon() {
  if (!PreviewChanging) IconVisible_ = false;
  if (!ShellInUse()) return false;
  return tray_.Delete();
}

bool TskTrayIcon::UpdateIcon() {
  if (Designing() && !PreviewChanging && !DesignPreview_) return false;
  return tray_.Modify(Icon_, TipText());
}

void TskTrayIcon::SetIcon(const platform::Bitmap& value) {
  Icon_ = value;
  UpdateIcon();
}

void TskTrayIcon::SetIconVisible(bool value) {
  if (value)
    AddIcon();
  else
    RemoveIcon();
}

void TskTrayIcon::SetDesignPreview(bool value) {
  DesignPreview_ = value;
  PreviewChanging = true;
  SetIconVisible(value);
  PreviewChanging = false;
}

void TskTrayIcon::SetCycleIcons(bool value) {
  CycleIcons_ = value;
  if (value) SetIconIndex(0);
  AnimateTimer.SetEnabled(value);
}

void TskTrayIcon::SetIconList(const TskTrayIconList* value) {
  IconList_ = value;
  SetIconIndex(0);
}

void TskTrayIcon::SetIconIndex(int value) {
  if (IconList_ && !IconList_->empty()) {
    const int last = int(IconList_->size()) - 1;
    IconIndex_ = std::clamp(value, 0, last);
    Icon_ = (*IconList_)[std::size_t(IconIndex_)];
  } else {
    IconIndex_ = 0;
  }
  UpdateIcon();
}

void TskTrayIcon::SetHint(const std::string& value) {
  Hint_ = value;
  UpdateIcon();
}

void TskTrayIcon::SetShowHint(bool value) {
  ShowHint_ = value;
  UpdateIcon();
}

void TskTrayIcon::SetPopupMenu(TskSkinPopupMenu* value) {
  PopupMenu_ = value;
  if (value) FreeNotification(value);
}

void TskTrayIcon::Notification(TskComponent* removed) {
  if (removed == PopupMenu_) PopupMenu_ = nullptr;
}

void TskTrayIcon::Loaded() {
  if (owner_ && MinimizedOnStart && !Designing()) owner_->Hide();
  UpdateIcon();
  SetIconVisible(IconVisible_);
}

void TskTrayIcon::RestoreMainForm() {
  if (!owner_ || !platform::Application::Exists()) return;
  platform::Application& app = platform::Application::Instance();
  if (platform::Window* main = app.MainForm()) {
    app.Restore();
    main->Show();
  }
}

void TskTrayIcon::HideMainForm() {
  if (!owner_ || !platform::Application::Exists()) return;
  platform::Application& app = platform::Application::Instance();
  if (platform::Window* main = app.MainForm()) {
    main->Hide();
    app.HideTaskButton();
  }
}

void TskTrayIcon::DoMinimizeToTray() {
  HideMainForm();
  SetIconVisible(true);
}

void TskTrayIcon::DoClick() {
  if (OnClick) OnClick(*this);
}
void TskTrayIcon::DoDblClick() {
  if (OnDblClick) OnDblClick(*this);
}
void TskTrayIcon::DoCycle(int NextIndex) {
  if (OnCycle) OnCycle(*this, NextIndex);
}
void TskTrayIcon::DoMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}
void TskTrayIcon::DoMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
}
void TskTrayIcon::DoMouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(*this, shift, x, y);
}

bool TskTrayIcon::HandleMessage(platform::Message& m) {
  if (IsLifetimeMessage(m.msg)) {
    m.result = 1;
    return true;
  }
  if (m.msg == TaskbarCreated_) {
    // The new taskbar starts empty: an icon that was shown comes back.
    if (IconVisible_) AddIcon();
    return true;
  }
  if (m.msg == platform::TrayIcon::kCallbackMessage) {
    if (Enabled) HandleMouse(std::uint32_t(m.lParam));
    return true;
  }
  return false;
}

void TskTrayIcon::HandleMouse(std::uint32_t mouseMessage) {
  namespace msg = platform::msg;
  using namespace platform::shiftstate;
  const platform::Point p = platform::CursorPos();
  const TShiftState shift = platform::KeyboardShiftState() & (kShift | kAlt | kCtrl);
  switch (mouseMessage) {
    case msg::kMouseMove:
      DoMouseMove(shift, p.x, p.y);
      break;
    case msg::kLButtonDown:
      ClickTimer.SetEnabled(false);
      ClickTimer.SetEnabled(true);
      DoMouseDown(TMouseButton::mbLeft, shift | kLeft, p.x, p.y);
      ClickStarted = true;
      if (PopupByLeftButton) OpenMenu();
      break;
    case msg::kLButtonUp:
      if (ClickStarted) {
        ClickReady = true;
        // Released after the double-click time: the timer has already passed.
        if (!ClickTimer.Enabled()) {
          ClickStarted = ClickReady = false;
          DoClick();
        }
      }
      ClickStarted = false;
      DoMouseUp(TMouseButton::mbLeft, shift | kLeft, p.x, p.y);
      break;
    case msg::kLButtonDblClk:
      ClickReady = false;
      DoubleClicked = true;
      DoDblClick();
      if (PopupMenu_ && PopupMenu_->AutoPopup && !PopupByLeftButton) {
        platform::MenuItem& top = PopupMenu_->Items;
        for (int i = 0; i < top.Count(); ++i)
          if (top[i].Default) {
            PopupMenu_->DispatchCommand(top[i]);
            break;
          }
      }
      break;
    case msg::kRButtonDown:
      DoMouseDown(TMouseButton::mbRight, shift | kRight, p.x, p.y);
      OpenMenu();
      break;
    case msg::kRButtonUp:
      DoMouseUp(TMouseButton::mbRight, shift | kRight, p.x, p.y);
      break;
    case msg::kMButtonDown:
      DoMouseDown(TMouseButton::mbMiddle, shift | kMiddle, p.x, p.y);
      break;
    case msg::kMButtonUp:
      DoMouseUp(TMouseButton::mbMiddle, shift | kMiddle, p.x, p.y);
      break;
    default:
      break;
  }
}

void TskTrayIcon::ClickTimerTick() {
  ClickTimer.SetEnabled(false);
  if (!DoubleClicked && ClickReady) {
    ClickReady = false;
    DoClick();
  }
  DoubleClicked = false;
}

void TskTrayIcon::OpenMenu() {
  if (!PopupMenu_ || !PopupMenu_->AutoPopup) return;
  platform::Application::ProcessMessages();
  if (!PopupMenu_) return;  // removed while messages ran
  tray_.SetForeground();
  if (owner_) platform::BringToForeground(*owner_);
  const platform::Point p = platform::CursorPos();
  PopupMenu_->PopupComponent = this;
  PopupMenu_->Popup(p.x, p.y);
  tray_.AfterMenu();
}

void TskTrayIcon::CycleTick() {
  if (!IconList_ || IconList_->empty()) return;
  const int last = int(IconList_->size()) - 1;
  const int index = std::clamp(IconIndex_, 0, last);
  Icon_ = (*IconList_)[std::size_t(index)];
  const int next = index >= last ? 0 : index + 1;
  DoCycle(next);
  UpdateIcon();
  SetIconIndex(next);
}

}  // namespace skin
