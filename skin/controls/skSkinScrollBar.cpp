#include "skSkinScrollBar.h"

#include <algorithm>

#include "platform/Input.h"
#include "platform/SysColors.h"
#include "skCtrlDraw.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;

namespace {
constexpr int kMinThumb = 8;
constexpr int kCreateWidth = 200, kCreateHeight = 19;
}  // namespace

TskSkinScrollBar::TskSkinScrollBar(platform::Window& parent) : TskSkinCustomControl(parent) {
  SkinDataName = "hscrollbar";
  SetBounds(0, 0, kCreateWidth, kCreateHeight);
  SetDefaultHeight(kCreateHeight);
}

void TskSkinScrollBar::SetKind(TScrollBarKind kind) {
  if (kind == Kind_) return;
  Kind_ = kind;
  // The default looks follow the direction; a name of the user's own stays.
  if (SkinDataName == "hscrollbar" || SkinDataName == "vscrollbar")
    SkinDataName = Horizontal() ? "hscrollbar" : "vscrollbar";
  // The bar turns: its length and thickness, and the default thickness, swap.
  const int thickness = std::max(DefaultWidth(), DefaultHeight());
  const int w = Width(), h = Height();
  SetDefaultWidth(Horizontal() ? 0 : thickness);
  SetDefaultHeight(Horizontal() ? thickness : 0);
  SetBounds(Left(), Top(), h, w);
  SkinChanged();
}

void TskSkinScrollBar::SetRange(int min, int max) {
  Min_ = min;
  Max_ = std::max(min, max);
  SetPosition(Position_);
  Invalidate();
}

void TskSkinScrollBar::SetPageSize(int pageSize) {
  PageSize_ = std::max(0, pageSize);
  SetPosition(Position_);
  Invalidate();
}

void TskSkinScrollBar::SetBoth(bool both) {
  if (both == Both_) return;
  Both_ = both;
  SkinChanged();
}

int TskSkinScrollBar::MaxPosition() const { return std::max(Min_, Max_ - std::max(0, PageSize_ - 1)); }

void TskSkinScrollBar::SetPosition(int position) {
  const int p = std::clamp(position, Min_, MaxPosition());
  if (p == Position_) return;
  Position_ = p;
  Invalidate();
  if (OnChange) OnChange(*this);
}

void TskSkinScrollBar::ReadSkinRecord() {
  TskSkinCustomControl::ReadSkinRecord();
  AcceptOnly<TskDataSkinScrollBarControl>();
}

int TskSkinScrollBar::ButtonLength() const {
  int len = Thickness();
  if (const auto* r = SkinRecordAs<TskDataSkinScrollBarControl>())
    len = Horizontal() ? RectWidth(r->upbuttonrect) : RectHeight(r->upbuttonrect);
  const int room = (Length() - (Both_ ? BothMarkerWidth : 0)) / 2;
  return std::clamp(len, 0, std::max(0, room));
}

Rect TskSkinScrollBar::Span(int from, int to) const {
  return Horizontal() ? Rect{from, 0, to, Height()} : Rect{0, from, Width(), to};
}

Rect TskSkinScrollBar::UpButtonRect() const { return Span(0, ButtonLength()); }

Rect TskSkinScrollBar::DownButtonRect() const {
  const int end = Length() - (Both_ ? BothMarkerWidth : 0);
  return Span(end - ButtonLength(), end);
}

Rect TskSkinScrollBar::TrackRect() const {
  const int end = Length() - (Both_ ? BothMarkerWidth : 0);
  return Span(ButtonLength(), std::max(ButtonLength(), end - ButtonLength()));
}

int TskSkinScrollBar::ThumbLength() const {
  const Rect t = TrackRect();
  const int track = Horizontal() ? t.Width() : t.Height();
  int len = Thickness();
  if (PageSize_ > 0)
    len = int(std::int64_t(track) * PageSize_ / std::max(1, Max_ - Min_ + PageSize_));
  else if (const auto* r = SkinRecordAs<TskDataSkinScrollBarControl>())
    len = Horizontal() ? RectWidth(r->thumbrect) : RectHeight(r->thumbrect);
  return std::clamp(len, std::min(kMinThumb, track), track);
}

Rect TskSkinScrollBar::ThumbRect() const {
  const Rect t = TrackRect();
  const int from = Horizontal() ? t.left : t.top;
  const int free = (Horizontal() ? t.Width() : t.Height()) - ThumbLength();
  const int range = MaxPosition() - Min_;
  const int offset = range > 0 ? int(std::int64_t(free) * (Position_ - Min_) / range) : 0;
  return Span(from + offset, from + offset + ThumbLength());
}

void TskSkinScrollBar::DrawDefault(Bitmap& bitmap) {
  TskSkinCustomControl::DrawDefault(bitmap);
  const Colour text = Enabled() ? SysColor(SysColour::BtnText) : SysColor(SysColour::BtnShadow);
  const Rect up = UpButtonRect(), down = DownButtonRect();
  DrawEdge3D(bitmap, up, pressed_ != Part::Up);
  DrawEdge3D(bitmap, down, pressed_ != Part::Down);
  DrawArrow(bitmap, up, text, Horizontal() ? kArrowLeft : kArrowUp);
  DrawArrow(bitmap, down, text, Horizontal() ? kArrowRight : kArrowDown);
  if (Enabled() && Max_ > Min_) DrawEdge3D(bitmap, ThumbRect(), true);
}

void TskSkinScrollBar::DrawSkin(Bitmap& bitmap) {
  TskSkinCustomControl::DrawSkin(bitmap);
  const auto* r = SkinRecordAs<TskDataSkinScrollBarControl>();
  if (!r || !Picture) return;
  auto byState = [&](Part part, const Rect& normal, const Rect& active, const Rect& down) {
    return pressed_ == part ? down : hot_ == part ? active : normal;
  };
  DrawPiece(bitmap, UpButtonRect(), Picture, byState(Part::Up, r->upbuttonrect, r->activeupbuttonrect, r->downupbuttonrect));
  DrawPiece(bitmap, DownButtonRect(), Picture,
            byState(Part::Down, r->downbuttonrect, r->activedownbuttonrect, r->downdownbuttonrect));
  if (Both_) {
    const int end = Length();
    bitmap.FillRect(Span(end - BothMarkerWidth, end), SysColor(SysColour::BtnFace));
  }
  if (Max_ <= Min_) return;
  const Rect thumb = ThumbRect();
  const Rect src = byState(Part::Thumb, r->thumbrect, r->activethumbrect, r->downthumbrect);
  Bitmap piece;
  if (Horizontal())
    BuildHorzImage(r->thumboffset1, r->thumboffset2, thumb.Width(), src, *Picture, piece);
  else
    BuildVertImage(r->thumboffset1, r->thumboffset2, thumb.Height(), src, *Picture, piece);
  DrawPiece(bitmap, thumb, &piece, piece.BoundsRect());
}

TskSkinScrollBar::Part TskSkinScrollBar::PartAt(int x, int y) const {
  const Point p{x, y};
  auto in = [&](const Rect& r) { return r.Contains(p); };
  if (in(UpButtonRect())) return Part::Up;
  if (in(DownButtonRect())) return Part::Down;
  const Rect thumb = ThumbRect();
  if (Max_ > Min_ && in(thumb)) return Part::Thumb;
  if (!in(TrackRect())) return Part::None;
  return (Horizontal() ? p.x < thumb.left : p.y < thumb.top) ? Part::PageUp : Part::PageDown;
}

void TskSkinScrollBar::Step(int delta) { SetPosition(Position_ + delta); }

void TskSkinScrollBar::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  pressed_ = PartAt(x, y);
  switch (pressed_) {
    case Part::Up:
      Step(-SmallChange);
      if (OnUpButtonClick) OnUpButtonClick(*this);
      break;
    case Part::Down:
      Step(SmallChange);
      if (OnDownButtonClick) OnDownButtonClick(*this);
      break;
    case Part::PageUp: Step(-LargeChange); break;
    case Part::PageDown: Step(LargeChange); break;
    case Part::Thumb: {
      const Rect t = ThumbRect();
      dragOffset_ = Horizontal() ? x - t.left : y - t.top;
      break;
    }
    case Part::None: return;
  }
  platform::SetCapture(*this);
  Invalidate();
}

void TskSkinScrollBar::MouseMove(int x, int y) {
  if (pressed_ == Part::Thumb) {
    const Rect t = TrackRect();
    const int free = (Horizontal() ? t.Width() : t.Height()) - ThumbLength();
    const int at = (Horizontal() ? x - t.left : y - t.top) - dragOffset_;
    const int range = MaxPosition() - Min_;
    if (free > 0) SetPosition(Min_ + int((std::int64_t(std::clamp(at, 0, free)) * range + free / 2) / free));
    return;
  }
  const Part hot = PartAt(x, y);
  if (hot == hot_) return;
  hot_ = hot;
  Invalidate();
}

void TskSkinScrollBar::MouseUp(TMouseButton button, int, int) {
  if (button != TMouseButton::mbLeft || pressed_ == Part::None) return;
  pressed_ = Part::None;
  if (platform::CaptureWindow() == this) platform::ReleaseCapture();
  Invalidate();
  if (OnLastChange) OnLastChange(*this);
}

void TskSkinScrollBar::MouseLeave() {
  TskSkinCustomControl::MouseLeave();
  hot_ = Part::None;
  Invalidate();
}

}  // namespace skin
