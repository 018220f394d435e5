#include "skSkinForm.h"

#include "platform/Input.h"
#include "platform/SysColors.h"
#include "skSkinCtrls.h"
#include "skSkinHint.h"
#include "skSkinMenus.h"
#include "skTrayIcon.h"
#include "skUtils.h"

namespace skin {

namespace {
// Hover tracking and morph steps.
constexpr std::uint32_t kHoverInterval = 50;
constexpr std::uint32_t kMorphInterval = 20;
constexpr TskBorderIcons kDefaultBorderIcons =
    TskBorderIcon::biSystemMenu | TskBorderIcon::biMinimize | TskBorderIcon::biMaximize | TskBorderIcon::biRollUp;
// The caption fonts: Arial bold, 14 pixels.
constexpr int kCaptionFontHeight = 14;

TskCaptionFont CaptionFont(platform::SysColour colour) {
  TskCaptionFont f;
  f.font.name = "Arial";
  f.font.height = kCaptionFontHeight;
  f.font.style = platform::fontstyle::kBold;
  f.color = platform::SysColor(colour);
  return f;
}
}  // namespace

TskSkinForm::TskSkinForm(platform::Window& ownerForm)
    : owner_(ownerForm),
      DefCaptionFont_(CaptionFont(platform::SysColour::BtnText)),
      DefInActiveCaptionFont_(CaptionFont(platform::SysColour::BtnShadow)),
      SkinMenu_(&ownerForm),
      BorderIcons_(kDefaultBorderIcons),
      TrayMenu_(&ownerForm) {
  HoverTimer.SetEnabled(false);
  HoverTimer.SetInterval(kHoverInterval);
  HoverTimer.SetOnTimer([this] { HoverTick(); });
  MorphTimer.SetEnabled(false);
  MorphTimer.SetInterval(kMorphInterval);
  MorphTimer.SetOnTimer([this] { MorphTick(); });
  TrayMenu_.HostForm = &owner_;
  BuildTrayMenu();
  FadeTimer.SetEnabled(false);
  FadeTimer.SetInterval(1);
  FadeTimer.SetOnTimer([this] { FadeIn(); });
  hookId_ = owner_.AddMessageHook([this](platform::Window&, platform::Message& m) { return SkinWindowProc(m); });
  // The system draws no caption or border of its own over the skinned ones.
  owner_.SetOwnFrame(true);
  RegisterMenuHost(owner_, this);
}

TskSkinForm::~TskSkinForm() {
  // Messages after this reach the form's own handling again.
  owner_.RemoveMessageHook(hookId_);
  owner_.SetOwnFrame(false);
  RemoveKeyHook();
  // A maximized child going away gives its frame's caption and bar back; its
  // window-list item goes with it.
  if (IsMDIChild()) {
    const bool maximized = SkinWindowState_ == TWindowState::wsMaximized;
    SkinWindowState_ = TWindowState::wsNormal;
    if (maximized) SendToFrame(SKM_MDICHILDRESTORED);
    RemoveChildItem();
  }
  UnregisterMenuHost(owner_);
  // Nothing left elsewhere may call back into this component.
  SetTrayIcon(nullptr);
  RemoveSystemItems();
  HoverTimer.SetEnabled(false);
  MorphTimer.SetEnabled(false);
  ClearSkinObjects();
  if (WindowRegion_ && !owner_.Closed()) owner_.SetRegion(std::nullopt, false);
}

void TskSkinForm::Notification(TskComponent* removed) {
  if (removed == MenusSkinData_) MenusSkinData_ = nullptr;
  if (removed == SkinData_) {
    // The objects point into the skin data's pictures: go plain at once.
    SkinData_ = nullptr;
    SkinActive_ = false;
    ClearSkinObjects();
    RemoveRegion();
  }
  if (removed == SystemMenu_) {
    SystemMenu_ = nullptr;
    systemMenuMerged_ = false;
  }
  if (removed == TrayIcon_) {
    TrayIcon_ = nullptr;
    trayHandlesSet_ = false;
  }
  if (removed == SkinHint_) SkinHint_ = nullptr;
  if (removed == mainMenuBarComponent_) MainMenuBar_ = nullptr, mainMenuBarComponent_ = nullptr;
}

void TskSkinForm::SetShowIcon(bool value) {
  ShowIcon_ = value;
  if (!Designing()) SendNCPaint();
}

void TskSkinForm::SetSkinHint(TskSkinHint* hint) {
  SkinHint_ = hint;
  FreeNotification(hint);
}

void TskSkinForm::SetDefCaptionFont(const TskCaptionFont& font) {
  DefCaptionFont_ = font;
  if (!Designing() && !SkinActive_) SendNCPaint();
}

void TskSkinForm::SetDefInActiveCaptionFont(const TskCaptionFont& font) {
  DefInActiveCaptionFont_ = font;
  if (!Designing() && !SkinActive_) SendNCPaint();
}

void TskSkinForm::SetSkinData(TskSkinData* data) {
  SkinData_ = data;
  FreeNotification(data);
  TrayMenu_.SetSkinData(data);
  if (!Designing()) ApplySkinData();
}

void TskSkinForm::SetMenusSkinData(TskSkinData* data) {
  MenusSkinData_ = data;
  FreeNotification(data);
}

void TskSkinForm::SkinMenuOpened() {
  if (!MainMenuMode_) InstallKeyHook();
  if (MenuOpen_) return;
  MenuOpen_ = true;
  if (OnSkinMenuOpen) OnSkinMenuOpen(*this);
}

void TskSkinForm::SkinMenuClosed() {
  MenuOpen_ = false;
  // A button that opened the menu stays down until the menu has closed.
  for (auto& o : ObjectList)
    if (auto* b = dynamic_cast<TskSkinButtonObject*>(o.get()); b && b->HasMenu && b->Down) {
      b->SetDown(false);
      break;
    }
  if (OnSkinMenuClose) OnSkinMenuClose(*this);
  MainMenuMenuClosed();
}

void TskSkinForm::SetBorderIcons(TskBorderIcons icons) {
  BorderIcons_ = icons;
  if (!SkinActive_) {
    CreateDefaultButtons();
    if (!Designing()) SendNCPaint();
    return;
  }
  // A skinned form keeps the skin's buttons: plain buttons have no pictures to
  // draw with on a skinned frame. Only the visibility rule is applied again.
  CreateSkinObjects();
  ApplyBorderIcons();
  if (!Designing()) UpdateFrame(true);
}

bool TskSkinForm::FrameDrawn() const {
  // A maximized MDI child shows through its frame's caption and menu bar.
  return owner_.GetBorderStyle() != platform::BorderStyle::None &&
         !(IsMDIChild() && SkinWindowState_ == TWindowState::wsMaximized);
}

void TskSkinForm::SendNCPaint() { owner_.Perform(msg::kNCPaint, 0, 0); }

void TskSkinForm::CloseForm() { owner_.Perform(msg::kClose, 0, 0); }

void TskSkinForm::ResizeForm(const Rect& bounds) {
  sawSize_ = false;
  owner_.SetBounds(bounds);
  if (!sawSize_) owner_.Perform(msg::kSize, 0, 0);
}

void TskSkinForm::NudgeWidth() {
  // A borderless form has no frame to re-fit: its layout is redone in place, as
  // the size change would have done, instead of showing anyone watching it a
  // width it never keeps.
  if (owner_.GetBorderStyle() == platform::BorderStyle::None) {
    owner_.Perform(msg::kSize, 0, 0);
    return;
  }
  const Rect b = owner_.BoundsRect();
  const int step = b.Width() - 1 < MinFrameWidth() ? 1 : -1;
  ResizeForm({b.left, b.top, b.right + step, b.bottom});
  ResizeForm(b);
}

// --- objects ---

void TskSkinForm::ClearSkinObjects() {
  ObjectList.clear();
  HoverIndex = PrevHoverIndex = CaptureIndex = -1;
}

void TskSkinForm::CreateSkinObjects() {
  ClearSkinObjects();
  if (!SkinData_) return;
  for (const auto& r : SkinData_->SkinObjects) {
    const TskDataSkinObject* rec = r.get();
    if (dynamic_cast<const TskDataSkinMainMenuItem*>(rec) || dynamic_cast<const TskDataSkinMenuItem*>(rec) ||
        dynamic_cast<const TskDataSkinMainMenuBarButton*>(rec))
      continue;  // menu parts
    if (auto* sb = dynamic_cast<const TskDataSkinStdButton*>(rec))
      ObjectList.push_back(std::make_unique<TskSkinStdButtonObject>(*this, sb, sb->command, sb->IDName));
    else if (auto* b = dynamic_cast<const TskDataSkinButton*>(rec))
      ObjectList.push_back(std::make_unique<TskSkinButtonObject>(*this, b));
    else if (auto* c = dynamic_cast<const TskDataSkinCaption*>(rec))
      ObjectList.push_back(std::make_unique<TskSkinCaptionObject>(*this, c));
    else if (auto* u = dynamic_cast<const TskDataUserObject*>(rec))
      ObjectList.push_back(std::make_unique<TskUserObject>(*this, u));
  }
}

void TskSkinForm::CreateDefaultButtons() {
  ClearSkinObjects();
  const std::pair<TskStdCommand, const char*> buttons[] = {{TskStdCommand::cmClose, "closebutton"},
                                                           {TskStdCommand::cmMaximize, "maxbutton"},
                                                           {TskStdCommand::cmMinimize, "minbutton"},
                                                           {TskStdCommand::cmRollUp, "rollupbutton"},
                                                           {TskStdCommand::cmSysMenu, "sysmenubutton"}};
  for (const auto& [command, name] : buttons) {
    auto b = std::make_unique<TskSkinStdButtonObject>(*this, nullptr, command, name);
    b->SkinRectInAPicture = true;
    b->SkinRect = b->ActiveSkinRect = b->DownRect = {0, 0, 1, 1};
    ObjectList.push_back(std::move(b));
  }
  ApplyBorderIcons();
}

void TskSkinForm::ApplyBorderIcons() {
  for (auto& o : ObjectList) {
    auto* b = dynamic_cast<TskSkinStdButtonObject*>(o.get());
    if (!b) continue;
    bool present = true;
    switch (b->Command) {
      case TskStdCommand::cmRollUp: present = Has(BorderIcons_, TskBorderIcon::biRollUp); break;
      case TskStdCommand::cmMaximize: present = Has(BorderIcons_, TskBorderIcon::biMaximize); break;
      case TskStdCommand::cmMinimize: present = Has(BorderIcons_, TskBorderIcon::biMinimize); break;
      case TskStdCommand::cmSysMenu: present = Has(BorderIcons_, TskBorderIcon::biSystemMenu); break;
      default: break;
    }
    if (present) continue;
    // A button painted as part of the frame picture stays visible but inert; so
    // does a plain-frame button, which draws its glyph greyed when disabled.
    b->Enabled = false;
    b->Visible = !b->SkinRectInAPicture || !b->HasRecord;
  }
}

void TskSkinForm::ResetObjectStates() {
  for (auto& o : ObjectList)
    if (!o->IsCaption()) {
      o->Active = false;
      o->MorphFactor = 0;
    }
}

// --- skin ---

void TskSkinForm::ApplySkinData() {
  HoverIndex = PrevHoverIndex = CaptureIndex = -1;
  SkinActive_ = UsableSkin();
  if (SkinActive_) {
    CreateSkinObjects();
    ApplyBorderIcons();
  } else {
    ClearSkinObjects();
    RemoveRegion();
  }
  const Rect b = owner_.BoundsRect();
  const int minW = MinFrameWidth(), minH = MinFrameHeight();
  if (b.Width() < minW && b.Height() < minH)
    ResizeForm({b.left, b.top, b.left + minW, b.top + minH});
  else if (b.Height() < minH)
    ResizeForm({b.left, b.top, b.right, b.top + minH});
  else if (b.Width() < minW)
    ResizeForm({b.left, b.top, b.left + minW, b.bottom});
  else
    NudgeWidth();
  const Rect c = owner_.BoundsRect();
  if ((RolledUp_ || SkinWindowState_ == TWindowState::wsMinimized) && c.Height() != minH)
    ResizeForm({c.left, c.top, c.right, c.top + minH});
  const Rect d = owner_.BoundsRect();
  if (SkinWindowState_ == TWindowState::wsMinimized && d.Width() != minW)
    ResizeForm({d.left, d.top, d.left + minW, d.bottom});
  FrameWidth = FormWidth();
  FrameHeight = FormHeight();
  if (SkinActive_) UpdateFrame(true);
  owner_.Invalidate();
  RefitChildren();
  SetFrameActive(!(IsMDIChild() && SkinWindowState_ == TWindowState::wsMaximized));
  HoverTimer.SetEnabled(true);
  if (OnChangeSkinData) OnChangeSkinData(*this);
}

void TskSkinForm::SetFrameActive(bool repaint) {
  const bool a = IsFormActive();
  for (auto& o : ObjectList) {
    if (!o->IsCaption() || o->Active == a) continue;
    o->Active = a;
    if (repaint) {
      SendNCPaint();
      if (o->Morphing) MorphTimer.SetEnabled(true);
    } else if (o->Morphing) {
      o->MorphFactor = a ? 1.0 : 0.0;
    }
    break;
  }
  if (a ? bool(OnActivate) : bool(OnDeActivate)) (a ? OnActivate : OnDeActivate)(*this);
}

// --- messages ---

bool TskSkinForm::SkinWindowProc(platform::Message& m) {
  if (m.msg == msg::kSize) sawSize_ = true;
  if (IsMenuCloseMessage(m.msg)) CloseMenusOnMessage();
  if (MainMenuMessage(m)) return true;
  const bool handled = HandleMessage(m);
  RouteMouse(m);
  const bool captionOnly = CaptionMouse(m);
  return handled || captionOnly;
}

void TskSkinForm::CloseMenusOnMessage() {
  // Whatever closes menus also takes the object hint away, and the open menus.
  if (ShowObjectHint && SkinHint_) SkinHint_->HideHintText();
  if (MainMenuMode_ && !MenuOpen_) {
    LeaveMainMenuMode();
  } else if (SkinMenu_.IsOpen) {
    SkinMenu_.CloseAllMenus();
  } else if (MenuOpen_) {
    SkinMenuClosed();
  } else if (IsMDIForm() && owner_.Visible()) {
    // A menu of the active child closes with its frame's messages too.
    if (TskSkinForm* child = FindFormComponent(owner_.ActiveMDIChild())) child->CloseMenusOnMessage();
  }
}

bool TskSkinForm::HandleMessage(platform::Message& m) {
  switch (m.msg) {
    case SKM_SKINMENUCLOSED:
      SkinMenuClosed();
      return false;
    case msg::kDestroy:
      HoverTimer.SetEnabled(false);
      MorphTimer.SetEnabled(false);
      if (IsMDIChild()) {
        SkinWindowState_ = TWindowState::wsNormal;
        SendToFrame(SKM_MDICHILDRESTORED);
        // A closed child is listed no more.
        RemoveChildItem();
      }
      return false;
    case SKM_MDICHILDREFIT:
    case SKM_MDICHILDMAXIMIZED:
    case SKM_MDICHILDRESTORED:
      MDIMessage(m);
      return false;
    case SKM_AFTERCHANGE:
      if (m.wParam == reinterpret_cast<std::uintptr_t>(SkinData_)) RefitChildren();
      return false;
    case msg::kMouseActivate:
      if (IsMDIChild() && !FormActive_ && owner_.MDIFrame() && owner_.MDIFrame()->ActiveMDIChild() == &owner_) {
        FormActive_ = true;
        SetFrameActive(SkinWindowState_ != TWindowState::wsMaximized);
      }
      return false;
    case msg::kSize:
      FrameWidth = FormWidth();
      FrameHeight = FormHeight();
      if (!SkinActive_)
        SendNCPaint();
      else if (FrameWidth >= MinFrameWidth() && FrameHeight >= MinFrameHeight())
        UpdateFrame(true);
      // The frame's client area is the children's: they follow its size.
      RefitChildren();
      // A translucent window shows its new size at once.
      if (AlphaBlend_ && AlphaBlendValue_ != 255 && LayeredWindowsAvailable()) {
        SendNCPaint();
        owner_.Invalidate();
      }
      return false;
    case msg::kActivate:
      FormActive_ = (m.wParam & 0xFFFF) != msg::kInactive;
      SendNCPaint();
      if (IsMDIChild() && SkinWindowState_ == TWindowState::wsMaximized) {
        SetFrameActive(false);
      } else {
        ResetObjectStates();
        SetFrameActive(true);
      }
      return false;
    case msg::kSetText:
      if (FrameDrawn()) SendNCPaint();
      if (IsMDIChild()) {
        RenameChildItem();
        // The frame's caption shows a maximized child's.
        if (SkinWindowState_ == TWindowState::wsMaximized)
          if (platform::Window* frame = owner_.MDIFrame()) frame->Perform(msg::kNCPaint, 0, 0);
      }
      return false;
    case msg::kEraseBackground: {
      // Off-screen painting passes the client-sized bitmap in lParam; a device
      // context (lParam 0) is left to the platform.
      auto* canvas = reinterpret_cast<platform::Bitmap*>(m.lParam);
      if (!canvas) return false;
      PaintClientBackground(*canvas);
      m.result = 1;
      return true;
    }
    case msg::kShowWindow:
      if (m.wParam == 0) {
        if (IsMDIChild()) RemoveChildItem();
        WindowHidden();
        return false;
      }
      StartFadeIn();
      if (IsMDIChild()) AddChildItem();
      // Shown: a size change makes the platform ask for the frame's client area again.
      NudgeWidth();
      return false;
    case msg::kGetMinMaxInfo:
      if (auto* info = reinterpret_cast<platform::MinMaxInfo*>(m.lParam)) {
        info->minTrackSize = {MinFrameWidth(), MinFrameHeight()};
        info->maxTrackSize = MaxTrackSize();
      }
      return false;
    case msg::kSysCommand:
      return SystemCommand(m.wParam);
    case msg::kMoving:
      if (auto* r = reinterpret_cast<Rect*>(m.lParam)) Moving(*r);
      return false;
    case msg::kNCCalcSize: {
      // lParam points to the proposed window rectangle, which becomes the client's.
      auto* r = reinterpret_cast<Rect*>(m.lParam);
      if (r && FrameDrawn()) {
        if (UsableSkin()) {
          CalcFrameLayout();
          *r = SkinnedClientRect(*SkinData_, *r);
        } else {
          *r = DefaultClientRect(*r, kDefaultCaptionHeight);
        }
      }
      m.result = 0;
      return true;
    }
    case msg::kNCHitTest: {
      const Point p = ScreenToFrame(platform::ParamToPoint(m.lParam));
      m.result = HitTest(p);
      if (!HoverTimer.Running() && m.result == hit::kObject) {
        UpdateHover(p.x, p.y, true);
        HoverTimer.SetEnabled(true);
      }
      return true;
    }
    case msg::kNCPaint:
      PaintFrame();
      m.result = 0;
      return true;
    case msg::kNCActivate: {
      FormActive_ = m.wParam != 0;
      // The system never paints its own caption over the skinned one. (The MDI
      // forms have no system MDI handling to pass the activation on to: the
      // platform keeps their activation itself.)
      m.result = 1;
      if (FrameDrawn()) {
        SendNCPaint();
        SetFrameActive(true);
      } else {
        SetFrameActive(false);
      }
      if (IsMDIChild()) {
        CheckActiveChildItem();
        if (SkinWindowState_ == TWindowState::wsMaximized)
          if (platform::Window* frame = owner_.MDIFrame()) frame->Perform(msg::kNCPaint, 0, 0);
      }
      return true;
    }
    case msg::kEnterSizeMove:
      InSizeMove = true;
      return false;
    case msg::kExitSizeMove:
      InSizeMove = false;
      if (UsableSkin()) SendNCPaint();
      return false;
    case SKM_BEFORECHANGE:
      if (m.wParam == reinterpret_cast<std::uintptr_t>(SkinData_)) {
        SkinActive_ = false;
        HoverTimer.SetEnabled(false);
        MorphTimer.SetEnabled(false);
        ClearSkinObjects();
      }
      NotifyControlsBeforeChange(owner_, reinterpret_cast<const TskSkinData*>(m.wParam));
      return false;
    case SKM_CHANGE:
      if (SkinData_ && m.wParam == reinterpret_cast<std::uintptr_t>(SkinData_)) ApplySkinData();
      NotifyControlsChange(owner_, reinterpret_cast<const TskSkinData*>(m.wParam));
      return false;
    default: return false;
  }
}

void TskSkinForm::MorphTick() {
  bool stepped = false;
  for (auto& o : ObjectList)
    if (o->Morphing && o->CanMorph()) {
      o->MorphStep();
      stepped = true;
    }
  if (!stepped) MorphTimer.SetEnabled(false);
}

}  // namespace skin
