#include "skSkinBevel.h"

#include "platform/SysColors.h"
#include "skCtrlDraw.h"

namespace skin {

using platform::Bitmap;

TskBevel::TskBevel(platform::Window& parent) : TskControl(parent) { SetBounds(0, 0, 50, 50); }

void TskBevel::SetShape(TBevelShape shape) {
  Shape_ = shape;
  Invalidate();
}

void TskBevel::SetStyle(TBevelStyle style) {
  Style_ = style;
  Invalidate();
}

Colour TskBevel::LightColor() const { return platform::SysColor(platform::SysColour::BtnHighlight); }
Colour TskBevel::DarkColor() const { return platform::SysColor(platform::SysColour::BtnShadow); }

void TskBevel::DrawShape(Bitmap& canvas, Colour light, Colour dark) const {
  // A lowered bevel has its dark shade first (top, left), a raised one its light shade.
  const bool lowered = Style_ == TBevelStyle::bsLowered;
  const Colour first = lowered ? dark : light, second = lowered ? light : dark;
  const int w = Width(), h = Height();
  switch (Shape_) {
    case TBevelShape::bsBox:
      canvas.FillRect({0, 0, w, 1}, first);
      canvas.FillRect({0, 0, 1, h}, first);
      canvas.FillRect({0, h - 1, w, h}, second);
      canvas.FillRect({w - 1, 0, w, h}, second);
      break;
    case TBevelShape::bsFrame:
      canvas.FrameRect({0, 0, w - 1, h - 1}, first);
      canvas.FrameRect({1, 1, w, h}, second);
      break;
    case TBevelShape::bsTopLine:
      canvas.FillRect({0, 0, w, 1}, first);
      canvas.FillRect({0, 1, w, 2}, second);
      break;
    case TBevelShape::bsBottomLine:
      canvas.FillRect({0, h - 2, w, h - 1}, first);
      canvas.FillRect({0, h - 1, w, h}, second);
      break;
    case TBevelShape::bsLeftLine:
      canvas.FillRect({0, 0, 1, h}, first);
      canvas.FillRect({1, 0, 2, h}, second);
      break;
    case TBevelShape::bsRightLine:
      canvas.FillRect({w - 2, 0, w - 1, h}, first);
      canvas.FillRect({w - 1, 0, w, h}, second);
      break;
    case TBevelShape::bsSpacer: break;
  }
}

void TskBevel::Paint(Bitmap& canvas) {
  Bitmap image(Width(), Height());
  PaintParentBackground(*this, image);
  DrawShape(image, LightColor(), DarkColor());
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

// --- TskSkinBevel ---

TskSkinBevel::TskSkinBevel(platform::Window& parent) : TskBevel(parent) { SkinDataName = "bevel"; }

void TskSkinBevel::SetDividerMode(bool on) {
  DividerMode_ = on;
  Invalidate();
}

void TskSkinBevel::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinBevel::ReadSkinRecord() {
  TskBevel::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinBevel>()) SetSkinIndex(-1);
}

Colour TskSkinBevel::LightColor() const {
  const auto* r = SkinRecordAs<TskDataSkinBevel>();
  return r ? r->lightcolor : TskBevel::LightColor();
}

Colour TskSkinBevel::DarkColor() const {
  const auto* r = SkinRecordAs<TskDataSkinBevel>();
  return r ? r->darkcolor : TskBevel::DarkColor();
}

void TskSkinBevel::Paint(Bitmap& canvas) {
  if (!DividerMode_) {
    TskBevel::Paint(canvas);
    return;
  }
  Bitmap image(Width(), Height());
  PaintParentBackground(*this, image);
  const int w = Width(), h = Height();
  if (w >= h) {
    image.FillRect({0, h / 2 - 1, w, h / 2}, DarkColor());
    image.FillRect({0, h / 2, w, h / 2 + 1}, LightColor());
  } else {
    image.FillRect({w / 2 - 1, 0, w / 2, h}, DarkColor());
    image.FillRect({w / 2, 0, w / 2 + 1, h}, LightColor());
  }
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

}  // namespace skin
