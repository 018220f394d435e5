#include "skSkinHeader.h"

#include "platform/Input.h"
#include "platform/SysColors.h"
#include "skCtrlDraw.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;
namespace textflag = platform::textflag;

namespace {
constexpr unsigned kTextFlags = textflag::kCenter | textflag::kVCenter | textflag::kSingleLine;
}  // namespace

void DrawSkinButtonSection(Bitmap& image, const Rect& r, const TskDataSkinButtonControl& rec, const Bitmap* picture,
                           TskFont font, const std::string& caption, bool enabled, bool hot, bool pressed) {
  auto pick = [](const Rect& state, const Rect& fallback) { return IsNullRect(state) ? fallback : state; };
  const Rect src = !enabled ? pick(rec.disabledskinrect, rec.skinrect)
                   : pressed ? pick(rec.downskinrect, rec.skinrect)
                   : hot     ? pick(rec.activeskinrect, rec.skinrect)
                             : rec.skinrect;
  Bitmap section(r.Width(), r.Height(), SysColor(SysColour::BtnFace));
  const Rect client = DrawSkinFrame(section, rec, picture, src);
  font.color = !enabled ? rec.disabledfontcolor : pressed ? rec.downfontcolor : hot ? rec.activefontcolor : rec.fontcolor;
  platform::PaintText(section, font.font, IsNullRect(client) ? section.BoundsRect() : client, caption, font.color,
                      kTextFlags);
  image.CopyRect(r.left, r.top, section, section.BoundsRect());
}

TskHeaderControl::TskHeaderControl(platform::Window& parent) : TskControl(parent) { SetBounds(0, 0, 200, 17); }

void TskHeaderControl::SetSections(std::vector<THeaderSection> sections) {
  Sections_ = std::move(sections);
  Invalidate();
}

Rect TskHeaderControl::SectionRect(int index) const {
  if (index < 0 || index >= int(Sections_.size())) return {};
  int x = 0;
  for (int i = 0; i < index; ++i) x += Sections_[std::size_t(i)].Width;
  return {x, 0, x + Sections_[std::size_t(index)].Width, Height()};
}

int TskHeaderControl::SectionAt(int x, int y) const {
  for (int i = 0; i < int(Sections_.size()); ++i) {
    if (SectionRect(i).Contains({x, y})) return i;
  }
  return -1;
}

void TskHeaderControl::DrawSection(Bitmap& image, int index, const Rect& r, bool, bool pressed) {
  image.FillRect(r, SysColor(SysColour::BtnFace));
  DrawEdge3D(image, r, !pressed);
  DrawControlText(image, Font(), r, Sections_[std::size_t(index)].Text, kTextFlags, Enabled());
}

void TskHeaderControl::Paint(Bitmap& canvas) {
  Bitmap image(Width(), Height(), SysColor(SysColour::BtnFace));
  for (int i = 0; i < int(Sections_.size()); ++i) DrawSection(image, i, SectionRect(i), i == hot_, i == pressed_);
  canvas.CopyRect(0, 0, image, image.BoundsRect());
}

void TskHeaderControl::SectionClicked(int index) {
  if (OnSectionClick) OnSectionClick(*this, index);
}

void TskHeaderControl::MouseDown(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft) return;
  pressed_ = SectionAt(x, y);
  if (pressed_ < 0) return;
  platform::SetCapture(*this);
  Invalidate();
}

void TskHeaderControl::MouseUp(TMouseButton button, int x, int y) {
  if (button != TMouseButton::mbLeft || pressed_ < 0) return;
  const int pressed = pressed_;
  pressed_ = -1;
  if (platform::CaptureWindow() == this) platform::ReleaseCapture();
  Invalidate();
  // A click is a press and a release over the same section.
  if (SectionAt(x, y) == pressed) SectionClicked(pressed);
}

void TskHeaderControl::MouseMove(int x, int y) {
  const int hot = SectionAt(x, y);
  if (hot == hot_) return;
  hot_ = hot;
  Invalidate();
}

void TskHeaderControl::MouseLeave() {
  TskControl::MouseLeave();
  hot_ = -1;
  Invalidate();
}

// --- TskSkinHeaderControl ---

TskSkinHeaderControl::TskSkinHeaderControl(platform::Window& parent)
    : TskHeaderControl(parent), DefaultFont_(DefaultControlFont()) {
  SkinDataName = "resizebutton";
}

void TskSkinHeaderControl::SetDefaultHeight(int height) {
  DefaultHeight_ = height;
  ReadSkinRecord();
  if (SkinIndex() == -1 && height > 0) SetHeight(height);
}

void TskSkinHeaderControl::SetDefaultFont(const TskFont& font) {
  DefaultFont_ = font;
  Invalidate();
}

void TskSkinHeaderControl::SetSkinData(TskSkinData* data) {
  StoreSkinData(data);
  SkinChanged();
}

void TskSkinHeaderControl::ReadSkinRecord() {
  TskHeaderControl::ReadSkinRecord();
  if (!SkinRecordAs<TskDataSkinButtonControl>()) SetSkinIndex(-1);
}

void TskSkinHeaderControl::SkinChanged() {
  ReadSkinRecord();
  const auto* r = SkinRecordAs<TskDataSkinButtonControl>();
  const int h = r ? RectHeight(r->skinrect) : DefaultHeight_;
  if (h > 0) SetHeight(h);
  Invalidate();
}

void TskSkinHeaderControl::Paint(Bitmap& canvas) {
  ReadSkinRecord();
  TskHeaderControl::Paint(canvas);
}

void TskSkinHeaderControl::DrawSection(Bitmap& image, int index, const Rect& r, bool hot, bool pressed) {
  const auto* rec = SkinRecordAs<TskDataSkinButtonControl>();
  if (!rec) {
    TskHeaderControl::DrawSection(image, index, r, hot, pressed);
    return;
  }
  DrawSkinButtonSection(image, r, *rec, SkinData()->GetActivePicture(rec->pictureindex),
                        ChooseRecordFont(rec, UseSkinFont, DefaultFont_, Font()), Sections()[std::size_t(index)].Text,
                        Enabled(), hot, pressed);
  if (OnDrawSkinSection) OnDrawSkinSection(*this, index, image, r);
}

void TskSkinHeaderControl::SectionClicked(int index) {
  TskHeaderControl::SectionClicked(index);
  if (OnSkinSectionClick) OnSkinSectionClick(*this, index);
}

}  // namespace skin
