// Frame layout for the current size, object placement, window region from the
// mask, and the painting of the frame and the client background.
#include <algorithm>

#include "platform/SysColors.h"
#include "skEffects.h"
#include "skSkinForm.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;

namespace {
}  // namespace

void TskSkinForm::CalcFrameLayout() {
  if (!UsableSkin()) return;
  if (FrameWidth == 0) FrameWidth = FormWidth();
  if (FrameHeight == 0) FrameHeight = FormHeight();
  layout_ = skin::CalcFrameLayout(*SkinData_, FrameWidth, FrameHeight);
}

int TskSkinForm::MinFrameWidth() const {
  if (!SkinActive_) return MinWidth > 0 ? MinWidth : kDefaultMinWidth;
  const int w = SkinData_->Picture.Width();
  return MinWidth > w && SkinWindowState_ != TWindowState::wsMinimized ? MinWidth : w;
}

int TskSkinForm::MinFrameHeight() const {
  const int h0 = SkinActive_ ? SkinData_->Picture.Height() - SkinData_->clientrect.Height()
                             : kDefaultCaptionHeight + 2 * kDefaultBorder;
  return h0 >= MinHeight || RolledUp_ || SkinWindowState_ == TWindowState::wsMinimized ? h0 : MinHeight;
}

void TskSkinForm::PlaceSkinObjects() {
  if (!UsableSkin()) return;
  for (auto& o : ObjectList)
    if (!o->SkinRectInAPicture) o->ObjectRect = MapSkinRect(*SkinData_, layout_, o->SkinRect);
  const Rect row = !layout_.NewButtonsRect.Empty() ? layout_.NewButtonsRect : layout_.NewCaptionRect;
  if (row.Empty()) return;
  auto button = [&](TskStdCommand c) -> TskSkinStdButtonObject* {
    for (auto& o : ObjectList)
      if (auto* b = dynamic_cast<TskSkinStdButtonObject*>(o.get()))
        if (b->Visible && b->SkinRectInAPicture && b->Command == c) return b;
    return nullptr;
  };
  auto caption = [&]() -> TskActiveSkinObject* {
    for (auto& o : ObjectList)
      if (o->IsCaption()) return o.get();
    return nullptr;
  };
  auto size = [&](const TskSkinStdButtonObject& b) {
    // The form icon would take the system button's place at the small-icon size;
    // icons are not drawn here, so the button keeps its picture's size.
    return Point{b.SkinRect.Width(), b.SkinRect.Height()};
  };
  const int y = row.top;
  const int offset = layout_.ButtonsOffset;
  const bool noButtonsRect = layout_.NewButtonsRect.Empty();
  constexpr TskStdCommand rowCommands[] = {TskStdCommand::cmClose, TskStdCommand::cmMaximize,
                                           TskStdCommand::cmMinimize, TskStdCommand::cmRollUp};
  if (!layout_.ButtonsInLeft) {
    int x = row.right;
    for (TskStdCommand c : rowCommands)
      if (auto* b = button(c)) {
        const Point s = size(*b);
        b->ObjectRect = {x - s.x, y, x, y + s.y};
        x -= offset + s.x;
      }
    if (noButtonsRect)
      if (auto* cap = caption()) cap->ObjectRect.right = x + offset;
    x = layout_.NewCaptionRect.left;
    if (auto* b = button(TskStdCommand::cmSysMenu)) {
      const Point s = size(*b);
      const Rect& cr = layout_.NewCaptionRect;
      const int top = cr.top + cr.Height() / 2 - s.y / 2;
      b->ObjectRect = {x, top, x + s.x, top + s.y};
      x += offset + s.x;
      if (auto* cap = caption()) cap->ObjectRect.left = x - offset;
    }
  } else {
    int x = row.left;
    auto place = [&](TskStdCommand c) {
      if (auto* b = button(c)) {
        const Point s = size(*b);
        b->ObjectRect = {x, y, x + s.x, y + s.y};
        x += offset + s.x;
      }
    };
    for (TskStdCommand c : rowCommands) place(c);
    if (noButtonsRect) {
      place(TskStdCommand::cmSysMenu);
      if (auto* cap = caption()) cap->ObjectRect.left = x + offset;
    }
  }
}

void TskSkinForm::UpdateFrame(bool rebuild) {
  if (Designing() || !UsableSkin()) return;
  CalcFrameLayout();
  if (rebuild) PlaceSkinObjects();
  UpdateWindowRegion();
  // A new region repaints the frame on a desktop, but not always at once: a
  // frame image of another size is repainted here.
  if (!WindowRegion_ || frameImage_.Width() != FrameWidth || frameImage_.Height() != FrameHeight) SendNCPaint();
}

void TskSkinForm::RemoveRegion() {
  if (WindowRegion_) owner_.SetRegion(std::nullopt, true);
  WindowRegion_.reset();
  MaskTop.Clear();
  MaskBottom.Clear();
  MaskLeft.Clear();
  MaskRight.Clear();
}

void TskSkinForm::UpdateWindowRegion() {
  // A mask of another size than the frame picture would cut the window wrongly.
  if (!FrameDrawn() || !UsableSkin() || !SameSizeAsPicture(*SkinData_, SkinData_->MaskPicture)) {
    RemoveRegion();
    return;
  }
  const Rect& area = layout_.NewMaskRectArea;
  TskStrips strips;
  BuildMaskStrips(SkinFrameGeometry(*SkinData_), SkinData_->maskrectarea, SkinData_->MaskPicture, FrameWidth,
                  FrameHeight, LayoutFrameGeometry(layout_), area, strips);
  MaskTop = std::move(strips.top);
  MaskBottom = std::move(strips.bottom);
  MaskLeft = std::move(strips.left);
  MaskRight = std::move(strips.right);
  platform::Region region(area);
  auto add = [&](const Bitmap& strip, int dx, int dy) {
    if (strip.Empty()) return;  // no region: adds nothing, takes nothing away
    if (auto r = RegionFromBitmap(strip, dx, dy)) region |= *r;
  };
  add(MaskTop, 0, 0);
  add(MaskBottom, 0, area.bottom);
  add(MaskLeft, 0, area.top);
  add(MaskRight, area.right, area.top);
  WindowRegion_ = region;
  owner_.SetRegion(region, true);
}

bool TskSkinForm::PointInMask(Point p) const {
  const Rect& a = layout_.NewMaskRectArea;
  if (a.Contains(p)) return true;
  constexpr Colour kBlack = 0;  // mask pixels of the window
  if (p.y <= a.top) return MaskTop.Pixel(p.x, p.y) == kBlack && MaskTop.BoundsRect().Contains(p);
  if (p.y >= a.bottom) {
    const Point q{p.x, p.y - a.bottom};
    return MaskBottom.BoundsRect().Contains(q) && MaskBottom.Pixel(q.x, q.y) == kBlack;
  }
  if (p.x <= a.left) {
    const Point q{p.x, p.y - a.top};
    return MaskLeft.BoundsRect().Contains(q) && MaskLeft.Pixel(q.x, q.y) == kBlack;
  }
  const Point q{p.x - a.right, p.y - a.top};
  return MaskRight.BoundsRect().Contains(q) && MaskRight.Pixel(q.x, q.y) == kBlack;
}

platform::Bitmap TskSkinForm::PaintFrameImage() {
  if (!FrameDrawn()) return {};
  if (FrameWidth == 0) FrameWidth = FormWidth();
  if (FrameHeight == 0) FrameHeight = FormHeight();
  Bitmap image(FrameWidth, FrameHeight);
  if (SkinActive_) {
    // A frame below its minimum size is not painted until the size is valid again.
    if (FrameWidth < MinFrameWidth() || FrameHeight < MinFrameHeight()) return {};
    PaintSkinnedFrame(image);
  } else {
    PaintDefaultFrame(image);
  }
  return image;
}

Rect TskSkinForm::FrameClientRect() const {
  return SkinActive_ ? layout_.NewClientRect
                     : Rect{kDefaultBorder, kDefaultCaptionHeight + kDefaultBorder, FrameWidth - kDefaultBorder,
                            FrameHeight - kDefaultBorder};
}

void TskSkinForm::PaintFrame() {
  Bitmap image = PaintFrameImage();
  if (image.Empty()) return;
  frameImage_ = std::move(image);
  owner_.PresentFrame(frameImage_, FrameClientRect());
}

void TskSkinForm::PaintSkinnedFrame(Bitmap& image) {
  CalcFrameLayout();
  PlaceSkinObjects();
  const TskSkinData& s = *SkinData_;
  const bool active = IsFormActive();
  const Bitmap& source = active || !SameSizeAsPicture(s, s.InactivePicture) ? s.Picture : s.InactivePicture;
  TskStrips strips;
  BuildFrameStrips(SkinFrameGeometry(s), s.Picture.BoundsRect(), source, FrameWidth, FrameHeight,
                   LayoutFrameGeometry(layout_), {s.topstretch, s.leftstretch, s.rightstretch, s.bottomstretch},
                   strips);
  const Rect& client = layout_.NewClientRect;
  for (auto& o : ObjectList) {
    if (!o->Visible) continue;
    if (o->ObjectRect.bottom > client.top) {
      const Rect saved = o->ObjectRect;
      o->ObjectRect = {saved.left, saved.top - client.bottom, saved.right, saved.bottom - client.bottom};
      o->Draw(strips.bottom, false);
      o->ObjectRect = saved;
    } else {
      o->Draw(strips.top, false);
    }
  }
  if (!active && s.autorenderinginactiveimage) {
    for (Bitmap* b : {&strips.top, &strips.bottom, &strips.left, &strips.right}) {
      if (b->Empty()) continue;
      TskEffectBmp e(*b);
      e.ApplyInactiveEffect(s.inactiveeffect);
      *b = e.ToBitmap();
    }
  }
  const int topH = strips.top.Height();
  image.CopyRect(0, 0, strips.top, strips.top.BoundsRect());
  image.CopyRect(0, topH, strips.left, strips.left.BoundsRect());
  image.CopyRect(FrameWidth - strips.right.Width(), topH, strips.right, strips.right.BoundsRect());
  image.CopyRect(0, FrameHeight - strips.bottom.Height(), strips.bottom, strips.bottom.BoundsRect());
}

void TskSkinForm::LayoutDefaultButtons() {
  if (ObjectList.empty()) return;
  int x = FrameWidth - kDefaultBorder;
  constexpr int kButtonTop = 4;
  DefaultCaptionRect_ = {kDefaultBorder, kDefaultBorder, x, kDefaultCaptionHeight};
  constexpr TskStdCommand rowCommands[] = {TskStdCommand::cmClose, TskStdCommand::cmMaximize,
                                           TskStdCommand::cmMinimize, TskStdCommand::cmRollUp};
  auto button = [&](TskStdCommand c) -> TskSkinStdButtonObject* {
    for (auto& o : ObjectList)
      if (auto* b = dynamic_cast<TskSkinStdButtonObject*>(o.get()))
        if (b->Visible && b->SkinRectInAPicture && b->Command == c) return b;
    return nullptr;
  };
  for (TskStdCommand c : rowCommands)
    if (auto* b = button(c)) {
      b->ObjectRect = {x - kDefaultButtonSize, kButtonTop, x, kButtonTop + kDefaultButtonSize};
      x -= kDefaultButtonSize;
    }
  DefaultCaptionRect_.right = x;
  x = DefaultCaptionRect_.left;
  if (auto* b = button(TskStdCommand::cmSysMenu)) {
    b->ObjectRect = {x, kButtonTop, x + kDefaultButtonSize, kButtonTop + kDefaultButtonSize};
    x += kDefaultButtonSize;
    DefaultCaptionRect_.left = x;
  }
}

void TskSkinForm::PaintDefaultFrame(Bitmap& image) {
  constexpr int ch = kDefaultCaptionHeight;
  constexpr int border = kDefaultBorder;
  if (ObjectList.empty() && !UsableSkin()) CreateDefaultButtons();
  LayoutDefaultButtons();
  const Colour face = SysColor(SysColour::BtnFace);
  Bitmap b(std::max(0, FrameWidth - 2 * border), ch, face);
  const int l = DefaultCaptionRect_.left - border;
  const int r = b.Width() - DefaultCaptionRect_.right;
  // The caption's grip lines, alternating light and dark.
  if (ch - 4 > 1)
    for (int i = 0; i < ch - 5; ++i)
      b.Line(l + 2, 2 + i, b.Width() - r - 6, 2 + i,
             SysColor(i % 2 == 0 ? SysColour::BtnHighlight : SysColour::BtnShadow));
  const TskCaptionFont& f = IsFormActive() ? DefCaptionFont_ : DefInActiveCaptionFont_;
  std::string text = CaptionText();
  if (!text.empty()) {
    constexpr unsigned flags = platform::textflag::kSingleLine | platform::textflag::kNoPrefix;
    const int room = b.Width() - l - r;
    FitTextWithEllipsis([&](std::string_view t) { return platform::TextExtent(f.font, t, flags).x; }, text, room);
    const platform::Point size = platform::TextExtent(f.font, text, flags);
    // A plain patch under the text, 5 pixels wider than it.
    constexpr int kTextPatch = 5, kTextIndent = 3;
    const int x = room / 2 + l - (size.x + kTextPatch) / 2;
    const int y = ch / 2 - size.y / 2;
    b.FillRect({x, 0, x + size.x + kTextPatch, b.Height()}, face);
    platform::PaintText(b, f.font, {x + kTextIndent, y, x + kTextIndent + size.x, y + size.y}, text, f.color, flags);
  }
  for (auto& o : ObjectList) {
    if (!o->Visible) continue;
    const Rect saved = o->ObjectRect;
    o->ObjectRect = {saved.left - border, saved.top - border, saved.right - border, saved.bottom - border};
    o->Draw(b, true);
    o->ObjectRect = saved;
  }
  image.FillRect(image.BoundsRect(), face);
  image.CopyRect(border, border, b, b.BoundsRect());
  // Three bevels, outermost first.
  // The platform has no 3-D light and dark-shadow colours: button face and button
  // text stand in for them (the same and the nearest in the classic scheme).
  const std::pair<SysColour, SysColour> bevels[] = {{SysColour::BtnFace, SysColour::BtnText},
                                                    {SysColour::BtnHighlight, SysColour::BtnShadow},
                                                    {SysColour::BtnFace, SysColour::BtnFace}};
  Rect e = image.BoundsRect();
  for (const auto& [light, dark] : bevels) {
    image.FillRect({e.left, e.top, e.right, e.top + 1}, SysColor(light));
    image.FillRect({e.left, e.top, e.left + 1, e.bottom}, SysColor(light));
    image.FillRect({e.left, e.bottom - 1, e.right, e.bottom}, SysColor(dark));
    image.FillRect({e.right - 1, e.top, e.right, e.bottom}, SysColor(dark));
    e = {e.left + 1, e.top + 1, e.right - 1, e.bottom - 1};
  }
}

void TskSkinForm::PaintClientBackground(Bitmap& client) {
  const Colour face = SysColor(SysColour::BtnFace);
  if (!UsableSkin()) {
    client.FillRect(client.BoundsRect(), face);
    return;
  }
  const TskSkinData& s = *SkinData_;
  if (s.bgpictureindex == kNoPicture) {
    if (s.clientrect.Empty()) {
      client.FillRect(client.BoundsRect(), face);
      return;
    }
    const Rect& cr = s.clientrect;
    for (int y = 0; y < client.Height(); y += cr.Height())
      for (int x = 0; x < client.Width(); x += cr.Width()) client.CopyRect(x, y, s.Picture, cr);
    return;
  }
  // A picture index outside the list leaves the plain background.
  const Bitmap* bg = s.GetActivePicture(s.bgpictureindex);
  if (!bg || bg->Empty()) {
    client.FillRect(client.BoundsRect(), face);
    return;
  }
  for (int row = 0; row <= client.Height() / bg->Height(); ++row)
    for (int col = 0; col <= client.Width() / bg->Width(); ++col)
      client.CopyRect(col * bg->Width(), row * bg->Height(), *bg, bg->BoundsRect());
}

void TskSkinForm::DrawObjectNow(TskActiveSkinObject& object) {
  if (!FrameDrawn() || frameImage_.Empty()) return;
  object.Draw(frameImage_, true);
  owner_.PresentFrame(frameImage_, FrameClientRect());
}

}  // namespace skin
