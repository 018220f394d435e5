#include "skSkinCtrls.h"

#include "platform/SysColors.h"

namespace skin {

namespace {
constexpr int kDefaultFontSize = 14;

// Draws the control's look into an off-screen bitmap of its size and copies it
// to the canvas in one operation.
template <class C>
void PaintOffScreen(C& control, platform::Bitmap& canvas) {
  const int w = control.Width(), h = control.Height();
  if (w <= 0 || h <= 0) return;
  control.ReadSkinRecord();
  platform::Bitmap image(w, h, platform::SysColor(platform::SysColour::BtnFace));
  if (control.SkinIndex() == -1)
    control.DrawDefault(image);
  else
    control.DrawSkin(image);
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}
}  // namespace

// --- TskSkinControl ---

TskSkinControl::TskSkinControl(platform::Window& parent) : TskControl(parent) {}

void TskSkinControl::SkinChanging() { SetSkinIndex(-1); }

void TskSkinControl::DrawDefault(platform::Bitmap& bitmap) {
  bitmap.FillRect(bitmap.BoundsRect(), Color());
}

void TskSkinControl::DrawSkin(platform::Bitmap& bitmap) { DrawDefault(bitmap); }

void TskSkinControl::Paint(platform::Bitmap& canvas) { PaintOffScreen(*this, canvas); }

// --- TskGraphicSkinControl ---

TskGraphicSkinControl::TskGraphicSkinControl(platform::Window& parent) : TskControl(parent) {}

void TskGraphicSkinControl::SkinChanging() { SetSkinIndex(-1); }

void TskGraphicSkinControl::DrawDefault(platform::Bitmap& bitmap) {
  bitmap.FillRect(bitmap.BoundsRect(), Color());
}

void TskGraphicSkinControl::DrawSkin(platform::Bitmap& bitmap) { DrawDefault(bitmap); }

void TskGraphicSkinControl::Paint(platform::Bitmap& canvas) { PaintOffScreen(*this, canvas); }

// --- TskSkinCustomControl ---

TskSkinCustomControl::TskSkinCustomControl(platform::Window& parent) : TskSkinControl(parent) {
  DefaultFont_.font.name = "Arial";
  DefaultFont_.font.height = kDefaultFontSize;
  DefaultFont_.font.style = 0;
  DefaultFont_.color = platform::SysColor(platform::SysColour::WindowText);
}

TskSkinCustomControl::~TskSkinCustomControl() = default;

void TskSkinCustomControl::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  DefaultFontChanged();
  ReadSkinRecord();
  if (SkinIndex() == -1) Invalidate();
}

void TskSkinCustomControl::DefaultFontChanged() {}

void TskSkinCustomControl::SetDefaultWidth(int width) {
  DefaultWidth_ = width;
  ReadSkinRecord();
  if (SkinIndex() == -1 && width > 0) SetWidth(width);
}

void TskSkinCustomControl::SetDefaultHeight(int height) {
  DefaultHeight_ = height;
  ReadSkinRecord();
  if (SkinIndex() == -1 && height > 0) SetHeight(height);
}

TskStretchKind TskSkinCustomControl::StretchKind() const {
  if (!CustomRecord_) return TskStretchKind::skFixed;
  if (IsNullRect(FSkinRect)) return TskStretchKind::skNone;
  if (RBPoint.x != 0 && RBPoint.y != 0) return TskStretchKind::skBoth;
  if (RTPoint.x != 0 || RTPoint.y != 0) return TskStretchKind::skHorizontal;
  if (LBPoint.x != 0 || LBPoint.y != 0) return TskStretchKind::skVertical;
  return TskStretchKind::skFixed;
}

void TskSkinCustomControl::DropRecord() {
  SetSkinIndex(-1);
  CustomRecord_ = false;
  LTPoint = RTPoint = LBPoint = RBPoint = {};
  ClRect = FSkinRect = {};
  Picture = MaskPicture = nullptr;
}

void TskSkinCustomControl::ReadSkinRecord() {
  TskSkinControl::ReadSkinRecord();
  const auto* rec = SkinRecordAs<TskDataSkinCustomControl>();
  if (!rec) {
    const Rect skinrect = SkinRecord() ? SkinRecord()->skinrect : Rect{};
    const int index = SkinIndex();
    DropRecord();
    SetSkinIndex(index);
    FSkinRect = skinrect;
    return;
  }
  CustomRecord_ = true;
  LTPoint = rec->lefttoppoint;
  RTPoint = rec->righttoppoint;
  LBPoint = rec->leftbottompoint;
  RBPoint = rec->rightbottompoint;
  ClRect = rec->clientrect;
  FSkinRect = rec->skinrect;
  Picture = SkinData()->GetActivePicture(rec->pictureindex);
  MaskPicture = SkinData()->GetActivePicture(rec->maskpictureindex);
}

TskStretchGeometry TskSkinCustomControl::RecordGeometry() const { return {LTPoint, RTPoint, LBPoint, RBPoint, ClRect}; }

TskStretchGeometry TskSkinCustomControl::MovedGeometry(int width, int height) const {
  const int dw = width - RectWidth(FSkinRect), dh = height - RectHeight(FSkinRect);
  TskStretchGeometry g{LTPoint, LTPoint, LTPoint, LTPoint, ClRect};
  switch (StretchKind()) {
    case TskStretchKind::skBoth:
      g.righttop = {RTPoint.x + dw, RTPoint.y};
      g.leftbottom = {LBPoint.x, LBPoint.y + dh};
      g.rightbottom = {RBPoint.x + dw, RBPoint.y + dh};
      g.client.right += dw;
      g.client.bottom += dh;
      break;
    case TskStretchKind::skHorizontal:
      g.righttop = {RTPoint.x + dw, RTPoint.y};
      g.client.right += dw;
      break;
    case TskStretchKind::skVertical:
      g.leftbottom = {LBPoint.x, LBPoint.y + dh};
      g.client.bottom += dh;
      break;
    case TskStretchKind::skFixed:
    case TskStretchKind::skNone: g = RecordGeometry(); break;
  }
  return g;
}

void TskSkinCustomControl::AdjustSizeToSkin(int& width, int& height) {
  if (SkinIndex() == -1) return;
  const TskStretchKind kind = StretchKind();
  if (kind == TskStretchKind::skNone) return;
  if (kind == TskStretchKind::skHorizontal) height = RectHeight(FSkinRect);
  if (kind == TskStretchKind::skVertical) width = RectWidth(FSkinRect);
  if (kind == TskStretchKind::skFixed) {
    width = RectWidth(FSkinRect);
    height = RectHeight(FSkinRect);
  }
  const TskStretchGeometry g = MovedGeometry(width, height);
  NewLTPoint = g.lefttop;
  NewRTPoint = g.righttop;
  NewLBPoint = g.leftbottom;
  NewRBPoint = g.rightbottom;
  NewClRect = g.client;
}

void TskSkinCustomControl::SetBounds(int left, int top, int width, int height) {
  ReadSkinRecord();
  if (SkinIndex() != -1 && (width != Width() || height != Height())) AdjustSizeToSkin(width, height);
  const bool resized = width != Width() || height != Height();
  TskSkinControl::SetBounds(left, top, width, height);
  if (resized) {
    UpdateRegion();
    Invalidate();
  }
}

void TskSkinCustomControl::SkinChanged() {
  ReadSkinRecord();
  bool resized = false;
  if (SkinIndex() == -1) {
    if (DefaultWidth_ > 0) SetWidth(DefaultWidth_);
    if (DefaultHeight_ > 0) SetHeight(DefaultHeight_);
  } else {
    int w = Width(), h = Height();
    AdjustSizeToSkin(w, h);
    if (w != Width() || h != Height()) {
      resized = true;
      SetBounds(Left(), Top(), w, h);
    }
  }
  if (!resized) {
    UpdateRegion();
    Invalidate();
  }
}

void TskSkinCustomControl::UpdateRegion() {
  if (SkinIndex() == -1 || !MaskPicture || MaskPicture->Empty()) {
    if (WindowRegion()) SetRegion(std::nullopt, true);
    return;
  }
  std::optional<platform::Region> region;
  if (StretchKind() == TskStretchKind::skFixed || StretchKind() == TskStretchKind::skNone) {
    region = RegionFromBitmap(*MaskPicture);
  } else {
    const TskStretchGeometry moved = MovedGeometry(Width(), Height());
    region = BuildFrameRegion(RecordGeometry(), ClRect, *MaskPicture, Width(), Height(), moved, moved.client);
  }
  SetRegion(std::move(region), true);
}

void TskSkinCustomControl::DrawDefault(platform::Bitmap& bitmap) {
  bitmap.FillRect(ClientRect(), platform::SysColor(platform::SysColour::BtnFace));
}

void TskSkinCustomControl::DrawSkin(platform::Bitmap& bitmap) {
  if (!Picture) return;
  const int w = Width(), h = Height();
  switch (StretchKind()) {
    case TskStretchKind::skBoth:
      BuildStretchImage(RecordGeometry(), FSkinRect, *Picture, w, h, MovedGeometry(w, h), true, bitmap);
      break;
    case TskStretchKind::skHorizontal:
      BuildHorzImage(LTPoint.x, RectWidth(FSkinRect) - RTPoint.x, w, FSkinRect, *Picture, bitmap);
      break;
    case TskStretchKind::skVertical:
      BuildVertImage(LTPoint.y, RectHeight(FSkinRect) - LBPoint.y, h, FSkinRect, *Picture, bitmap);
      break;
    case TskStretchKind::skFixed:
    case TskStretchKind::skNone:
      bitmap.SetSize(RectWidth(FSkinRect), RectHeight(FSkinRect));
      bitmap.CopyRect(0, 0, *Picture, FSkinRect);
      break;
  }
}

// --- the relay ---

namespace {
template <class F>
void ForEachControl(platform::Window& parent, const TskSkinData* skinData, const F& f) {
  const std::vector<platform::Window*> children = parent.Children();
  for (platform::Window* child : children) {
    if (auto* c = dynamic_cast<TskControl*>(child); c && (!skinData || c->SkinData() == skinData)) f(*c);
    ForEachControl(*child, skinData, f);
  }
}
}  // namespace

void NotifyControlsBeforeChange(platform::Window& form, const TskSkinData* skinData) {
  ForEachControl(form, skinData, [](TskControl& c) {
    if (auto* s = dynamic_cast<TskSkinControl*>(&c)) s->SkinChanging();
  });
}

void NotifyControlsChange(platform::Window& form, const TskSkinData* skinData) {
  ForEachControl(form, skinData, [](TskControl& c) { c.SkinChanged(); });
}

}  // namespace skin
