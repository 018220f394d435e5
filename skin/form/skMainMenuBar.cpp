#include "skMainMenuBar.h"

#include "platform/Input.h"
#include "platform/SysColors.h"
#include "platform/TrayIcon.h"
#include "skSkinMenus.h"
#include "skUtils.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;

namespace {
constexpr std::uint32_t kHoverInterval = 50;
constexpr std::uint32_t kMorphInterval = 20;
// Width of the overflow mark at the right end of the items area.
constexpr int kMarkWidth = 5;
// Room between a child button and its neighbour.
constexpr int kButtonGap = 2;


TskFont DefaultItemFont() {
  TskFont f;
  f.font = platform::Font{"Arial", 14, 0, 1};
  f.color = SysColor(SysColour::BtnText);
  return f;
}
}  // namespace

// --- main menu with a skin of its own ---

void TskSkinMainMenu::SetSkinData(TskSkinData* value) {
  SkinData_ = value;
  FreeNotification(value);
}

void TskSkinMainMenu::Notification(TskComponent* removed) {
  if (removed == SkinData_) SkinData_ = nullptr;
}

// --- bar ---

TskSkinMainMenuBar::TskSkinMainMenuBar(platform::Window& parent)
    : TskSkinControl(parent), DefItemFont_(DefaultItemFont()) {
  SkinDataName = "mainmenubar";
  BarHoverTimer.SetEnabled(false);
  BarHoverTimer.SetInterval(kHoverInterval);
  BarHoverTimer.SetOnTimer([this] { HoverTick(); });
  BarMorphTimer.SetEnabled(false);
  BarMorphTimer.SetInterval(kMorphInterval);
  BarMorphTimer.SetOnTimer([this] { MorphTick(); });
  // Aligned to the top of the parent's client area.
  Align = platform::ControlAlign::Top;
  parentHook_ = parent.AddMessageHook([this](platform::Window& w, platform::Message& m) {
    if (m.msg == msg::kSize) SetBounds(0, 0, w.ClientSize().x, Height());
    return false;
  });
  SetBounds(0, 0, parent.ClientSize().x, DefaultHeight_);
}

TskSkinMainMenuBar::~TskSkinMainMenuBar() {
  BarHoverTimer.SetEnabled(false);
  BarMorphTimer.SetEnabled(false);
  if (platform::Window* parent = Parent()) parent->RemoveMessageHook(parentHook_);
  // A menu the bar opened must not tell a bar that is gone.
  if (SkinForm_ && SkinForm_->SkinMenu().NotifyControl == this) SkinForm_->SkinMenu().NotifyControl = nullptr;
}

void TskSkinMainMenuBar::Notification(TskComponent* removed) {
  if (removed == SkinForm_) SkinForm_ = nullptr;
  if (removed == MaximizedChild) HideChildButtons(nullptr);
  if (removed == dynamic_cast<TskComponent*>(MainMenu_)) {
    MainMenu_ = nullptr;
    ClearObjects();
  }
  // The objects point into the skin's pictures: they go before the skin does,
  // and come back plain.
  const bool skinGone = removed && removed == SkinData();
  if (skinGone) ClearObjects();
  TskSkinControl::Notification(removed);
  if (skinGone) {
    RebuildItems();
    Invalidate();
  }
}

void TskSkinMainMenuBar::SetDefItemFont(const TskFont& font) {
  DefItemFont_ = font;
  if (!BarSkinActive) Invalidate();
}

void TskSkinMainMenuBar::SetDefaultWidth(int value) {
  DefaultWidth_ = value;
  if (!BarSkinActive && value > 0) SetWidth(value);
}

void TskSkinMainMenuBar::SetDefaultHeight(int value) {
  DefaultHeight_ = value;
  if (!BarSkinActive && value > 0) SetHeight(value);
}

void TskSkinMainMenuBar::SetSkinForm(TskSkinForm* form) {
  SkinForm_ = form;
  FreeNotification(form);
}

void TskSkinMainMenuBar::SetMainMenu(platform::Menu* menu) {
  MainMenu_ = menu;
  FreeNotification(dynamic_cast<TskComponent*>(menu));
  RebuildItems();
  Invalidate();
}

TskSkinMainMenuBarItem* TskSkinMainMenuBar::Item(std::size_t index) const {
  return static_cast<TskSkinMainMenuBarItem*>(BarObjects[std::size_t(ChildButtonCount) + index].get());
}

Rect TskSkinMainMenuBar::ScreenRect(const Rect& r) const {
  const Point tl = ClientToScreen({r.left, r.top});
  return {tl.x, tl.y, tl.x + r.Width(), tl.y + r.Height()};
}

Rect TskSkinMainMenuBar::OverflowMarkRect() const {
  return {ItemsArea.right - kMarkWidth, ItemsArea.top, ItemsArea.right, ItemsArea.bottom};
}

void TskSkinMainMenuBar::DrawObjectNow(TskMenuBarObject&) {
  // The bar is drawn whole: an item's place depends on the items before it.
  Invalidate();
}

// --- skin ---

void TskSkinMainMenuBar::ReadSkinRecord() {
  TskSkinControl::ReadSkinRecord();
  const auto* r = SkinRecordAs<TskDataSkinMainMenuBar>();
  BarSkinActive = r != nullptr;
  BarPicture = nullptr;
  if (!r) return;
  skinrect = r->skinrect;
  itemsrect = r->itemsrect;
  menubaritem = r->menubaritem;
  closebutton = r->closebutton;
  maxbutton = r->maxbutton;
  minbutton = r->minbutton;
  sysmenubutton = r->sysmenubutton;
  trackmarkcolor = r->trackmarkcolor;
  trackmarkactivecolor = r->trackmarkactivecolor;
  BarPicture = SkinData()->GetActivePicture(r->pictureindex);
}

void TskSkinMainMenuBar::SkinChanging() {
  BarSkinActive = false;
  ClearObjects();
  TskSkinControl::SkinChanging();
}

void TskSkinMainMenuBar::SkinChanged() {
  ReadSkinRecord();
  RebuildItems();
  ApplyHeight();
  Invalidate();
}

void TskSkinMainMenuBar::ApplyHeight() {
  if (BarSkinActive) SetHeight(skinrect.Height());
  else if (DefaultHeight_ > 0) SetHeight(DefaultHeight_);
}

void TskSkinMainMenuBar::SetBounds(int left, int top, int width, int height) {
  ReadSkinRecord();
  if (BarSkinActive) height = skinrect.Height();
  TskSkinControl::SetBounds(left, top, width, height);
  CalcItemsArea();
  Invalidate();
}

// --- objects ---

void TskSkinMainMenuBar::ClearObjects() {
  BarObjects.clear();
  ChildButtonCount = 0;
  BarHoverIndex = BarPrevHoverIndex = BarCaptureIndex = -1;
}

void TskSkinMainMenuBar::RebuildItems() {
  ClearObjects();
  if (!MainMenu_) return;
  const TskDataSkinMainMenuItem* record = nullptr;
  if (BarSkinActive) {
    const int i = SkinData()->GetObjectIndex(menubaritem);
    if (i >= 0) record = dynamic_cast<const TskDataSkinMainMenuItem*>(SkinData()->SkinObjects[std::size_t(i)].get());
  }
  platform::MenuItem& root = MainMenu_->Items;
  for (int i = 0; i < root.Count(); ++i)
    if (root[i].Visible) BarObjects.push_back(std::make_unique<TskSkinMainMenuBarItem>(*this, record, root[i]));
  if (ChildButtonsShown) {
    CreateChildButtons();
    if (MaximizedChild) ApplyChildBorderIcons(MaximizedChild->BorderIcons());
  }
}

void TskSkinMainMenuBar::CreateChildButtons() {
  struct Kind {
    TskStdCommand command;
    const std::string* recordName;
    const char* plainName;
  };
  // Each goes in at the head: the list then starts system menu, close, maximize, minimize.
  const Kind kinds[] = {{TskStdCommand::cmMinimize, &minbutton, "MinButton"},
                        {TskStdCommand::cmMaximize, &maxbutton, "MaxButton"},
                        {TskStdCommand::cmClose, &closebutton, "CloseButton"},
                        {TskStdCommand::cmSysMenu, &sysmenubutton, "SysMenuButton"}};
  for (const Kind& k : kinds) {
    const TskDataSkinMainMenuBarButton* record = nullptr;
    std::string name = k.plainName;
    if (BarSkinActive) {
      name = *k.recordName;
      const int i = SkinData()->GetObjectIndex(name);
      if (i >= 0)
        record = dynamic_cast<const TskDataSkinMainMenuBarButton*>(SkinData()->SkinObjects[std::size_t(i)].get());
    }
    BarObjects.insert(BarObjects.begin(),
                      std::make_unique<TskSkinMainMenuBarButton>(*this, record, k.command, std::move(name)));
  }
  ChildButtonCount = 4;
}

void TskSkinMainMenuBar::ShowChildButtons(TskSkinForm& child) {
  MaximizedChild = &child;
  FreeNotification(&child);
  if (ChildButtonsShown) {
    // The buttons act on the child maximized last: they show what it allows.
    ApplyChildBorderIcons(child.BorderIcons());
    Invalidate();
    return;
  }
  ChildButtonsShown = true;
  BarHoverIndex = BarPrevHoverIndex = BarCaptureIndex = -1;
  CreateChildButtons();
  ApplyChildBorderIcons(child.BorderIcons());
  CalcItemsArea();
  Invalidate();
}

void TskSkinMainMenuBar::HideChildButtons(TskSkinForm* stillMaximized) {
  if (stillMaximized) {
    MaximizedChild = stillMaximized;
    FreeNotification(stillMaximized);
    ApplyChildBorderIcons(stillMaximized->BorderIcons());
    Invalidate();
    return;
  }
  MaximizedChild = nullptr;
  if (!ChildButtonsShown) return;
  BarObjects.erase(BarObjects.begin(), BarObjects.begin() + ChildButtonCount);
  ChildButtonCount = 0;
  ChildButtonsShown = false;
  BarHoverIndex = BarPrevHoverIndex = BarCaptureIndex = -1;
  CalcItemsArea();
  Invalidate();
}

void TskSkinMainMenuBar::ApplyChildBorderIcons(TskBorderIcons icons) {
  for (int i = 0; i < ChildButtonCount; ++i) {
    auto& b = static_cast<TskSkinMainMenuBarButton&>(*BarObjects[std::size_t(i)]);
    b.Enabled = true;
    if ((b.Command == TskStdCommand::cmMinimize && !Has(icons, TskBorderIcon::biMinimize)) ||
        (b.Command == TskStdCommand::cmSysMenu && !Has(icons, TskBorderIcon::biSystemMenu)))
      b.Enabled = false;
  }
}

// --- layout and painting ---

void TskSkinMainMenuBar::CalcItemsArea() {
  const int w = Width(), h = Height();
  ItemsArea = BarSkinActive ? Rect{itemsrect.left, itemsrect.top, w + itemsrect.right - skinrect.Width(),
                                   itemsrect.bottom}
                            : Rect{2, 2, w - 2, h - 2};
  if (!ChildButtonsShown || ChildButtonCount != 4) return;
  auto place = [this](TskMenuBarObject& b, int left) {
    auto& button = static_cast<TskSkinMainMenuBarButton&>(b);
    const int ah = ItemsArea.Height();
    const int bw = button.HasRecord ? button.SkinRect.Width() : ah;
    const int bh = button.HasRecord ? button.SkinRect.Height() : ah;
    const int top = button.HasRecord ? ItemsArea.top + ah / 2 - bh / 2 : ItemsArea.top;
    b.ObjectRect = {left, top, left + bw, top + bh};
    return bw;
  };
  ItemsArea.left += place(*BarObjects[0], ItemsArea.left) + kButtonGap;
  for (int i = 1; i < 4; ++i) {
    TskMenuBarObject& b = *BarObjects[std::size_t(i)];
    const int bw = static_cast<TskSkinMainMenuBarButton&>(b).HasRecord ? b.SkinRect.Width() : ItemsArea.Height();
    place(b, ItemsArea.right - bw);
    ItemsArea.right -= bw + kButtonGap;
  }
}

void TskSkinMainMenuBar::Paint(Bitmap& canvas) { PaintBar(canvas); }

void TskSkinMainMenuBar::PaintBar(Bitmap& canvas) {
  ReadSkinRecord();
  const int w = Width(), h = Height();
  Bitmap image(w, h, SysColor(SysColour::BtnFace));
  if (BarSkinActive && BarPicture) {
    Bitmap strip;
    BuildHorzImage(itemsrect.left, skinrect.Width() - itemsrect.right, w, skinrect, *BarPicture, strip);
    image.CopyRect(0, 0, strip, strip.BoundsRect());
  }
  CalcItemsArea();
  Overflow = false;
  for (auto& o : BarObjects)
    if (o->Visible) o->Draw(image);
  if (Overflow) {
    const Colour c = BarSkinActive ? (OverflowMarkActive ? trackmarkactivecolor : trackmarkcolor)
                                   : SysColor(OverflowMarkActive ? SysColour::BtnText : SysColour::BtnShadow);
    DrawArrow(image, OverflowMarkRect(), c, kArrowRight);
  }
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

void TskSkinMainMenuBar::PopupOverflowMenu() {
  if (!SkinForm_ || !MainMenu_) return;
  // The menu from the first item that did not fit: invisible items before it
  // count in the menu's own numbering.
  int first = -1;
  for (std::size_t i = 0; i < ItemCount() && first < 0; ++i)
    if (Item(i)->HiddenByOverflow) {
      platform::MenuItem& root = MainMenu_->Items;
      for (int k = 0; k < root.Count(); ++k)
        if (&root[k] == &Item(i)->MenuItem) first = k;
    }
  if (first < 0) return;
  const Rect r = ScreenRect(OverflowMarkRect());
  SkinForm_->SkinMenuOpened();
  SkinForm_->SkinMenu().ShowMenu(nullptr, SkinData(), first, r, MainMenu_->Items, false);
}

// --- mouse ---

void TskSkinMainMenuBar::UpdateBarHover(int x, int y) {
  if (BarObjects.empty()) return;
  const int count = int(BarObjects.size());
  BarPrevHoverIndex = BarHoverIndex;
  int found = -1;
  for (int i = 0; i < count; ++i)
    if (BarObjects[std::size_t(i)]->Enabled && BarObjects[std::size_t(i)]->ObjectRect.Contains({x, y})) {
      found = i;
      break;
    }
  const bool prevIsItem = BarPrevHoverIndex >= ChildButtonCount && BarPrevHoverIndex < count;
  // While a menu is tracked the lit item stays lit until another one is reached.
  if (!(found == -1 && prevIsItem && MenuTracking)) BarHoverIndex = found;
  if (BarCaptureIndex != -1 && BarCaptureIndex != BarHoverIndex && BarHoverIndex != -1) BarHoverIndex = -1;
  if (BarHoverIndex >= count) BarHoverIndex = -1;
  if (BarPrevHoverIndex >= count) BarPrevHoverIndex = -1;
  if (BarPrevHoverIndex != BarHoverIndex) {
    if (BarPrevHoverIndex != -1 && BarObjects[std::size_t(BarPrevHoverIndex)]->Enabled)
      BarObjects[std::size_t(BarPrevHoverIndex)]->MouseLeave();
    if (BarHoverIndex != -1 && BarHoverIndex < int(BarObjects.size()) &&
        BarObjects[std::size_t(BarHoverIndex)]->Enabled)
      BarObjects[std::size_t(BarHoverIndex)]->MouseEnter();
  }
  if (!Overflow) return;
  const bool inMark = OverflowMarkRect().Contains({x, y});
  if (inMark != OverflowMarkActive) {
    OverflowMarkActive = inMark;
    Invalidate();
  }
}

void TskSkinMainMenuBar::BarMouseDown(TMouseButton button, std::uint8_t shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
  UpdateBarHover(x, y);
  if (BarHoverIndex != -1) {
    BarCaptureIndex = BarHoverIndex;
    TskMenuBarObject& o = *BarObjects[std::size_t(BarHoverIndex)];
    o.MouseDown(x, y, button);
    if (shift & kShiftDouble) o.DblClick();
  } else if (Overflow && OverflowMarkRect().Contains({x, y})) {
    PopupOverflowMenu();
  }
}

void TskSkinMainMenuBar::BarMouseUp(TMouseButton button, std::uint8_t shift, int x, int y) {
  if (BarCaptureIndex != -1 && BarCaptureIndex < int(BarObjects.size())) {
    const int i = BarCaptureIndex;
    BarCaptureIndex = -1;
    BarObjects[std::size_t(i)]->MouseUp(x, y, button);
  }
  BarCaptureIndex = -1;
  if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
  if (button == TMouseButton::mbLeft && ClientRect().Contains({x, y}) && OnClick) OnClick(*this);
}

void TskSkinMainMenuBar::MouseDown(TMouseButton button, int x, int y) {
  BarMouseDown(button, platform::KeyboardShiftState(), x, y);
}

void TskSkinMainMenuBar::MouseUp(TMouseButton button, int x, int y) {
  BarMouseUp(button, platform::KeyboardShiftState(), x, y);
}

void TskSkinMainMenuBar::MouseMove(int x, int y) {
  if (!BarHoverTimer.Running()) BarHoverTimer.SetEnabled(true);
  if (OnMouseMove) OnMouseMove(*this, platform::KeyboardShiftState(), x, y);
}

void TskSkinMainMenuBar::MouseEnter() {
  TskSkinControl::MouseEnter();
  BarHoverTimer.SetEnabled(true);
}

void TskSkinMainMenuBar::MouseLeave() {
  TskSkinControl::MouseLeave();
  BarHoverTimer.SetEnabled(false);
  UpdateBarHover(-1, -1);
}

void TskSkinMainMenuBar::HoverTick() {
  const Point p = ScreenToClient(platform::CursorPos());
  if (p.x < 0 || p.y < 0 || p.x > Width() || p.y > Height()) {
    if (BarHoverTimer.Running()) {
      BarHoverTimer.SetEnabled(false);
      UpdateBarHover(-1, -1);
    }
    return;
  }
  UpdateBarHover(p.x, p.y);
}

void TskSkinMainMenuBar::MorphTick() {
  bool stepped = false;
  for (auto& o : BarObjects)
    if (o->Morphing && o->CanMorph()) {
      o->MorphStep();
      stepped = true;
    }
  if (!stepped) BarMorphTimer.SetEnabled(false);
}

void TskSkinMainMenuBar::WndProc(platform::Message& m) {
  if (m.msg == SKM_SKINMENUCLOSED) {
    for (int i = 0; i < ChildButtonCount; ++i) {
      auto& b = static_cast<TskSkinMainMenuBarButton&>(*BarObjects[std::size_t(i)]);
      if (b.Command != TskStdCommand::cmSysMenu || !b.Down) continue;
      b.Down = false;
      if (i != BarHoverIndex) b.Active = b.MouseInside = false;
      b.Redraw();
    }
    return;
  }
  if (m.msg == msg::kLButtonDblClk) {
    const Point p = platform::ParamToPoint(m.lParam);
    BarMouseDown(TMouseButton::mbLeft, std::uint8_t(platform::KeyboardShiftState() | kShiftDouble), p.x, p.y);
    return;
  }
  TskSkinControl::WndProc(m);
}

// --- keyboard ---

bool TskSkinMainMenuBar::HandleAccelerator(std::uint32_t key) {
  if (!SkinForm_) return false;
  for (std::size_t i = 0; i < ItemCount(); ++i) {
    TskSkinMainMenuBarItem& item = *Item(i);
    if (!item.Enabled || item.HiddenByOverflow || !platform::IsAccel(key, item.MenuItem.Caption)) continue;
    item.MouseEnter();
    if (!SkinForm_->MenuOpen() || item.MenuItem.Count() == 0) item.MouseDown(0, 0, TMouseButton::mbLeft);
    return true;
  }
  return false;
}

namespace {
bool Selectable(const TskSkinMainMenuBarItem& item) { return item.Enabled && !item.HiddenByOverflow; }
}  // namespace

void TskSkinMainMenuBar::SelectNextItem() { SelectItemFrom(+1); }

void TskSkinMainMenuBar::SelectPrevItem() { SelectItemFrom(-1); }

void TskSkinMainMenuBar::SelectItemFrom(int direction) {
  const int n = int(ItemCount());
  int current = -1;
  for (int i = 0; i < n && current < 0; ++i)
    if (Item(std::size_t(i))->Active || Item(std::size_t(i))->Down) current = i;
  if (current >= 0) Item(std::size_t(current))->MouseLeave();
  // The search wraps round at either end; with no selected item it starts at the first.
  for (int step = 1; step <= n; ++step) {
    const int i = current < 0 ? step - 1 : ((current + direction * step) % n + n) % n;
    if (Selectable(*Item(std::size_t(i)))) {
      Item(std::size_t(i))->MouseEnter();
      return;
    }
  }
}

bool TskSkinMainMenuBar::PressSelectedItem() {
  const bool menuOpen = SkinForm_ && SkinForm_->MenuOpen();
  for (std::size_t i = 0; i < ItemCount(); ++i) {
    TskSkinMainMenuBarItem& item = *Item(i);
    if ((item.Down && item.MenuItem.Count() == 0) || (item.Active && !menuOpen)) {
      item.Active = false;
      item.MouseDown(0, 0, TMouseButton::mbLeft);
      return true;
    }
  }
  return false;
}

void TskSkinMainMenuBar::EnterMenuMode() {
  MenuTracking = true;
  if (ItemCount() > 0) {
    TskSkinMainMenuBarItem* target = Item(0);
    for (std::size_t i = 0; i < ItemCount(); ++i)
      if (Item(i)->Active) {
        target = Item(i);
        break;
      }
    target->MouseEnter();
  }
  if (!SkinForm_) return;
  SkinForm_->InstallKeyHook();
  SkinForm_->SetMainMenuMode(true);
  if (SkinForm_->OnMainMenuEnter) SkinForm_->OnMainMenuEnter(*SkinForm_);
}

void TskSkinMainMenuBar::LeaveMenuMode() {
  MenuTracking = false;
  for (std::size_t i = 0; i < ItemCount(); ++i) {
    TskSkinMainMenuBarItem& item = *Item(i);
    if (!item.Down && !item.Active) continue;
    item.Active = item.MouseInside = item.Down = false;
    item.Redraw();
    break;
  }
  BarHoverIndex = BarPrevHoverIndex = -1;
}

void TskSkinMainMenuBar::ItemPopupClosed() {
  for (std::size_t i = 0; i < ItemCount(); ++i) {
    TskSkinMainMenuBarItem& item = *Item(i);
    if (!item.Down) continue;
    item.Down = false;
    item.Active = true;
    DrawObjectNow(item);
    break;
  }
}

}  // namespace skin
