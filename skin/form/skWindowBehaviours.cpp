// The frame's own window behaviours. The form's platform state stays normal:
// maximizing, minimizing to a caption strip and rolling up are done by moving
// and sizing the window. Also the tray, magnetic work-area edges, the alpha
// fade-in and the skinned system menu.
#include <algorithm>

#include "platform/Application.h"
#include "platform/Input.h"
#include "skSkinForm.h"
#include "skTrayIcon.h"
#include "skUtils.h"

namespace skin {

namespace {
constexpr std::uint8_t kOpaque = 255;
constexpr int kFadeStep = 5;
}  // namespace

TskSkinForm* TskSkinForm::FindFormComponent(const platform::Window* form) {
  return dynamic_cast<TskSkinForm*>(FindMenuHost(form));
}

bool TskSkinForm::IsMainForm() const {
  return platform::Application::Exists() && platform::Application::Instance().MainForm() == &owner_;
}

// --- window states ---

void TskSkinForm::SetSkinWindowState(TWindowState state) {
  if (state == SkinWindowState_) return;
  // The main form minimizes the application instead.
  if (!(state == TWindowState::wsMinimized && IsMainForm())) SkinWindowState_ = state;
  switch (state) {
    case TWindowState::wsNormal: RestoreFrame(); break;
    case TWindowState::wsMinimized: MinimizeFrame(); break;
    case TWindowState::wsMaximized: MaximizeFrame(); break;
  }
}

void TskSkinForm::MinimizeFrame() {
  if (IsMainForm()) {
    platform::Application::Instance().Minimize();
    return;
  }
  if (RestoreBounds_.Empty()) RestoreBounds_ = owner_.BoundsRect();
  const Point p = FindMinimizedSlot();
  ResizeForm({p.x, p.y, p.x + MinFrameWidth(), p.y + MinFrameHeight()});
  // The strip's buttons show their restore look.
  SendNCPaint();
  // A child maximized until now gives the frame its own caption and bar back.
  if (IsMDIChild()) SendToFrame(SKM_MDICHILDRESTORED);
}

void TskSkinForm::MaximizeFrame() {
  if (RestoreBounds_.Empty()) RestoreBounds_ = owner_.BoundsRect();
  // A rolled-up frame would fill the work area with its client out of reach:
  // it is rolled down, and comes back unrolled. (Rolled up while maximized, the
  // normal bounds were kept unrolled already.)
  if (RolledUp_) {
    if (!RolledUpMaximized_)
      RestoreBounds_.bottom = RestoreBounds_.top + std::max(RollUpHeight_, MinFrameHeight());
    RolledUp_ = RolledUpMaximized_ = false;
    if (OnChangeRollUpState) OnChangeRollUpState(*this);
  }
  if (IsMDIChild()) {
    // The frame's caption and menu bar stand in for the child's frame.
    HoverTimer.SetEnabled(false);
    UpdateHover(-1, -1, false);
    const Rect before = owner_.BoundsRect();
    ResizeForm(MDIClientArea());
    const Rect after = owner_.BoundsRect();
    if (after.Width() == before.Width() && after.Height() == before.Height()) NudgeWidth();
    SendToFrame(SKM_MDICHILDMAXIMIZED);
    return;
  }
  const Point screen = platform::DesktopSize();
  ResizeForm(MaximizeOnFullScreen ? Rect{0, 0, screen.x, screen.y} : platform::WorkArea());
  SendNCPaint();
}

void TskSkinForm::RestoreFrame() {
  // A roll-up made while maximized ends with it: the normal bounds are unrolled.
  if (RolledUpMaximized_ && RolledUp_) {
    RolledUp_ = false;
    if (OnChangeRollUpState) OnChangeRollUpState(*this);
  }
  RolledUpMaximized_ = false;
  const Rect before = owner_.BoundsRect();
  if (!RestoreBounds_.Empty()) ResizeForm(RestoreBounds_);
  HoverTimer.SetEnabled(true);
  const Rect after = owner_.BoundsRect();
  if (after.Width() == before.Width() && after.Height() == before.Height()) NudgeWidth();
  SendNCPaint();
  owner_.Invalidate();
  if (IsMDIChild() && SkinWindowState_ != TWindowState::wsMaximized) SendToFrame(SKM_MDICHILDRESTORED);
  RestoreBounds_ = {};
}

Point TskSkinForm::FindMinimizedSlot() const {
  // An MDI child's strips line up in its frame's client area, among its siblings.
  const bool child = IsMDIChild();
  const Rect area = child ? MDIClientArea() : platform::WorkArea();
  const int w = MinFrameWidth(), h = MinFrameHeight();
  const platform::Window* main =
      platform::Application::Exists() ? platform::Application::Instance().MainForm() : nullptr;
  static const std::vector<platform::Window*> none;
  const std::vector<platform::Window*>& others =
      child ? (owner_.MDIFrame() ? owner_.MDIFrame()->MDIChildren() : none)
            : (platform::Application::Exists() ? platform::Application::Instance().Forms() : none);
  auto taken = [&](Point p) {
    for (const platform::Window* f : others) {
      if (f == &owner_ || f == main || !f->Visible()) continue;
      const TskSkinForm* other = FindFormComponent(f);
      if (!other || other->SkinWindowState() != TWindowState::wsMinimized) continue;
      const Rect b = f->BoundsRect();
      if (b.left == p.x && b.top == p.y) return true;
    }
    return false;
  };
  Point p{area.left, area.bottom - h};
  while (taken(p)) {
    p.x += w;
    if (p.x + w > area.right) {
      p.x = area.left;
      p.y -= h;
      // Every row is full: the first slot once more.
      if (p.y < area.top) return {area.left, area.bottom - h};
    }
  }
  return p;
}

void TskSkinForm::SetRollUp(bool rolledUp) {
  // Rolling up twice would take the strip's height as the height to come back to.
  if (rolledUp == RolledUp_) return;
  if (!Has(BorderIcons_, TskBorderIcon::biRollUp)) return;
  const bool maximized = SkinWindowState_ == TWindowState::wsMaximized;
  if (RolledUp_ && maximized && !RolledUpMaximized_) return;
  if (SkinWindowState_ == TWindowState::wsMinimized) return;
  if (maximized) RolledUpMaximized_ = rolledUp;
  RolledUp_ = rolledUp;
  const Rect b = owner_.BoundsRect();
  if (rolledUp) {
    RollUpHeight_ = b.Height();
    ResizeForm({b.left, b.top, b.right, b.top + MinFrameHeight()});
  } else {
    ResizeForm({b.left, b.top, b.right, b.top + std::max(RollUpHeight_, MinFrameHeight())});
  }
  SendNCPaint();
  if (OnChangeRollUpState) OnChangeRollUpState(*this);
}

Point TskSkinForm::MaxTrackSize() const {
  if (MaximizeOnFullScreen) return platform::DesktopSize();
  const Rect area = platform::WorkArea();
  return {area.Width(), area.Height()};
}

bool TskSkinForm::CaptionMouse(const platform::Message& m) {
  if (m.wParam != std::uintptr_t(hit::kCaption)) return false;
  // The caption's right button and double click are the frame's own: passed on,
  // the platform would open its system menu or change its window state as well.
  if (m.msg == msg::kNCRButtonUp) return true;
  if (m.msg == msg::kNCRButtonDown) {
    const Point p = platform::CursorPos();
    PopupSystemMenu(p.x, p.y);
    return true;
  }
  if (m.msg != msg::kNCLButtonDblClk) return false;
  const bool sizable = Sizable();
  const bool maximized = SkinWindowState_ == TWindowState::wsMaximized;
  if (sizable && SkinWindowState_ == TWindowState::wsMinimized)
    SetSkinWindowState(TWindowState::wsNormal);
  else if (sizable && !maximized && !RolledUp_ && Has(BorderIcons_, TskBorderIcon::biMaximize))
    SetSkinWindowState(TWindowState::wsMaximized);
  else if (sizable && maximized && !RolledUpMaximized_)
    SetSkinWindowState(TWindowState::wsNormal);
  else
    SetRollUp(!RolledUp_);
  return true;
}

bool TskSkinForm::SystemCommand(std::uintptr_t command) {
  // The low four bits are the system's own.
  switch (command & 0xFFF0) {
    case msg::kScMinimize: SetSkinWindowState(TWindowState::wsMinimized); return true;
    case msg::kScMaximize: SetSkinWindowState(TWindowState::wsMaximized); return true;
    case msg::kScRestore: SetSkinWindowState(TWindowState::wsNormal); return true;
    default: return false;
  }
}

// --- moving ---

void TskSkinForm::Moving(Rect& proposed) const {
  const Rect b = owner_.BoundsRect();
  if (SkinWindowState_ == TWindowState::wsMaximized && !IsMDIChild()) {
    proposed = b;  // a maximized window cannot be dragged
    return;
  }
  if (!Magnetic) return;
  int l = proposed.left, t = proposed.top;
  SnapToEdges(l, t, b.Width(), b.Height());
  proposed = {l, t, l + b.Width(), t + b.Height()};
}

void TskSkinForm::SnapToEdges(int& L, int& T, int W, int H) const {
  // An MDI child's position is in its frame's client coordinates, as is its area.
  const Rect a = IsMDIChild() ? MDIClientArea() : platform::WorkArea();
  const int m = MagneticSize;
  auto within = [m](int v, int edge) { return edge - m < v && v < edge + m; };
  if (within(L, a.left)) L = a.left;
  if (within(T, a.top)) T = a.top;
  // The far edges win when both apply.
  if (within(L + W, a.right)) L = a.right - W;
  if (within(T + H, a.bottom)) T = a.bottom - H;
}

// --- tray ---

void TskSkinForm::SetTrayIcon(TskTrayIcon* icon) {
  if (TrayIcon_ && trayHandlesSet_ && TrayIcon_ != icon) {
    // The old icon must not call back into this component.
    if (TrayIcon_->PopupMenu() == &TrayMenu_) TrayIcon_->SetPopupMenu(nullptr);
    TrayIcon_->OnDblClick = nullptr;
  }
  trayHandlesSet_ = false;
  TrayIcon_ = icon;
  if (!icon) return;
  FreeNotification(icon);
  icon->SetIconVisible(false);
  icon->MinimizeToTray = false;
  if (icon->Designing() || icon->PopupMenu()) return;
  icon->SetPopupMenu(&TrayMenu_);
  icon->OnDblClick = [this](TskTrayIcon&) { RestoreFromTray(); };
  trayHandlesSet_ = true;
}

void TskSkinForm::MinimizeToTray() {
  if (!TrayIcon_ || !platform::Application::Exists()) return;
  TrayIcon_->MinimizeToTray = true;
  platform::Application::Instance().Minimize();
  if (OnMinimizeToTray) OnMinimizeToTray(*this);
}

void TskSkinForm::RestoreFromTray() {
  if (!TrayIcon_ || !platform::Application::Exists()) return;
  TrayIcon_->MinimizeToTray = false;
  TrayIcon_->RestoreMainForm();
  platform::Application::Instance().Restore();
  TrayIcon_->SetIconVisible(false);
  if (OnRestoreFromTray) OnRestoreFromTray(*this);
}

void TskSkinForm::BuildTrayMenu() {
  platform::MenuItem& restore = TrayMenu_.Items.Add("&Restore", [this](platform::MenuItem&) { RestoreFromTray(); });
  restore.Name = TRAY_SKF_RESTORE;
  TrayMenu_.Items.Add("-");
  platform::MenuItem& close = TrayMenu_.Items.Add("&Close", [this](platform::MenuItem&) { CloseForm(); });
  close.Name = TRAY_SKF_CLOSE;
  close.ShortCut = IsMDIChild() ? "Ctrl+F4" : "Alt+F4";
}

// --- translucency ---

bool TskSkinForm::LayeredFade() const {
  return LayeredWindowsAvailable() && (AlphaBlend_ || AlphaBlendAnimation);
}

void TskSkinForm::SetAlphaBlend(bool value) {
  if (value == AlphaBlend_) return;
  AlphaBlend_ = value;
  if (Designing() || !LayeredWindowsAvailable()) return;
  if (value)
    SetWindowAlpha(owner_, AlphaBlendValue_);
  else
    owner_.SetAlpha(std::nullopt);
}

void TskSkinForm::SetAlphaBlendValue(std::uint8_t value) {
  if (value == AlphaBlendValue_) return;
  AlphaBlendValue_ = value;
  if (AlphaBlend_ && !Designing() && LayeredWindowsAvailable()) SetWindowAlpha(owner_, value);
}

void TskSkinForm::SetMenusAlphaBlendValue(std::uint8_t value) {
  MenusAlphaBlendValue_ = value;
  SkinMenu_.BlendValue = value;
}

void TskSkinForm::StartFadeIn() {
  if (!LayeredFade()) return;
  SetWindowAlpha(owner_, 0);
  FadeTimer.SetEnabled(true);
}

void TskSkinForm::FadeIn() {
  // Fired once, whatever changed meanwhile.
  FadeTimer.SetEnabled(false);
  if (!LayeredFade()) return;
  const std::uint8_t target = AlphaBlendAnimation && !AlphaBlend_ ? kOpaque : AlphaBlendValue_;
  if (AlphaBlendAnimation) {
    // Pending paints get through once; the steps then follow without waiting.
    platform::Application::ProcessMessages();
    int a = 0;
    do {
      a = std::min(a + kFadeStep, int(target));
      SetWindowAlpha(owner_, std::uint8_t(a));
    } while (a < target);
  } else if (target != kOpaque) {
    SetWindowAlpha(owner_, AlphaBlendValue_);
  }
  if (target == kOpaque) owner_.SetAlpha(std::nullopt);
}

void TskSkinForm::WindowHidden() {
  if (LayeredWindowsAvailable() && AlphaBlend_) owner_.SetAlpha(std::nullopt);
}

// --- menus ---

void TskSkinForm::SetSystemMenu(TskSkinPopupMenu* menu) {
  if (menu != SystemMenu_) RemoveSystemItems();
  SystemMenu_ = menu;
  FreeNotification(menu);
}

bool TskSkinForm::SystemItemShown(const char* name) const {
  const std::string_view n = name;
  const TWindowState s = SkinWindowState_;
  if (n == SKF_MINITEM) return s != TWindowState::wsMinimized && Has(BorderIcons_, TskBorderIcon::biMinimize);
  if (n == SKF_MAXITEM) return s != TWindowState::wsMaximized && Has(BorderIcons_, TskBorderIcon::biMaximize);
  if (n == SKF_RESTORE) return s != TWindowState::wsNormal || RolledUp_;
  if (n == SKF_ROLLUP)
    return !(IsMDIChild() && s == TWindowState::wsMaximized) && !RolledUp_ && s != TWindowState::wsMinimized &&
           Has(BorderIcons_, TskBorderIcon::biRollUp);
  if (n == SKF_MINTOTRAY) return Has(BorderIcons_, TskBorderIcon::biMinimizeToTray);
  return true;  // SKF_CLOSE
}

void TskSkinForm::AddSystemItem(platform::MenuItem& parent, int index, const char* name) {
  const std::string_view n = name;
  std::function<void(platform::MenuItem&)> action;
  std::string caption;
  if (n == SKF_MINITEM) {
    caption = "Mi&nimize";
    action = [this](platform::MenuItem&) { SetSkinWindowState(TWindowState::wsMinimized); };
  } else if (n == SKF_MAXITEM) {
    caption = "Ma&ximize";
    action = [this](platform::MenuItem&) { SetSkinWindowState(TWindowState::wsMaximized); };
  } else if (n == SKF_RESTORE) {
    caption = "&Restore";
    action = [this](platform::MenuItem&) {
      // A strip is restored first: a roll-up cannot change while minimized.
      if (SkinWindowState_ != TWindowState::wsMinimized &&
          (RolledUpMaximized_ || (RolledUp_ && SkinWindowState_ == TWindowState::wsNormal)))
        SetRollUp(false);
      else
        SetSkinWindowState(TWindowState::wsNormal);
    };
  } else if (n == SKF_ROLLUP) {
    caption = "Ro&llUp";
    action = [this](platform::MenuItem&) { SetRollUp(true); };
  } else if (n == SKF_MINTOTRAY) {
    caption = "Minimize to &Tray";
    action = [this](platform::MenuItem&) { MinimizeToTray(); };
  } else {
    caption = "&Close";
    action = [this](platform::MenuItem&) { CloseForm(); };
  }
  platform::MenuItem& item = parent.Insert(index, caption, std::move(action));
  item.Name = name;
  if (n == SKF_CLOSE) item.ShortCut = IsMDIChild() ? "Ctrl+F4" : "Alt+F4";
}

void TskSkinForm::RemoveSystemItems() {
  if (!SystemMenu_ || !systemMenuMerged_) return;
  systemMenuMerged_ = false;
  platform::MenuItem& items = SystemMenu_->Items;
  const char* const ours[] = {SKF_MINITEM, SKF_MAXITEM, SKF_CLOSE, SKF_MINTOTRAY, SKF_ROLLUP, SKF_RESTORE};
  for (int i = 0; i < items.Count(); ++i)
    if (std::find_if(std::begin(ours), std::end(ours), [&](const char* n) { return items[i].Name == n; }) !=
        std::end(ours))
      items.Delete(i--);
}

void TskSkinForm::MergeSystemMenu() {
  if (!UseDefaultSysMenu || !SystemMenu_) return;
  systemMenuMerged_ = true;
  RemoveSystemItems();
  systemMenuMerged_ = true;
  platform::MenuItem& items = SystemMenu_->Items;
  // Each goes to the top, so the menu reads Minimize, Restore, Maximize, RollUp, Minimize to Tray.
  for (const char* name : {SKF_MINTOTRAY, SKF_ROLLUP, SKF_MAXITEM, SKF_RESTORE, SKF_MINITEM})
    if (SystemItemShown(name)) AddSystemItem(items, 0, name);
  AddSystemItem(items, items.Count(), SKF_CLOSE);
}

void TskSkinForm::BuildDefaultSystemMenu() {
  platform::MenuItem& items = InternalSysMenu.Items;
  items.Clear();
  for (const char* name : {SKF_MINITEM, SKF_MAXITEM, SKF_RESTORE, SKF_ROLLUP, SKF_MINTOTRAY})
    if (SystemItemShown(name)) AddSystemItem(items, items.Count(), name);
  if (items.Count() > 0) items.Add("-");
  AddSystemItem(items, items.Count(), SKF_CLOSE);
}

platform::MenuItem& TskSkinForm::GetSystemMenuItems() {
  if (SystemMenu_) {
    MergeSystemMenu();
    return SystemMenu_->Items;
  }
  BuildDefaultSystemMenu();
  return InternalSysMenu.Items;
}

void TskSkinForm::PopupSystemMenu(int x, int y) { ShowSystemMenu({x, y, x, y}); }

void TskSkinForm::TrackSystemMenu(const Rect& objectRect) {
  const Rect b = owner_.BoundsRect();
  // An MDI child's bounds are in its frame's client coordinates.
  const platform::Window* frame = IsMDIChild() ? owner_.MDIFrame() : nullptr;
  const Point o = frame ? frame->ClientToScreen({b.left, b.top}) : Point{b.left, b.top};
  ShowSystemMenu({objectRect.left + o.x, objectRect.top + o.y, objectRect.right + o.x, objectRect.bottom + o.y});
}

void TskSkinForm::ShowSystemMenu(const Rect& screenRect) {
  // The items are rebuilt below: no open level may still show the old ones.
  if (SkinMenu_.IsOpen) SkinMenu_.CloseAllMenus();
  platform::MenuItem& items = GetSystemMenuItems();
  SkinMenuOpened();
  SkinMenu_.ShowMenu(nullptr, MenusSkinData_ ? MenusSkinData_ : SkinData_, 0, screenRect, items, false);
}

}  // namespace skin
