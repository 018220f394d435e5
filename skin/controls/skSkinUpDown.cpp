#include "skSkinUpDown.h"

#include <algorithm>

#include "platform/Input.h"
#include "platform/SysColors.h"
#include "skCtrlDraw.h"

namespace skin {

using platform::Bitmap;

namespace {
constexpr int kCreateWidth = 32, kCreateHeight = 16;
}  // namespace

TskSkinUpDown::TskSkinUpDown(platform::Window& parent) : TskSkinCustomControl(parent) {
  SkinDataName = "hupdown";
  SetBounds(0, 0, kCreateWidth, kCreateHeight);
}

void TskSkinUpDown::SetOrientation(TUDOrientation orientation) {
  Orientation_ = orientation;
  Invalidate();
}

void TskSkinUpDown::SetRange(int min, int max) {
  Min_ = min;
  Max_ = std::max(min, max);
  SetPosition(Position_);
}

void TskSkinUpDown::SetPosition(int position) {
  const int p = std::clamp(position, Min_, Max_);
  if (p == Position_) return;
  Position_ = p;
  if (OnChange) OnChange(*this);
}

void TskSkinUpDown::ReadSkinRecord() {
  TskSkinCustomControl::ReadSkinRecord();
  AcceptOnly<TskDataSkinUpDownControl>();
}

Rect TskSkinUpDown::UpButtonRect() const {
  if (Orientation_ == TUDOrientation::udVertical) return {0, 0, Width(), Height() / 2};
  return {Width() / 2, 0, Width(), Height()};
}

Rect TskSkinUpDown::DownButtonRect() const {
  if (Orientation_ == TUDOrientation::udVertical) return {0, Height() / 2, Width(), Height()};
  return {0, 0, Width() / 2, Height()};
}

void TskSkinUpDown::DrawDefault(Bitmap& bitmap) {
  TskSkinCustomControl::DrawDefault(bitmap);
  const Colour text = platform::SysColor(Enabled() ? platform::SysColour::BtnText : platform::SysColour::BtnShadow);
  const bool vertical = Orientation_ == TUDOrientation::udVertical;
  DrawEdge3D(bitmap, UpButtonRect(), pressed_ != Part::Up);
  DrawEdge3D(bitmap, DownButtonRect(), pressed_ != Part::Down);
  DrawArrow(bitmap, UpButtonRect(), text, vertical ? kArrowUp : kArrowRight);
  DrawArrow(bitmap, DownButtonRect(), text, vertical ? kArrowDown : kArrowLeft);
}

void TskSkinUpDown::DrawSkin(Bitmap& bitmap) {
  TskSkinCustomControl::DrawSkin(bitmap);
  const auto* r = SkinRecordAs<TskDataSkinUpDownControl>();
  if (!r || !Picture) return;
  auto byState = [&](Part part, const Rect& normal, const Rect& active, const Rect& down) {
    return pressed_ == part ? down : hot_ == part ? active : normal;
  };
  // The control keeps the skin rectangle's size, so the halves are the record's.
  DrawPiece(bitmap, UpButtonRect(), Picture, byState(Part::Up, r->upbuttonrect, r->activeupbuttonrect, r->downupbuttonrect));
  DrawPiece(bitmap, DownButtonRect(), Picture,
            byState(Part::Down, r->downbuttonrect, r->activedownbuttonrect, r->downdownbuttonrect));
}

TskSkinUpDown::Part TskSkinUpDown::PartAt(int x, int y) const {
  auto in = [&](const Rect& r) { return r.Contains({x, y}); };
  if (in(UpButtonRect())) return Part::Up;
  if (in(DownButtonRect())) return Part::Down;
  return Part::None;
}

void TskSkinUpDown::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  pressed_ = PartAt(x, y);
  if (pressed_ == Part::Up) {
    SetPosition(Position_ + Increment);
    if (OnUpButtonClick) OnUpButtonClick(*this);
  } else if (pressed_ == Part::Down) {
    SetPosition(Position_ - Increment);
    if (OnDownButtonClick) OnDownButtonClick(*this);
  } else {
    return;
  }
  platform::SetCapture(*this);
  Invalidate();
}

void TskSkinUpDown::MouseUp(TMouseButton button, int, int) {
  if (button != TMouseButton::mbLeft || pressed_ == Part::None) return;
  pressed_ = Part::None;
  if (platform::CaptureWindow() == this) platform::ReleaseCapture();
  Invalidate();
}

void TskSkinUpDown::MouseMove(int x, int y) {
  const Part hot = PartAt(x, y);
  if (hot == hot_) return;
  hot_ = hot;
  Invalidate();
}

void TskSkinUpDown::MouseLeave() {
  TskSkinCustomControl::MouseLeave();
  hot_ = Part::None;
  Invalidate();
}

}  // namespace skin
