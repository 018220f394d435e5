#include "skMenuBarObjects.h"

#include <algorithm>

#include "platform/SysColors.h"
#include "skEffects.h"
#include "skMainMenuBar.h"
#include "skSkinMenus.h"
#include "skUtils.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;

namespace {
constexpr double kMorphStep = 0.1;
// The plain look of a lit or pressed object: a dark blue frame round a blue-grey fill.
constexpr Colour kPlainFrame = platform::Rgb(0, 0, 128);
constexpr Colour kPlainDownFill = platform::Rgb(133, 147, 181);
constexpr Colour kPlainHotFill = platform::Rgb(182, 189, 210);
// Room round a plain item's caption, and round a skinned one's measured caption.
constexpr int kPlainItemPadding = 12;
constexpr int kSkinCaptionPadding = 2;
// The plain glyphs are 10 x 10: their origin lies this far up-left of the centre.
constexpr int kGlyphOffsetX = 5, kGlyphOffsetY = 4;
constexpr unsigned kCaptionFlags = platform::textflag::kSingleLine | platform::textflag::kCenter;

Bitmap SourceImage(const Bitmap& from, const Rect& r, int w, int h) {
  Bitmap out(w, h);
  out.StretchRect(out.BoundsRect(), from, r);
  return out;
}
}  // namespace

// --- base ---

TskMenuBarObject::TskMenuBarObject(TskSkinMainMenuBar& bar, const TskDataSkinObject* record) : MenuBar(bar) {
  if (!record) return;
  IDName = record->IDName;
  SkinRect = record->skinrect;
  ActiveSkinRect = record->activeskinrect;
  DownRect = record->activeskinrect;
  Morphing = record->morphing;
  MorphKind = record->morphkind;
  ObjectRect = SkinRect;
  if (TskSkinData* data = bar.SkinData()) Picture = data->GetActivePicture(record->activepictureindex);
  if (ActiveSkinRect.Empty()) Morphing = false;
}

void TskMenuBarObject::MouseEnter() {
  MouseInside = true;
  Active = true;
  Redraw();
}

void TskMenuBarObject::MouseLeave() {
  MouseInside = false;
  Active = false;
  Redraw();
}

bool TskMenuBarObject::CanMorph() const { return !(Down && !DownRect.Empty()) && BetweenMorphEnds(); }

void TskMenuBarObject::Redraw() {
  if (Morphing)
    MenuBar.BarMorphTimer.SetEnabled(true);
  else if (Visible)
    MenuBar.DrawObjectNow(*this);
}

void TskMenuBarObject::MorphStep() {
  MorphFactor = std::clamp(MorphFactor + (Active ? kMorphStep : -kMorphStep), 0.0, 1.0);
  MenuBar.DrawObjectNow(*this);
}

void TskMenuBarObject::DrawMorph(Bitmap& canvas, const Bitmap& normal, const Bitmap& active) const {
  TskEffectBmp a(normal);
  a.Morph(MorphKind, TskEffectBmp(active), MorphFactor);
  a.DrawToDC(canvas, ObjectRect.left, ObjectRect.top);
}

// --- child button ---

TskSkinMainMenuBarButton::TskSkinMainMenuBarButton(TskSkinMainMenuBar& bar,
                                                   const TskDataSkinMainMenuBarButton* record,
                                                   TskStdCommand command, std::string name)
    : TskMenuBarObject(bar, record), Command(command) {
  IDName = std::move(name);
  if (!record) return;
  HasRecord = true;
  DownRect = record->downrect;
}

void TskSkinMainMenuBarButton::Draw(Bitmap& canvas) {
  if (!HasRecord || !Picture) {
    DrawDefault(canvas);
    return;
  }
  const int w = ObjectRect.Width(), h = ObjectRect.Height();
  if (Down && MouseInside && !DownRect.Empty()) {
    canvas.StretchRect(ObjectRect, *Picture, DownRect);
  } else if (Morphing && BetweenMorphEnds()) {
    DrawMorph(canvas, SourceImage(*Picture, SkinRect, w, h), SourceImage(*Picture, ActiveSkinRect, w, h));
  } else {
    canvas.StretchRect(ObjectRect, *Picture, Active && !ActiveSkinRect.Empty() ? ActiveSkinRect : SkinRect);
  }
}

void TskSkinMainMenuBarButton::DrawDefault(Bitmap& canvas) const {
  Bitmap image(ObjectRect.Width(), ObjectRect.Height(), SysColor(SysColour::BtnFace));
  const bool pressed = Down && MouseInside;
  if (MouseInside) {
    image.FillRect(image.BoundsRect(), pressed ? kPlainDownFill : kPlainHotFill);
    image.FrameRect(image.BoundsRect(), kPlainFrame);
  }
  const int gx = image.Width() / 2 - kGlyphOffsetX + (pressed ? 1 : 0);
  const int gy = image.Height() / 2 - kGlyphOffsetY + (pressed ? 1 : 0);
  const Colour c = SysColor(Enabled ? SysColour::BtnText : SysColour::BtnShadow);
  switch (Command) {
    case TskStdCommand::cmClose: DrawCloseGlyph(image, gx, gy, c); break;
    case TskStdCommand::cmMaximize: DrawRestoreGlyph(image, gx, gy, c); break;
    case TskStdCommand::cmMinimize: DrawMinimizeGlyph(image, gx, gy, c); break;
    case TskStdCommand::cmSysMenu: DrawSysMenuGlyph(image, gx, gy, c); break;
    default: break;
  }
  canvas.CopyRect(ObjectRect.left, ObjectRect.top, image, image.BoundsRect());
}

void TskSkinMainMenuBarButton::MouseDown(int, int, TMouseButton button) {
  if (!Enabled || button != TMouseButton::mbLeft || Down) return;
  Down = true;
  if (Morphing && !DownRect.Empty()) MorphFactor = 1.0;
  MenuBar.DrawObjectNow(*this);
  if (Command == TskStdCommand::cmSysMenu) Execute();
}

void TskSkinMainMenuBarButton::MouseUp(int, int, TMouseButton button) {
  if (!Enabled || button != TMouseButton::mbLeft || Command == TskStdCommand::cmSysMenu) return;
  Down = false;
  Redraw();
  if (Active) Execute();
}

void TskSkinMainMenuBarButton::MouseEnter() {
  if (Command == TskStdCommand::cmSysMenu && Down) {
    MouseInside = Active = true;
    return;
  }
  TskMenuBarObject::MouseEnter();
}

void TskSkinMainMenuBarButton::MouseLeave() {
  if (Command == TskStdCommand::cmSysMenu && Down) {
    MouseInside = Active = false;
    if (Morphing) MorphFactor = 1.0;
    return;
  }
  TskMenuBarObject::MouseLeave();
}

void TskSkinMainMenuBarButton::DblClick() {
  TskSkinForm* child = MenuBar.MaximizedChild;
  TskSkinForm* form = MenuBar.SkinForm();
  if (Command != TskStdCommand::cmSysMenu || !child || !form) return;
  form->SkinMenu().CloseAllMenus();
  form->SkinMenuClosed();
  child->CloseForm();
}

void TskSkinMainMenuBarButton::Execute() {
  TskSkinForm* child = MenuBar.MaximizedChild;
  if (!child) return;
  switch (Command) {
    case TskStdCommand::cmClose: child->CloseForm(); break;
    case TskStdCommand::cmMaximize: child->SetSkinWindowState(TWindowState::wsNormal); break;
    case TskStdCommand::cmMinimize: child->SetSkinWindowState(TWindowState::wsMinimized); break;
    case TskStdCommand::cmSysMenu: {
      TskSkinForm* form = MenuBar.SkinForm();
      if (!form) break;
      MenuBar.Invalidate();
      form->SkinMenuOpened();
      TskSkinData* data = form->MenusSkinData() ? form->MenusSkinData() : form->SkinData();
      // The bar hears of the closing and lets the button up.
      form->SkinMenu().ShowMenu(&MenuBar, data, 0, MenuBar.ScreenRect(ObjectRect), child->GetSystemMenuItems(),
                                MenuBar.PopupToUp);
      break;
    }
    default: break;
  }
}

// --- item ---

TskSkinMainMenuBarItem::TskSkinMainMenuBarItem(TskSkinMainMenuBar& bar, const TskDataSkinMainMenuItem* record,
                                               platform::MenuItem& item)
    : TskMenuBarObject(bar, record), MenuItem(item) {
  IDName = item.Name;
  Enabled = item.Enabled;
  SavedEnabled = Enabled;
  if (!record) return;
  HasRecord = true;
  fontname = record->fontname;
  fontheight = record->fontheight;
  fontstyle = record->fontstyle;
  fontcolor = record->fontcolor;
  activefontcolor = record->activefontcolor;
  downfontcolor = record->downfontcolor;
  unenabledfontColor = record->unenabledfontColor;
  textrect = record->textrect;
  itemleftoffset = record->itemleftoffset;
  itemrightoffset = record->itemrightoffset;
  ItemDownRect = !record->downrect.Empty() ? record->downrect
                 : !record->activeskinrect.Empty() ? record->activeskinrect
                                                   : record->skinrect;
}

platform::Font TskSkinMainMenuBarItem::ItemFont() const {
  const platform::Font& def = MenuBar.DefItemFont().font;
  if (MenuBar.UseSkinFont && HasRecord) return platform::Font{fontname, fontheight, fontstyle, def.charset};
  return def;
}

void TskSkinMainMenuBarItem::Layout(const platform::Font& font) {
  const Rect& area = MenuBar.ItemsArea;
  int left = area.left;
  // After the nearest item before this one.
  for (std::size_t i = 0; i < MenuBar.BarObjects.size(); ++i) {
    if (MenuBar.BarObjects[i].get() != this) continue;
    for (std::size_t k = i; k-- > 0;)
      if (MenuBar.BarObjects[k]->IsItem()) {
        if (MenuBar.BarObjects[k]->ObjectRect.right != 0) left = MenuBar.BarObjects[k]->ObjectRect.right;
        break;
      }
    break;
  }
  const int captionWidth = platform::TextExtent(font, MenuItem.Caption, kCaptionFlags).x;
  ObjectRect.left = left;
  ObjectRect.top = area.top;
  if (HasRecord) {
    ObjectRect.right = left + SkinRect.Width() + textrect.left + captionWidth - textrect.right + kSkinCaptionPadding;
    ObjectRect.bottom = area.top + SkinRect.Height();
  } else {
    ObjectRect.right = left + captionWidth + kPlainItemPadding;
    ObjectRect.bottom = area.bottom;
  }
}

Bitmap TskSkinMainMenuBarItem::SkinImage(const Rect& source, Colour colour, const platform::Font& font) const {
  Bitmap image;
  BuildHorzImage(itemleftoffset, itemrightoffset, ObjectRect.Width(), source, *Picture, image);
  if (image.Width() != ObjectRect.Width() || image.Height() != ObjectRect.Height())
    image.SetSize(ObjectRect.Width(), ObjectRect.Height());
  const int captionWidth = platform::TextExtent(font, MenuItem.Caption, kCaptionFlags).x;
  const Rect tr{textrect.left, textrect.top, textrect.left + captionWidth + kSkinCaptionPadding, textrect.bottom};
  platform::PaintText(image, font, tr, MenuItem.Caption, colour, kCaptionFlags | platform::textflag::kVCenter);
  return image;
}

void TskSkinMainMenuBarItem::DrawPlain(Bitmap& canvas, const platform::Font& font) const {
  Bitmap image(ObjectRect.Width(), ObjectRect.Height(), SysColor(SysColour::BtnFace));
  if (Down || MouseInside) {
    image.FillRect(image.BoundsRect(), Down ? kPlainDownFill : kPlainHotFill);
    image.FrameRect(image.BoundsRect(), kPlainFrame);
  }
  const int shift = Down ? 1 : 0;
  // A disabled item reads greyed, as disabled menu items do everywhere.
  const Colour colour = MenuItem.Enabled ? MenuBar.DefItemFont().color : SysColor(SysColour::BtnShadow);
  platform::PaintText(image, font, {shift, shift, image.Width() + shift, image.Height() + shift}, MenuItem.Caption,
                      colour, kCaptionFlags | platform::textflag::kVCenter);
  canvas.CopyRect(ObjectRect.left, ObjectRect.top, image, image.BoundsRect());
}

void TskSkinMainMenuBarItem::Draw(Bitmap& canvas) {
  if (HasRecord && (SkinRect.Empty() || textrect.Empty())) return;
  const platform::Font font = ItemFont();
  Layout(font);
  if (ObjectRect.right > MenuBar.ItemsArea.right - 5) {
    MenuBar.Overflow = true;
    if (!HiddenByOverflow) {
      SavedEnabled = Enabled;
      Enabled = false;
      HiddenByOverflow = true;
    }
    return;
  }
  if (HiddenByOverflow) {
    HiddenByOverflow = false;
    Enabled = SavedEnabled;
  }
  if (!HasRecord || !Picture) {
    DrawPlain(canvas, font);
    return;
  }
  const Colour normalColour = MenuItem.Enabled ? fontcolor : unenabledfontColor;
  if (Down) {
    const Bitmap image = SkinImage(ItemDownRect, downfontcolor, font);
    canvas.CopyRect(ObjectRect.left, ObjectRect.top, image, image.BoundsRect());
  } else if (Morphing && BetweenMorphEnds()) {
    DrawMorph(canvas, SkinImage(SkinRect, normalColour, font), SkinImage(ActiveSkinRect, activefontcolor, font));
  } else {
    const bool active = Active && !ActiveSkinRect.Empty();
    const Bitmap image = SkinImage(active ? ActiveSkinRect : SkinRect, active ? activefontcolor : normalColour, font);
    canvas.CopyRect(ObjectRect.left, ObjectRect.top, image, image.BoundsRect());
  }
}

void TskSkinMainMenuBarItem::MouseEnter() {
  for (std::size_t i = 0; i < MenuBar.ItemCount(); ++i) {
    TskSkinMainMenuBarItem* other = MenuBar.Item(i);
    if (other == this || !other->Down) continue;
    // The open submenu moves to this item.
    other->SetDown(false);
    Active = MouseInside = true;
    if (Morphing) MorphFactor = 1.0;
    SetDown(true);
    return;
  }
  for (std::size_t i = 0; i < MenuBar.ItemCount(); ++i) {
    TskSkinMainMenuBarItem* other = MenuBar.Item(i);
    if (other != this && other->Active) {
      other->MouseLeave();
      break;
    }
  }
  TskMenuBarObject::MouseEnter();
}

void TskSkinMainMenuBarItem::MouseLeave() {
  Active = MouseInside = false;
  if (Morphing && Down) MorphFactor = 0;
  Redraw();
}

void TskSkinMainMenuBarItem::MouseDown(int, int, TMouseButton button) {
  if (button != TMouseButton::mbLeft || !Enabled) return;
  if (MenuItem.Count() > 0) {
    MenuBar.MenuTracking = true;
    SetDown(true);
    return;
  }
  if (TskSkinForm* form = MenuBar.SkinForm()) {
    if (form->MainMenuMode()) form->LeaveMainMenuMode();
    form->SetMenuOpen(false);
  }
  Redraw();
  if (platform::Menu* menu = MenuItem.GetParentMenu()) menu->DispatchCommand(MenuItem);
  else MenuItem.Click();
}

void TskSkinMainMenuBarItem::SetDown(bool down) {
  Down = down;
  if (!down) {
    Active = false;
    if (!Morphing) {
      MenuBar.DrawObjectNow(*this);
    } else {
      MorphFactor = 1.0;
      Redraw();
    }
    return;
  }
  MorphFactor = 1.0;
  MenuBar.DrawObjectNow(*this);
  TskSkinForm* form = MenuBar.SkinForm();
  if (form && !form->MainMenuMode() && form->OnMainMenuEnter) form->OnMainMenuEnter(*form);
  PopupItem();
}

void TskSkinMainMenuBarItem::PopupItem() {
  TskSkinForm* form = MenuBar.SkinForm();
  if (!form) return;
  form->SkinMenuOpened();
  form->SetMainMenuMode(true);
  form->SkinMenu().ShowMenu(nullptr, MenuBar.SkinData(), 0, MenuBar.ScreenRect(ObjectRect), MenuItem,
                            MenuBar.PopupToUp);
}

}  // namespace skin
