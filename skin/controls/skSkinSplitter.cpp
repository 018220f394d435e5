#include "skSkinSplitter.h"

#include <algorithm>

#include "platform/Input.h"
#include "skCtrlDraw.h"

namespace skin {

using platform::Bitmap;

TskSplitter::TskSplitter(platform::Window& parent) : TskControl(parent) { SetBounds(0, 0, 3, 100); }

void TskSplitter::Paint(Bitmap& canvas) { canvas.FillRect(ClientRect(), Color()); }

void TskSplitter::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  dragging_ = true;
  dragStart_ = {x, y};
  platform::SetCapture(*this);
}

void TskSplitter::MouseMove(int x, int y) {
  if (!dragging_) return;
  int delta = Vertical() ? x - dragStart_.x : y - dragStart_.y;
  if (delta == 0) return;
  if (Control) {
    // The resized control keeps at least MinSize.
    const bool before = Align == TSplitterSide::alLeft || Align == TSplitterSide::alTop;
    const int size = Vertical() ? Control->Width() : Control->Height();
    const int grown = std::max(MinSize, size + (before ? delta : -delta));
    delta = before ? grown - size : size - grown;
    const Rect c = Control->BoundsRect();
    if (Align == TSplitterSide::alLeft) Control->SetBounds(c.left, c.top, grown, c.Height());
    if (Align == TSplitterSide::alTop) Control->SetBounds(c.left, c.top, c.Width(), grown);
    if (Align == TSplitterSide::alRight) Control->SetBounds(c.right - grown, c.top, grown, c.Height());
    if (Align == TSplitterSide::alBottom) Control->SetBounds(c.left, c.bottom - grown, c.Width(), grown);
  }
  if (delta == 0) return;
  const Rect b = BoundsRect();
  if (Vertical())
    SetBounds(b.left + delta, b.top, b.Width(), b.Height());
  else
    SetBounds(b.left, b.top + delta, b.Width(), b.Height());
}

void TskSplitter::MouseUp(TMouseButton button, int, int) {
  if (button != TMouseButton::mbLeft || !dragging_) return;
  dragging_ = false;
  if (platform::CaptureWindow() == this) platform::ReleaseCapture();
  if (OnMoved) OnMoved(*this);
}

// --- TskSkinSplitter ---

TskSkinSplitter::TskSkinSplitter(platform::Window& parent) : TskSplitter(parent) { SkinDataName = "vsplitter"; }

void TskSkinSplitter::SetDefaultSize(int size) {
  DefaultSize_ = size;
  ReadSkinRecord();
  if (SkinIndex() == -1 && size > 0) Vertical() ? SetWidth(size) : SetHeight(size);
}

void TskSkinSplitter::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinSplitter::ReadSkinRecord() {
  TskSplitter::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinSplitterControl>()) SetSkinIndex(-1);
}

void TskSkinSplitter::SkinChanged() {
  ReadSkinRecord();
  // The thickness is the record's picture's, or DefaultSize without one.
  const auto* r = SkinRecordAs<TskDataSkinSplitterControl>();
  const int thickness = r ? (Vertical() ? RectWidth(r->skinrect) : RectHeight(r->skinrect)) : DefaultSize_;
  if (thickness > 0) Vertical() ? SetWidth(thickness) : SetHeight(thickness);
  Invalidate();
}

void TskSkinSplitter::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  const auto* r = SkinRecordAs<TskDataSkinSplitterControl>();
  if (!r) {
    TskSplitter::Paint(canvas);
    return;
  }
  Bitmap image(Width(), Height(), Color());
  DrawSkinFrame(image, *r, SkinData()->GetActivePicture(r->pictureindex), r->skinrect);
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

}  // namespace skin
