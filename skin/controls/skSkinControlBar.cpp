#include "skSkinControlBar.h"

#include <algorithm>

#include "platform/SysColors.h"
#include "skCtrlDraw.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;

namespace {
constexpr int kBandEdge = 2;
}  // namespace

TskControlBar::TskControlBar(platform::Window& parent) : TskControl(parent) { SetBounds(0, 0, 100, 50); }

Rect TskControlBar::BandRect(const platform::Window& child) const {
  const Rect b = child.BoundsRect();
  return {b.left - kGrip, b.top - kBandEdge, b.right + kBandEdge, b.top - kBandEdge + RowSize};
}

void TskControlBar::AlignControls() {
  const Rect area = BandArea();
  int x = area.left, y = area.top;
  for (platform::Window* child : Children()) {
    if (!child->Visible()) continue;
    const Point size = child->ClientSize();
    const int band = kGrip + size.x + kBandEdge;
    if (x > area.left && x + band > area.right) {
      x = area.left;
      y += RowSize;
    }
    const Rect to{x + kGrip, y + kBandEdge, x + kGrip + size.x, y + kBandEdge + size.y};
    if (auto* c = dynamic_cast<TskControl*>(child))
      c->SetBounds(to);
    else
      child->SetBounds(to);
    x += band;
  }
  Invalidate();
}

void TskControlBar::DrawBackground(Bitmap& image) { image.FillRect(image.BoundsRect(), Color()); }

void TskControlBar::DrawBand(Bitmap& image, const Rect& band) {
  DrawEdge3D(image, band, true);
  // The grip: two raised lines.
  for (int x : {band.left + 3, band.left + 6})
    DrawEdge3D(image, {x, band.top + 3, x + 3, band.bottom - 3}, true);
}

void TskControlBar::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  Bitmap image(Width(), Height(), Color());
  DrawBackground(image);
  for (platform::Window* child : Children())
    if (child->Visible()) DrawBand(image, BandRect(*child));
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

// --- TskSkinControlBar ---

TskSkinControlBar::TskSkinControlBar(platform::Window& parent) : TskControlBar(parent) { SkinDataName = "controlbar"; }

void TskSkinControlBar::SetSkinBevel(bool on) {
  SkinBevel_ = on;
  AlignControls();
}

void TskSkinControlBar::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinControlBar::ReadSkinRecord() {
  TskControlBar::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinControlBar>()) SetSkinIndex(-1);
}

void TskSkinControlBar::SkinChanged() {
  ReadSkinRecord();
  AlignControls();
}

Rect TskSkinControlBar::BandArea() const {
  const auto* r = SkinRecordAs<TskDataSkinControlBar>();
  if (!r || !SkinBevel_ || IsNullRect(r->clientrect)) return ClientRect();
  return MoveClient(r->clientrect, r->skinrect, Width(), Height());
}

void TskSkinControlBar::DrawBackground(Bitmap& image) {
  const auto* r = SkinRecordAs<TskDataSkinControlBar>();
  if (!r) {
    TskControlBar::DrawBackground(image);
    return;
  }
  image.FillRect(image.BoundsRect(), SysColor(SysColour::BtnFace));
  if (SkinBevel_) DrawSkinFrame(image, *r, SkinData()->GetActivePicture(r->pictureindex), r->skinrect);
  if (const Bitmap* bg = SkinData()->GetActivePicture(r->bgpictureindex)) TilePicture(image, BandArea(), *bg);
}

void TskSkinControlBar::DrawBand(Bitmap& image, const Rect& band) {
  const auto* r = SkinRecordAs<TskDataSkinControlBar>();
  if (!r || IsNullRect(r->itemrect)) {
    TskControlBar::DrawBand(image, band);
    return;
  }
  const TskStretchGeometry g{r->lefttoppoint, r->righttoppoint, r->leftbottompoint, r->rightbottompoint, r->clientrect};
  DrawFramedPiece(image, band, SkinData()->GetActivePicture(r->pictureindex), r->itemrect, g);
}

}  // namespace skin
