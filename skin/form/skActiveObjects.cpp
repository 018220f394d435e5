#include "skActiveObjects.h"

#include <algorithm>

#include "platform/SysColors.h"
#include "skEffects.h"
#include "skSkinForm.h"

namespace skin {

using platform::Bitmap;

namespace {
// One step of a morph; ten steps take an object from one image to the other.
constexpr double kMorphStep = 0.1;
// Plain-frame button colours: the frame of a lit button and its fill, pressed or not.
constexpr Colour kPlainButtonFrame = platform::Rgb(0, 0, 128);
constexpr Colour kPlainButtonDownFill = platform::Rgb(133, 147, 181);
constexpr Colour kPlainButtonHotFill = platform::Rgb(182, 189, 210);
// The plain glyphs are 10 x 10: their origin lies this far up-left of the centre
// (one pixel less when pressed, so the glyph moves with the press).
constexpr int kGlyphOffsetX = 5, kGlyphOffsetY = 4;
}  // namespace

// --- base ---

TskActiveSkinObject::TskActiveSkinObject(TskSkinForm& form, const TskDataSkinObject* record)
    : SkinForm(form), SkinData(form.SkinData()) {
  if (!record) return;
  IDName = record->IDName;
  Hint = record->hint;
  SkinRectInAPicture = record->skinrectinapicture;
  SkinRect = record->skinrect;
  ActiveSkinRect = record->activeskinrect;
  Morphing = record->morphing;
  MorphKind = record->morphkind;
  if (SkinData) {
    ActivePicture = SkinData->GetActivePicture(record->activepictureindex);
    Picture = &SkinData->Picture;
  }
  if (!ActivePicture) ActiveSkinRect = NullRect();
  if (ActiveSkinRect.Empty()) Morphing = false;
  ObjectRect = SkinRect;
}

bool TskActiveSkinObject::CanMorph() const { return (Active && MorphFactor < 1) || (!Active && MorphFactor > 0); }

Bitmap TskActiveSkinObject::Image(const Bitmap& from, const Rect& r) const {
  Bitmap out(ObjectRect.Width(), ObjectRect.Height());
  out.StretchRect(out.BoundsRect(), from, r);
  return out;
}

void TskActiveSkinObject::DrawMorph(Bitmap& canvas, const Bitmap& normal, const Bitmap& active) const {
  TskEffectBmp a(normal);
  const TskEffectBmp b(active);
  a.Morph(MorphKind, b, MorphFactor);
  a.DrawToDC(canvas, ObjectRect.left, ObjectRect.top);
}

void TskActiveSkinObject::Draw(Bitmap& canvas, bool updateOnly) {
  const Bitmap* normalSource = SkinRectInAPicture ? ActivePicture : Picture;
  if (Morphing && CanMorph() && ActivePicture && normalSource) {
    DrawMorph(canvas, Image(*normalSource, SkinRect), Image(*ActivePicture, ActiveSkinRect));
    return;
  }
  if (!Active || ActiveSkinRect.Empty()) {
    if (!updateOnly && !SkinRectInAPicture) return;  // the frame picture already shows it
    if (normalSource) canvas.StretchRect(ObjectRect, *normalSource, SkinRect);
    return;
  }
  canvas.StretchRect(ObjectRect, *ActivePicture, ActiveSkinRect);
}

void TskActiveSkinObject::MouseDown(int x, int y, TMouseButton button) {
  if (SkinForm.OnMouseDownEvent) SkinForm.OnMouseDownEvent(SkinForm, IDName, x, y, ObjectRect, button);
}

void TskActiveSkinObject::MouseUp(int x, int y, TMouseButton button) {
  if (MouseInside && SkinForm.OnMouseUpEvent) SkinForm.OnMouseUpEvent(SkinForm, IDName, x, y, ObjectRect, button);
}

void TskActiveSkinObject::MouseMove(int x, int y) {
  if (SkinForm.OnMouseMoveEvent) SkinForm.OnMouseMoveEvent(SkinForm, IDName, x, y, ObjectRect);
}

void TskActiveSkinObject::MouseEnter() {
  MouseInside = true;
  Active = true;
  if (!ActiveSkinRect.Empty()) Redraw();
  if (SkinForm.OnMouseEnterEvent) SkinForm.OnMouseEnterEvent(SkinForm, IDName);
}

void TskActiveSkinObject::MouseLeave() {
  MouseInside = false;
  Active = false;
  if (!ActiveSkinRect.Empty()) Redraw();
  if (SkinForm.OnMouseLeaveEvent) SkinForm.OnMouseLeaveEvent(SkinForm, IDName);
}

void TskActiveSkinObject::Redraw() {
  if (Morphing)
    SkinForm.MorphTimer.SetEnabled(true);
  else
    DrawNow();
}

void TskActiveSkinObject::DrawNow() { SkinForm.DrawObjectNow(*this); }

void TskActiveSkinObject::MorphStep() {
  MorphFactor = std::clamp(MorphFactor + (Active ? kMorphStep : -kMorphStep), 0.0, 1.0);
  DrawNow();
}

// --- user object ---

void TskUserObject::Draw(Bitmap& canvas, bool) {
  if (SkinForm.OnPaintEvent) SkinForm.OnPaintEvent(SkinForm, IDName, canvas, ObjectRect);
}

// --- button ---

TskSkinButtonObject::TskSkinButtonObject(TskSkinForm& form, const TskDataSkinButton* record)
    : TskActiveSkinObject(form, record) {
  if (!record) return;
  DownRect = record->downrect;
  DisableSkinRect = record->disableskinrsect;
}

bool TskSkinButtonObject::CanMorph() const { return TskActiveSkinObject::CanMorph() && !(HasMenu && Down); }

void TskSkinButtonObject::Draw(Bitmap& canvas, bool updateOnly) {
  if (!Enabled && !DisableSkinRect.Empty() && ActivePicture) {
    canvas.StretchRect(ObjectRect, *ActivePicture, DisableSkinRect);
  } else if (Down && !DownRect.Empty() && MouseInside && ActivePicture) {
    canvas.StretchRect(ObjectRect, *ActivePicture, DownRect);
  } else {
    TskActiveSkinObject::Draw(canvas, updateOnly);
  }
}

void TskSkinButtonObject::MouseDown(int x, int y, TMouseButton button) {
  if (!Enabled) return;
  if (button == TMouseButton::mbLeft && !Down) SetDown(true);
  TskActiveSkinObject::MouseDown(x, y, button);
}

void TskSkinButtonObject::MouseUp(int x, int y, TMouseButton button) {
  if (!Enabled) return;
  if (button == TMouseButton::mbLeft && !HasMenu && Down) SetDown(false);
  TskActiveSkinObject::MouseUp(x, y, button);
}

void TskSkinButtonObject::MouseEnter() {
  MouseInside = true;
  Active = true;
  if (!DownRect.Empty() && Down) {
    if (Morphing) MorphFactor = 1.0;
    DrawNow();
  } else if (!ActiveSkinRect.Empty()) {
    Redraw();
  }
  if (SkinForm.OnMouseEnterEvent) SkinForm.OnMouseEnterEvent(SkinForm, IDName);
}

void TskSkinButtonObject::MouseLeave() {
  MouseInside = false;
  Active = false;
  if (!(HasMenu && Down)) {
    DrawNow();
    Redraw();
  }
  if (SkinForm.OnMouseLeaveEvent) SkinForm.OnMouseLeaveEvent(SkinForm, IDName);
}

void TskSkinButtonObject::SetDown(bool down) {
  Down = down;
  if (Morphing && Active) MorphFactor = 1.0;
  DrawNow();
  if (Morphing && !Down) Redraw();
}

// --- standard button ---

TskSkinStdButtonObject::TskSkinStdButtonObject(TskSkinForm& form, const TskDataSkinStdButton* record,
                                               TskStdCommand command, std::string name)
    : TskSkinButtonObject(form, record), Command(command) {
  if (record) {
    HasRecord = true;
    Command = record->command;
    RestoreRect = record->restorerect;
    RestoreActiveRect = record->restoreactiverect;
    RestoreInActiveRect = record->restoreinactiverect;
    RestoreDownRect = record->restoredownrect;
  } else {
    IDName = std::move(name);
  }
}

bool TskSkinStdButtonObject::ShowsIcon() const {
  return Command == TskStdCommand::cmSysMenu && SkinForm.ShowIcon() && SkinRectInAPicture;
}

bool TskSkinStdButtonObject::CanMorph() const { return !ShowsIcon() && TskSkinButtonObject::CanMorph(); }

bool TskSkinStdButtonObject::InRestoreState() const {
  switch (Command) {
    case TskStdCommand::cmMaximize: return SkinForm.SkinWindowState() == TWindowState::wsMaximized;
    case TskStdCommand::cmMinimize: return SkinForm.SkinWindowState() == TWindowState::wsMinimized;
    case TskStdCommand::cmRollUp: return SkinForm.RolledUp();
    default: return false;
  }
}

void TskSkinStdButtonObject::Draw(Bitmap& canvas, bool updateOnly) {
  if (!HasRecord) {
    DrawDefault(canvas);
    return;
  }
  if (Enabled && InRestoreState() && !RestoreRect.Empty() && ActivePicture) {
    const Bitmap& ap = *ActivePicture;
    if (!SkinForm.IsFormActive() && !RestoreInActiveRect.Empty()) {
      canvas.StretchRect(ObjectRect, ap, RestoreInActiveRect);
    } else if (Down && MouseInside && !RestoreDownRect.Empty()) {
      canvas.StretchRect(ObjectRect, ap, RestoreDownRect);
    } else if (Morphing && BetweenMorphEnds()) {
      DrawMorph(canvas, Image(ap, RestoreRect), Image(ap, RestoreActiveRect));
    } else {
      canvas.StretchRect(ObjectRect, ap, Active && !RestoreActiveRect.Empty() ? RestoreActiveRect : RestoreRect);
    }
    return;
  }
  TskSkinButtonObject::Draw(canvas, updateOnly);
}

void TskSkinStdButtonObject::DrawDefault(Bitmap& canvas) {
  using platform::SysColor;
  using platform::SysColour;
  Bitmap image(ObjectRect.Width(), ObjectRect.Height(), SysColor(SysColour::BtnFace));
  const bool pressed = Down && MouseInside;
  if (MouseInside) {
    image.FillRect(image.BoundsRect(), pressed ? kPlainButtonDownFill : kPlainButtonHotFill);
    image.FrameRect(image.BoundsRect(), kPlainButtonFrame);
  }
  const int gx = image.Width() / 2 - kGlyphOffsetX + (pressed ? 1 : 0);
  const int gy = image.Height() / 2 - kGlyphOffsetY + (pressed ? 1 : 0);
  const Colour c = SysColor(Enabled ? SysColour::BtnText : SysColour::BtnShadow);
  const bool maximized = SkinForm.SkinWindowState() == TWindowState::wsMaximized;
  const bool minimized = SkinForm.SkinWindowState() == TWindowState::wsMinimized;
  switch (Command) {
    case TskStdCommand::cmClose: DrawCloseGlyph(image, gx, gy, c); break;
    case TskStdCommand::cmMaximize: (maximized ? DrawRestoreGlyph : DrawMaximizeGlyph)(image, gx, gy, c); break;
    case TskStdCommand::cmMinimize: (minimized ? DrawRestoreGlyph : DrawMinimizeGlyph)(image, gx, gy, c); break;
    case TskStdCommand::cmSysMenu: DrawSysMenuGlyph(image, gx, gy, c); break;
    case TskStdCommand::cmRollUp:
      (SkinForm.RolledUp() ? DrawRollDownGlyph : DrawRollUpGlyph)(image, gx, gy, c);
      break;
    case TskStdCommand::cmDefault: break;
  }
  canvas.CopyRect(ObjectRect.left, ObjectRect.top, image, image.BoundsRect());
}

void TskSkinStdButtonObject::DblClick() {
  if (Command != TskStdCommand::cmSysMenu) return;
  // The first click opened the system menu; it goes with the form.
  if (SkinForm.SkinMenu().IsOpen) SkinForm.SkinMenu().CloseAllMenus();
  SkinForm.CloseForm();
}

void TskSkinStdButtonObject::MouseDown(int, int, TMouseButton button) {
  if (!Enabled || button != TMouseButton::mbLeft || Down) return;
  SetDown(true);
  if (Command != TskStdCommand::cmSysMenu) return;
  // Stays down while the system menu is open.
  HasMenu = true;
  SkinForm.TrackSystemMenu(ObjectRect);
}

void TskSkinStdButtonObject::MouseUp(int x, int y, TMouseButton button) {
  if (Command == TskStdCommand::cmClose) {
    // The button is drawn up again before the form goes away.
    TskSkinButtonObject::MouseUp(x, y, button);
    if (Active && button == TMouseButton::mbLeft) Execute();
    return;
  }
  if (Active && button == TMouseButton::mbLeft) Execute();
  TskSkinButtonObject::MouseUp(x, y, button);
}

void TskSkinStdButtonObject::Execute() {
  switch (Command) {
    case TskStdCommand::cmClose: SkinForm.CloseForm(); break;
    case TskStdCommand::cmMaximize:
      SkinForm.SetSkinWindowState(SkinForm.SkinWindowState() == TWindowState::wsMaximized ? TWindowState::wsNormal
                                                                                          : TWindowState::wsMaximized);
      break;
    case TskStdCommand::cmMinimize:
      SkinForm.SetSkinWindowState(SkinForm.SkinWindowState() == TWindowState::wsMinimized ? TWindowState::wsNormal
                                                                                          : TWindowState::wsMinimized);
      break;
    case TskStdCommand::cmRollUp: SkinForm.SetRollUp(!SkinForm.RolledUp()); break;
    case TskStdCommand::cmSysMenu:
    case TskStdCommand::cmDefault: break;
  }
}

// --- caption ---

TskSkinCaptionObject::TskSkinCaptionObject(TskSkinForm& form, const TskDataSkinCaption* record)
    : TskActiveSkinObject(form, record), text_(record ? record->IDName : std::string()) {
  if (!record) return;
  text_.fontname = record->fontname;
  text_.fontheight = record->fontheight;
  text_.fontstyle = record->fontstyle;
  text_.fontcolor = record->fontcolor;
  text_.activefontcolor = record->activefontcolor;
  text_.shadowcolor = record->shadowcolor;
  text_.activeshadowcolor = record->activeshadowcolor;
  text_.shadow = record->shadow;
  text_.alignment = record->alignment;
  text_.textrect = record->textrect;
  text_.framerect = record->framerect;
  text_.activeframerect = record->activeframerect;
  text_.frameleftoffset = record->frameleftoffset;
  text_.framerightoffset = record->framerightoffset;
  text_.frametextrect = record->frametextrect;
  text_.skinrect = record->skinrect;
}

Bitmap TskSkinCaptionObject::CaptionImage(const Bitmap& from, const Rect& sr, bool active) const {
  Bitmap image(ObjectRect.Width(), ObjectRect.Height());
  const int leftPart = SkinData ? SkinData->lefttoppoint.x - text_.skinrect.left : 0;
  const int rightPart = SkinData ? text_.skinrect.right - SkinData->righttoppoint.x : 0;
  if (leftPart != 0 || rightPart != 0) {
    const Rect middle{sr.left + leftPart, sr.top, sr.right - rightPart, sr.bottom};
    if (middle.Width() > 0)
      for (int x = 0; x < image.Width(); x += middle.Width()) image.CopyRect(x, 0, from, middle);
    image.CopyRect(0, 0, from, {sr.left, sr.top, sr.left + leftPart, sr.bottom});
    image.CopyRect(image.Width() - rightPart, 0, from, {sr.right - rightPart, sr.top, sr.right, sr.bottom});
  } else {
    image.StretchRect(image.BoundsRect(), from, sr);
  }
  PaintCaptionText(image, 0, 0, active);
  return image;
}

void TskSkinCaptionObject::PaintCaptionText(Bitmap& canvas, int ox, int oy, bool active) const {
  std::string text = SkinForm.CaptionText();
  if (text.empty() || text_.textrect.Empty()) return;
  Rect tr = text_.textrect;
  tr.right = ObjectRect.Width() + text_.textrect.right - text_.skinrect.Width();
  if (!text_.framerect.Empty()) {
    tr.left += text_.frametextrect.left;
    tr.top += text_.frametextrect.top;
    tr.right += text_.frametextrect.right - text_.framerect.Width();
  }
  platform::Font font;
  font.name = text_.fontname;
  font.style = text_.fontstyle;
  font.height = text_.fontheight;
  font.charset = SkinForm.DefCaptionFont().font.charset;
  constexpr unsigned flags = platform::textflag::kSingleLine | platform::textflag::kNoPrefix;
  FitTextWithEllipsis([&](std::string_view t) { return platform::TextExtent(font, t, flags).x; }, text, tr.Width());
  const platform::Point size = platform::TextExtent(font, text, flags);
  int x = tr.left;
  if (text_.alignment == TAlignment::taRightJustify) x = tr.right - size.x;
  if (text_.alignment == TAlignment::taCenter) x = tr.left + tr.Width() / 2 - size.x / 2;
  int y = tr.top + tr.Height() / 2 - size.y / 2;
  x += ox;
  y += oy;
  if (!text_.framerect.Empty() && ActivePicture) {
    const Rect& fr = active && !text_.activeframerect.Empty() ? text_.activeframerect : text_.framerect;
    Bitmap frame;
    BuildHorzImage(text_.frameleftoffset, text_.framerightoffset,
                   text_.framerect.Width() + size.x - text_.frametextrect.Width(), fr, *ActivePicture, frame);
    canvas.CopyRect(x - text_.frametextrect.left, y - text_.frametextrect.top, frame, frame.BoundsRect());
  }
  auto paint = [&](int px, int py, Colour c) {
    platform::PaintText(canvas, font, {px, py, px + size.x, py + size.y}, text, c, flags);
  };
  if (text_.shadow) paint(x + 1, y + 1, active ? text_.activeshadowcolor : text_.shadowcolor);
  paint(x, y, active ? text_.activefontcolor : text_.fontcolor);
}

void TskSkinCaptionObject::ApplyInactiveEffect(Bitmap& image) const {
  if (SkinForm.IsFormActive() || !SkinData || !SkinData->autorenderinginactiveimage) return;
  TskEffectBmp e(image);
  e.ApplyInactiveEffect(SkinData->inactiveeffect);
  image = e.ToBitmap();
}

void TskSkinCaptionObject::Draw(Bitmap& canvas, bool) {
  if (Morphing && BetweenMorphEnds() && Picture && ActivePicture) {
    const Bitmap normal = CaptionImage(*Picture, SkinRect, false);
    const Bitmap active = CaptionImage(*ActivePicture, ActiveSkinRect, true);
    TskEffectBmp a(normal);
    a.Morph(MorphKind, TskEffectBmp(active), MorphFactor);
    Bitmap result = a.ToBitmap();
    ApplyInactiveEffect(result);
    canvas.CopyRect(ObjectRect.left, ObjectRect.top, result, result.BoundsRect());
    return;
  }
  if (ActiveSkinRect.Empty() || (!Active && !Morphing) || !Picture) {
    PaintCaptionText(canvas, ObjectRect.left, ObjectRect.top, Active);
    return;
  }
  Bitmap image = Active ? CaptionImage(*ActivePicture, ActiveSkinRect, true) : CaptionImage(*Picture, SkinRect, false);
  if (!Active) ApplyInactiveEffect(image);
  canvas.CopyRect(ObjectRect.left, ObjectRect.top, image, image.BoundsRect());
}

void TskSkinCaptionObject::MouseDown(int x, int y, TMouseButton button) {
  if (SkinForm.OnMouseDownEvent) SkinForm.OnMouseDownEvent(SkinForm, IDName, x, y, ObjectRect, button);
}

void TskSkinCaptionObject::MouseUp(int x, int y, TMouseButton button) {
  if (SkinForm.OnMouseUpEvent) SkinForm.OnMouseUpEvent(SkinForm, IDName, x, y, ObjectRect, button);
}

void TskSkinCaptionObject::MouseEnter() {
  MouseInside = true;
  if (SkinForm.OnMouseEnterEvent) SkinForm.OnMouseEnterEvent(SkinForm, IDName);
}

void TskSkinCaptionObject::MouseLeave() {
  MouseInside = false;
  if (SkinForm.OnMouseLeaveEvent) SkinForm.OnMouseLeaveEvent(SkinForm, IDName);
}

}  // namespace skin
