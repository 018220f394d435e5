#include "skSkinPopupWindow.h"

#include <algorithm>

#include "platform/Application.h"
#include "platform/Input.h"
#include "skMenuParts.h"
#include "skUtils.h"

namespace skin {

using namespace menuparts;

namespace {

constexpr std::uint32_t kTrackIntervalMs = 50;
constexpr std::uint32_t kMorphIntervalMs = 20;
constexpr std::uint32_t kScrollIntervalMs = 100;
// Plain look: the divider height, and the room beyond the captions and arrow.
constexpr int kPlainDividerHeight = 4;
constexpr int kPlainExtraWidth = 10;
// Room between an image column and the captions.
constexpr int kImageGap = 5;
// The fade-in raises the opacity by this much per step.
constexpr int kFadeStep = 3;

bool Selectable(const platform::MenuItem& item) { return item.Enabled && !item.IsDivider(); }

const TskDataSkinMenuItem* FirstMenuItemRecord(const TskSkinData* data) {
  if (!data || data->Empty) return nullptr;
  for (const auto& object : data->SkinObjects)
    if (auto* item = dynamic_cast<const TskDataSkinMenuItem*>(object.get())) return item;
  return nullptr;
}

}  // namespace

TskSkinPopupWindow::TskSkinPopupWindow(TskMenuLevelOwner& owner, const TskDataSkinPopupWindow* record)
    : platform::Window(platform::WindowKind::Popup), OwnerMenu(owner), SkinData(owner.SkinData) {
  TrackTimer.SetEnabled(false);
  TrackTimer.SetInterval(kTrackIntervalMs);
  TrackTimer.SetOnTimer([this] { TrackMouse(); });
  ItemMorphTimer.SetEnabled(false);
  ItemMorphTimer.SetInterval(kMorphIntervalMs);
  ItemMorphTimer.SetOnTimer([this] { MorphTick(); });
  ScrollTimer.SetEnabled(false);
  ScrollTimer.SetInterval(kScrollIntervalMs);
  ScrollTimer.SetOnTimer([this] { ScrollTick(); });
  if (record && record->windowpictureindex != kNoPicture) {
    FramePicture = ValidPicture(SkinData, record->windowpictureindex);
    FrameMask = ValidPicture(SkinData, record->maskpictureindex);
    // A frame picture index outside the picture list cannot be drawn: plain look.
    if (FramePicture) PopupRecord = record;
  }
}

TskSkinPopupWindow::~TskSkinPopupWindow() { StopTimers(); }

void TskSkinPopupWindow::ItemEntered(TskSkinMenuItem& item, bool keyboard) {
  for (auto& other : LevelItems)
    if (other.get() != &item && other->Opened) {
      other->Opened = false;
      other->Refresh();
    }
  const int level = OwnerMenu.LevelIndex(this);
  if (item.Opened && level + 2 < OwnerMenu.LevelCount()) {
    OwnerMenu.CloseLevelsFrom(level + 2);
    for (auto& sub : OwnerMenu.Level(level + 1).LevelItems)
      if (sub->Opened) {
        sub->Opened = false;
        sub->Refresh();
      }
  }
  if (!item.Opened) {
    item.Refresh();
    OwnerMenu.HandleItem(*this, item, false, keyboard);
  }
}

void TskSkinPopupWindow::StopTimers() {
  TrackTimer.SetEnabled(false);
  ItemMorphTimer.SetEnabled(false);
  ScrollTimer.SetEnabled(false);
}

int TskSkinPopupWindow::ItemHeight(const platform::MenuItem& item) const {
  if (SkinItem) return item.IsDivider() ? SkinItem->dividerrect.Height() : SkinItem->skinrect.Height();
  return item.IsDivider() ? kPlainDividerHeight : OwnerMenu.ItemHeight;
}

void TskSkinPopupWindow::Display(const Rect& rect, platform::MenuItem& item, int startIndex, bool submenu,
                                 bool popupToUp) {
  const bool layered = LayeredWindowsAvailable() && OwnerMenu.BlendOn;
  const bool fade = layered && OwnerMenu.BlendAnimation && OwnerMenu.FirstLevel;
  if (fade) platform::Application::ProcessMessages();
  LoadItems(item, startIndex);
  Place(rect, submenu, popupToUp);
  if (layered) SetWindowAlpha(*this, fade ? 0 : OwnerMenu.BlendValue);
  SetBounds({ShowPos.x, ShowPos.y, ShowPos.x + size_.x, ShowPos.y + size_.y});
  ShowNoActivate();
  if (fade)
    for (int alpha = 0; alpha < OwnerMenu.BlendValue;) {
      alpha = std::min(alpha + kFadeStep, int(OwnerMenu.BlendValue));
      SetWindowAlpha(*this, std::uint8_t(alpha));
    }
  TrackTimer.SetEnabled(true);
  HotIndex = -1;
  // A divider is never the hot item, so the search passes it as the arrow keys do.
  for (std::size_t i = 0; i < LevelItems.size(); ++i)
    if (Selectable(LevelItems[i]->MenuItem)) {
      HotIndex = int(i);
      LevelItems[i]->Enter(true);
      break;
    }
}

void TskSkinPopupWindow::LoadItems(platform::MenuItem& item, int startIndex) {
  // A skinned level needs the frame picture and a menu item record with its
  // picture; anything less is drawn in the plain look throughout.
  const TskDataSkinMenuItem* record = FirstMenuItemRecord(SkinData);
  if (record && !ValidPicture(SkinData, record->activepictureindex)) record = nullptr;
  if (!record) PopupRecord = nullptr;
  SkinItem = PopupRecord ? record : nullptr;
  if (PopupRecord && SkinItem && OwnerMenu.UseItemSkinFont)
    ItemCanvasFont = platform::Font{SkinItem->fontname, SkinItem->fontheight, SkinItem->fontstyle,
                                    OwnerMenu.ItemFont.charset};
  else
    ItemCanvasFont = OwnerMenu.ItemFont;
  const platform::Menu* menu = item.GetParentMenu();
  Images = menu ? menu->Images : nullptr;
  for (int i = std::max(0, startIndex); i < item.Count(); ++i)
    if (item[i].Visible) LevelItems.push_back(std::make_unique<TskSkinMenuItem>(*this, SkinItem, item[i]));
  SizeWindow();
  const int w = size_.x, h = size_.y;
  if (PopupRecord) {
    const auto& r = *PopupRecord;
    const int pw = FramePicture->Width(), ph = FramePicture->Height();
    LTPoint = r.lefttoppoint;
    RTPoint = {w + r.righttoppoint.x - pw, r.righttoppoint.y};
    LBPoint = {r.leftbottompoint.x, h + r.leftbottompoint.y - ph};
    RBPoint = {w + r.rightbottompoint.x - pw, h + r.rightbottompoint.y - ph};
    ItemsArea = {r.itemsrect.left, r.itemsrect.top, w + r.itemsrect.right - pw, h + r.itemsrect.bottom - ph};
  } else {
    ItemsArea = {kPlainInset, kPlainInset, w - kPlainInset, h - kPlainInset};
  }
  ArrangeItems();
  if (PopupRecord && FrameMask) {
    const auto& r = *PopupRecord;
    const TskStretchGeometry source{r.lefttoppoint, r.righttoppoint, r.leftbottompoint, r.rightbottompoint,
                                    r.itemsrect};
    const TskStretchGeometry target{LTPoint, RTPoint, LBPoint, RBPoint, ItemsArea};
    SetRegion(BuildFrameRegion(source, r.itemsrect, *FrameMask, w, h, target, ItemsArea), true);
  }
}

void TskSkinPopupWindow::SizeWindow() {
  int widest = 0;
  for (const auto& it : LevelItems) {
    const platform::MenuItem& m = it->MenuItem;
    const std::string text = m.ShortCut.empty() ? m.Caption : m.Caption + "  " + m.ShortCut;
    widest = std::max(widest, platform::TextExtent(ItemCanvasFont, text).x + 2);
  }
  GlyphColumn = Images ? Images->Width() + kImageGap : kPlainGlyphColumn;
  const int c = widest + GlyphColumn + kArrowRoom;
  int w = c + kPlainExtraWidth;
  int h = 0;
  for (const auto& it : LevelItems) h += ItemHeight(it->MenuItem);
  if (PopupRecord) {
    const auto& r = *PopupRecord;
    const int pw = FramePicture->Width(), ph = FramePicture->Height();
    w = c + SkinItem->textrect.left + (SkinItem->skinrect.Width() - SkinItem->textrect.right) +
        (pw - r.itemsrect.Width());
    h += ph - r.itemsrect.Height();
  } else {
    h += 2 * kPlainInset;
  }
  TopIndex = 0;
  Scrolling = h > OwnerMenu.WorkArea.Height();
  if (Scrolling) h = OwnerMenu.WorkArea.Height();
  size_ = {w, h};
}

void TskSkinPopupWindow::ArrangeItems() {
  int y = ItemsArea.top + (Scrolling ? kMarkerBand : 0);
  const int limit = ItemsArea.bottom - (Scrolling ? kMarkerBand : 0);
  ShownCount = 0;
  for (std::size_t i = 0; i < LevelItems.size(); ++i) {
    auto& item = *LevelItems[i];
    if (int(i) < TopIndex) {
      item.Shown = false;
      continue;
    }
    const int h = ItemHeight(item.MenuItem);
    item.ItemRect = {ItemsArea.left, y, ItemsArea.right, y + h};
    y += h;
    if (y > limit) {
      for (std::size_t k = i; k < LevelItems.size(); ++k) LevelItems[k]->Shown = false;
      break;
    }
    item.Shown = true;
    ++ShownCount;
  }
}

void TskSkinPopupWindow::Place(const Rect& r, bool submenu, bool popupToUp) {
  const Rect& a = OwnerMenu.WorkArea;
  const int w = size_.x, h = size_.y, t = ItemsArea.top;
  const int mid = a.top + (a.bottom - a.top) / 2;
  bool side = false;
  int y;
  if (Scrolling) {
    y = a.top;
  } else if (submenu) {
    if (r.top - t + h <= a.bottom) y = r.top - t;
    else if (r.top < mid) y = a.bottom - h;
    else y = std::max(r.bottom - h + t, a.top);
  } else if (popupToUp) {
    if (r.top - h >= a.top) {
      y = r.top - h;
    } else if (r.top < mid) {
      if (r.bottom + h <= a.bottom) {
        y = r.bottom;
      } else {
        y = a.bottom - h;
        side = true;
      }
    } else {
      y = a.top;
      side = true;
    }
  } else if (r.bottom + h <= a.bottom) {
    y = r.bottom;
  } else if (r.top < mid) {
    y = a.bottom - h;
    side = true;
  } else if (r.top - h >= a.top) {
    y = r.top - h;
  } else {
    y = a.top;
    side = true;
  }
  int x;
  if (submenu || Scrolling || side) x = r.right + w + 1 > a.right ? r.left - w - 1 : r.right + 1;
  else if (r.left + w > a.right) x = a.right - w;
  else if (r.left < a.left) x = a.left;
  else x = r.left;
  ShowPos = {x, y};
}

Rect TskSkinPopupWindow::UpMarkerRect() const {
  return {ItemsArea.left, ItemsArea.top, ItemsArea.right, ItemsArea.top + kMarkerBand};
}

Rect TskSkinPopupWindow::DownMarkerRect() const {
  return {ItemsArea.left, ItemsArea.bottom - kMarkerBand, ItemsArea.right, ItemsArea.bottom};
}

void TskSkinPopupWindow::TrackMouse() {
  const platform::Point screen = platform::CursorPos();
  const platform::Point p = ScreenToClient(screen);
  if (p == LastMouse) return;
  LastMouse = p;
  if (platform::WindowAtPoint(screen) == this) {
    HoverAt(p.x, p.y);
  } else if (Scrolling && ScrollDir != 0) {
    ScrollDir = 0;
    Invalidate();
  }
}

void TskSkinPopupWindow::HoverAt(int x, int y) {
  if (Scrolling) {
    if (UpMarkerRect().Contains({x, y}) && ScrollDir == 0 && CanScrollUp()) {
      ScrollDir = 1;
      Invalidate();
      StartScroll();
    } else if (DownMarkerRect().Contains({x, y}) && ScrollDir == 0 && CanScrollDown()) {
      ScrollDir = 2;
      Invalidate();
      StartScroll();
    } else if (ScrollDir != 0 && !UpMarkerRect().Contains({x, y}) && !DownMarkerRect().Contains({x, y})) {
      StopScroll();
    }
  }
  if (LevelItems.empty()) return;
  PrevHotIndex = HotIndex;
  for (std::size_t i = 0; i < LevelItems.size(); ++i)
    if (LevelItems[i]->Shown && LevelItems[i]->ItemRect.Contains({x, y})) {
      HotIndex = int(i);
      break;
    }
  if (HotIndex >= int(LevelItems.size())) HotIndex = -1;
  if (HotIndex == PrevHotIndex) return;
  if (PrevHotIndex >= 0 && PrevHotIndex < int(LevelItems.size()) &&
      Selectable(LevelItems[std::size_t(PrevHotIndex)]->MenuItem))
    LevelItems[std::size_t(PrevHotIndex)]->Leave();
  // Leaving may close this level's submenu, never this level: the item is still ours.
  if (HotIndex >= 0 && Selectable(LevelItems[std::size_t(HotIndex)]->MenuItem))
    LevelItems[std::size_t(HotIndex)]->Enter(false);
}

void TskSkinPopupWindow::StartScroll() {
  OwnerMenu.CloseLevelsFrom(OwnerMenu.LevelIndex(this) + 1);
  ScrollTimer.SetEnabled(false);
  ScrollTimer.SetEnabled(true);
}

void TskSkinPopupWindow::StopScroll() {
  ScrollDir = 0;
  Invalidate();
  ScrollTimer.SetEnabled(false);
}

void TskSkinPopupWindow::ScrollTick() {
  if (ScrollDir == 1 && CanScrollUp()) ScrollUpOne(false);
  else if (ScrollDir == 2 && CanScrollDown()) ScrollDownOne(false);
  else StopScroll();
}

int TskSkinPopupWindow::LastPageIndex() const {
  // The items must fit between the two marker bands, the way ArrangeItems lays
  // them out from ItemsArea.top + the band.
  int a = ItemsArea.bottom - kMarkerBand;
  const int top = ItemsArea.top + kMarkerBand;
  int k = 0;
  for (auto it = LevelItems.rbegin(); it != LevelItems.rend(); ++it) {
    a -= ItemHeight((*it)->MenuItem);
    if (a < top) break;
    ++k;
  }
  return int(LevelItems.size()) - k;
}

void TskSkinPopupWindow::ScrollUpOne(bool wrap) {
  if (TopIndex > 0) --TopIndex;
  else if (wrap) TopIndex = LastPageIndex();
  ArrangeItems();
  Invalidate();
}

void TskSkinPopupWindow::ScrollDownOne(bool wrap) {
  if (CanScrollDown()) ++TopIndex;
  else if (wrap) TopIndex = 0;
  ArrangeItems();
  Invalidate();
}

void TskSkinPopupWindow::NextItem() {
  const int count = int(LevelItems.size());
  const auto lastShown = [this] { return TopIndex + ShownCount - 1; };
  if (Scrolling && ScrollDir == 0 && HotIndex >= 0 && HotIndex == lastShown()) ScrollDownOne(true);
  PrevHotIndex = HotIndex;
  int start = HotIndex + 1;
  if (HotIndex < 0 || start >= count) start = 0;
  for (int i = start; i < count; ++i) {
    if (Selectable(LevelItems[std::size_t(i)]->MenuItem)) {
      HotIndex = i;
      break;
    }
    if (Scrolling && ScrollDir == 0 && i == lastShown()) ScrollDownOne(true);
  }
  if (HotIndex == PrevHotIndex) return;
  LevelItems[std::size_t(HotIndex)]->Enter(true);
  if (PrevHotIndex >= 0) LevelItems[std::size_t(PrevHotIndex)]->Leave();
}

void TskSkinPopupWindow::PrevItem() {
  const int count = int(LevelItems.size());
  if (Scrolling && ScrollDir == 0 && HotIndex >= 0 && HotIndex == TopIndex) ScrollUpOne(true);
  PrevHotIndex = HotIndex;
  int start = HotIndex - 1;
  if (HotIndex <= 0) start = count - 1;
  for (int i = start; i >= 0; --i) {
    if (Selectable(LevelItems[std::size_t(i)]->MenuItem)) {
      HotIndex = i;
      break;
    }
    if (Scrolling && ScrollDir == 0 && i == TopIndex) ScrollUpOne(true);
  }
  if (HotIndex == PrevHotIndex) return;
  LevelItems[std::size_t(HotIndex)]->Enter(true);
  if (PrevHotIndex >= 0) LevelItems[std::size_t(PrevHotIndex)]->Leave();
}

void TskSkinPopupWindow::HandleKey(std::uint32_t key) {
  if (!Visible()) return;
  for (std::size_t i = 0; i < LevelItems.size(); ++i) {
    TskSkinMenuItem& item = *LevelItems[i];
    if (!platform::IsAccel(key, item.MenuItem.Caption)) continue;
    item.Enter(false);
    PrevHotIndex = HotIndex;
    HotIndex = int(i);
    if (PrevHotIndex >= 0 && PrevHotIndex != HotIndex) LevelItems[std::size_t(PrevHotIndex)]->Leave();
    item.Activate();
    return;
  }
  TskSkinMenuItem* hot = HotIndex >= 0 ? LevelItems[std::size_t(HotIndex)].get() : nullptr;
  TskMenuLevelOwner& menu = OwnerMenu;
  switch (key) {
    case platform::vk::kReturn:
      if (hot) hot->Activate();
      break;
    case platform::vk::kLeft:
      if (menu.LevelCount() < 2) break;
      [[fallthrough]];
    case platform::vk::kEscape: {
      menu.CloseLevelsFrom(menu.LevelCount() - 1);
      if (TskSkinPopupWindow* deepest = menu.DeepestLevel(); deepest && deepest->HotIndex >= 0)
        deepest->LevelItems[std::size_t(deepest->HotIndex)]->Opened = false;
      break;
    }
    case platform::vk::kUp:
      PrevItem();
      break;
    case platform::vk::kRight:
      if (hot && hot->MenuItem.Count() > 0) hot->Activate();
      break;
    case platform::vk::kDown:
      NextItem();
      break;
    default:
      break;
  }
}

void TskSkinPopupWindow::ClickAt(int x, int y) {
  HoverAt(x, y);
  if (HotIndex < 0) return;
  TskSkinMenuItem& hot = *LevelItems[std::size_t(HotIndex)];
  const bool onItem = std::any_of(LevelItems.begin(), LevelItems.end(),
                                  [&](const auto& it) { return it->Shown && it->ItemRect.Contains({x, y}); });
  if (onItem && !hot.MenuItem.IsDivider()) hot.Activate();
}

void TskSkinPopupWindow::MorphTick() {
  if (!SkinItem) {
    ItemMorphTimer.SetEnabled(false);
    return;
  }
  constexpr double kMorphStep = 0.1;
  bool stepped = false;
  for (auto& item : LevelItems) {
    if (!item->SkinItem || !item->SkinItem->morphing || !item->NeedsMorphStep()) continue;
    item->MorphFactor = std::clamp(item->MorphFactor + (item->Active() ? kMorphStep : -kMorphStep), 0.0, 1.0);
    stepped = true;
  }
  if (stepped) Invalidate();
  else ItemMorphTimer.SetEnabled(false);
}

void TskSkinPopupWindow::WndProc(platform::Message& m) {
  switch (m.msg) {
    case platform::msg::kPaint:
      PaintLevel(*reinterpret_cast<platform::Bitmap*>(m.lParam));
      return;
    case platform::msg::kMouseActivate:
      m.result = platform::msg::kNoActivate;
      return;
    case platform::msg::kLButtonUp: {
      const platform::Point p = platform::ParamToPoint(m.lParam);
      ClickAt(p.x, p.y);
      return;
    }
    case platform::msg::kKeyDown:
      HandleKey(std::uint32_t(m.wParam));
      return;
    default:
      platform::Window::WndProc(m);
  }
}

}  // namespace skin
