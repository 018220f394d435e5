// Hit testing of the frame, hover tracking and the routing of non-client mouse
// messages to the active skin objects.
#include "platform/Input.h"
#include "skSkinForm.h"
#include "skSkinHint.h"

namespace skin {

namespace {
// The plain frame's sizing band along each edge.
constexpr int kDefaultSizingBand = 2;
}  // namespace

Point TskSkinForm::ScreenToFrame(Point screen) const {
  const Rect b = owner_.BoundsRect();
  // An MDI child's bounds are in its frame's client coordinates.
  const platform::Window* frame = IsMDIChild() ? owner_.MDIFrame() : nullptr;
  const Point p = frame ? frame->ScreenToClient(screen) : screen;
  return {p.x - b.left, p.y - b.top};
}

std::intptr_t TskSkinForm::HitTest(Point p) { return SkinActive_ ? HitTestSkinned(p) : HitTestDefault(p); }

std::intptr_t TskSkinForm::HitTestSkinned(Point p) {
  auto inCaption = [&] {
    for (auto& o : ObjectList)
      if (o->IsCaption() && o->ObjectRect.Contains(p)) return true;
    return false;
  };
  const TskFrameLayout& l = layout_;
  if (RolledUp_ || SkinWindowState_ == TWindowState::wsMinimized) return inCaption() ? hit::kCaption : hit::kObject;
  if (HoverIndex != -1 && !inCaption() && !l.NewClientRect.Contains(p)) return hit::kObject;
  auto inner = [&]() -> std::intptr_t {
    if (l.NewClientRect.Contains(p)) return hit::kClient;
    return inCaption() ? hit::kCaption : hit::kObject;
  };
  if (SkinWindowState_ == TWindowState::wsMaximized || !Sizable()) return inner();
  const int bw = SkinData_->borderwidth;
  const Point probes[] = {{p.x - bw, p.y}, {p.x, p.y - bw}, {p.x + bw, p.y}, {p.x, p.y + bw}};
  // Near the edge when a probe leaves the window, or, outside the mask's solid
  // area, leaves the mask. (A solid area reaching the window edge must not take
  // the sizing border away there.)
  const Rect window{0, 0, FormWidth(), FormHeight()};
  bool nearEdge = false;
  for (const Point& q : probes) nearEdge = nearEdge || !window.Contains(q);
  if (!nearEdge && SameSizeAsPicture(*SkinData_, SkinData_->MaskPicture) && !l.NewMaskRectArea.Contains(p))
    for (const Point& q : probes) nearEdge = nearEdge || !PointInMask(q);
  if (nearEdge) {
    const int x = p.x, y = p.y;
    if (l.NewHitLT.x >= x && l.NewHitLT.y >= y) return hit::kTopLeft;
    if (l.NewHitRT.x <= x && l.NewHitRT.y >= y) return hit::kTopRight;
    if (l.NewHitLB.x >= x && l.NewHitLB.y <= y) return hit::kBottomLeft;
    if (l.NewHitRB.x <= x && l.NewHitRB.y <= y) return hit::kBottomRight;
    if (Rect{l.NewHitLT.x, 0, l.NewHitRT.x, l.NewClientRect.top}.Contains(p)) return hit::kTop;
    if (Rect{l.NewHitLB.x, l.NewClientRect.bottom, l.NewHitRB.x, FormHeight()}.Contains(p)) return hit::kBottom;
    if (Rect{0, l.NewHitLT.y, l.NewClientRect.left, l.NewHitLB.y}.Contains(p)) return hit::kLeft;
    if (Rect{l.NewClientRect.right, l.NewHitRT.y, FormWidth(), l.NewHitRB.y}.Contains(p)) return hit::kRight;
  }
  return inner();
}

std::intptr_t TskSkinForm::HitTestDefault(Point p) {
  const int w = FormWidth(), h = FormHeight(), x = p.x, y = p.y;
  constexpr int band = kDefaultSizingBand;
  if (Sizable() && SkinWindowState_ == TWindowState::wsNormal && !RolledUp_) {
    if (HoverIndex != -1) return hit::kObject;
    if (x <= band && y <= band) return hit::kTopLeft;
    if (x >= w - band && y <= band) return hit::kTopRight;
    if (x <= band && y >= h - band) return hit::kBottomLeft;
    if (x >= w - band && y >= h - band) return hit::kBottomRight;
    if (x <= band) return hit::kLeft;
    if (y <= band) return hit::kTop;
    if (x >= w - band) return hit::kRight;
    if (y >= h - band) return hit::kBottom;
  }
  if (FrameWidth == 0) FrameWidth = w;
  LayoutDefaultButtons();
  if (!ObjectList.empty() && DefaultCaptionRect_.Contains(p)) return hit::kCaption;
  const Rect client{kDefaultBorder, kDefaultCaptionHeight + kDefaultBorder, w - kDefaultBorder, h - kDefaultBorder};
  return client.Contains(p) ? hit::kClient : hit::kObject;
}

void TskSkinForm::UpdateHover(int x, int y, bool inside) {
  if (ObjectList.empty() || !IsFormActive()) return;
  PrevHoverIndex = HoverIndex;
  HoverIndex = -1;
  if (inside)
    for (std::size_t i = 0; i < ObjectList.size(); ++i) {
      const auto& o = *ObjectList[i];
      if (o.Enabled && o.Visible && o.ObjectRect.Contains({x, y})) {
        HoverIndex = int(i);
        break;
      }
    }
  // While one object holds the mouse, no other one lights up.
  if (CaptureIndex != -1 && CaptureIndex != HoverIndex && HoverIndex != -1) HoverIndex = -1;
  const int count = int(ObjectList.size());
  if (PrevHoverIndex >= count) PrevHoverIndex = -1;
  if (PrevHoverIndex == HoverIndex) return;
  const bool hints = ShowObjectHint && SkinHint_;
  if (PrevHoverIndex != -1) {
    auto& o = *ObjectList[std::size_t(PrevHoverIndex)];
    if (o.Enabled && o.Visible) {
      o.MouseLeave();
      if (hints && !o.Hint.empty()) SkinHint_->HideHintText();
    }
  }
  if (HoverIndex != -1) {
    auto& o = *ObjectList[std::size_t(HoverIndex)];
    if (o.Enabled && o.Visible) {
      o.MouseEnter();
      if (hints && !o.Hint.empty()) SkinHint_->ShowHintText(o.Hint);
    }
  }
}

bool TskSkinForm::OverThisWindow(Point screen) const {
  // An MDI child lives inside its frame: the frame is the desktop's window there.
  const platform::Window* frame = IsMDIChild() ? owner_.MDIFrame() : nullptr;
  if (!frame) return platform::WindowAtPoint(screen) == &owner_;
  const Point p = ScreenToFrame(screen);
  return platform::WindowAtPoint(screen) == frame && p.x >= 0 && p.y >= 0 && p.x < FormWidth() && p.y < FormHeight();
}

void TskSkinForm::HoverTick() {
  if (!IsFormActive()) return;
  const Point cursor = platform::CursorPos();
  if (OverThisWindow(cursor) || platform::CaptureWindow() == &owner_) {
    if (InSizeMove) return;
    const Point p = ScreenToFrame(cursor);
    const Rect client = SkinActive_ ? layout_.NewClientRect
                                    : Rect{kDefaultBorder, kDefaultCaptionHeight + kDefaultBorder,
                                           FormWidth() - kDefaultBorder, FormHeight() - kDefaultBorder};
    if (!client.Contains(p))
      UpdateHover(p.x, p.y, true);
    else if (HoverIndex != -1)
      UpdateHover(-1, -1, true);
  } else {
    UpdateHover(-1, -1, false);
    HoverTimer.SetEnabled(false);
  }
}

void TskSkinForm::ObjectMouseDown(TMouseButton button, Point p) {
  if (HoverIndex == -1) return;
  auto& o = *ObjectList[std::size_t(HoverIndex)];
  if (!o.IsCaption()) platform::SetCapture(owner_);
  CaptureIndex = HoverIndex;
  o.MouseDown(p.x, p.y, button);
}

void TskSkinForm::ObjectMouseUp(TMouseButton button, Point p) {
  if (CaptureIndex == -1 || CaptureIndex >= int(ObjectList.size())) return;
  auto& o = *ObjectList[std::size_t(CaptureIndex)];
  if (!o.IsCaption() && platform::CaptureWindow() == &owner_) platform::ReleaseCapture();
  CaptureIndex = -1;
  // The object's command may close the form; nothing of this component runs after it.
  o.MouseUp(p.x, p.y, button);
}

void TskSkinForm::RouteMouse(const platform::Message& m) {
  const Point p = ScreenToFrame(platform::ParamToPoint(m.lParam));
  const bool onCaption = m.wParam == std::uintptr_t(hit::kCaption);
  auto object = [&](int index) -> TskActiveSkinObject* {
    return index >= 0 && index < int(ObjectList.size()) ? ObjectList[std::size_t(index)].get() : nullptr;
  };
  switch (m.msg) {
    case msg::kNCMouseMove:
      if (auto* o = object(CaptureIndex != -1 ? CaptureIndex : HoverIndex)) o->MouseMove(p.x, p.y);
      break;
    case msg::kNCLButtonDown:
    case msg::kNCRButtonDown:
    case msg::kNCRButtonDblClk:
      UpdateHover(p.x, p.y, true);
      ObjectMouseDown(m.msg == msg::kNCLButtonDown ? TMouseButton::mbLeft : TMouseButton::mbRight, p);
      if (onCaption) CaptureIndex = -1;
      break;
    case msg::kNCLButtonDblClk:
      UpdateHover(p.x, p.y, true);
      ObjectMouseDown(TMouseButton::mbLeft, p);
      if (auto* o = object(HoverIndex)) o->DblClick();
      if (onCaption) CaptureIndex = -1;
      break;
    case msg::kNCLButtonUp: ObjectMouseUp(TMouseButton::mbLeft, p); break;
    case msg::kNCRButtonUp: ObjectMouseUp(TMouseButton::mbRight, p); break;
    // Under the capture a release arrives as a client message.
    case msg::kLButtonUp: ObjectMouseUp(TMouseButton::mbLeft, {-1, -1}); break;
    case msg::kRButtonUp: ObjectMouseUp(TMouseButton::mbRight, {-1, -1}); break;
    default: break;
  }
}

}  // namespace skin
