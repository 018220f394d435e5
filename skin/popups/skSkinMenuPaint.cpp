// Painting of menu levels and their items, skinned and plain, and the small
// glyphs items carry: check mark, radio dot, submenu arrow.
#include <algorithm>
#include <string_view>

#include "platform/SysColors.h"
#include "skEffects.h"
#include "skMenuGlyphs.h"
#include "skMenuItemNames.h"
#include "skMenuParts.h"
#include "skSkinMenuItem.h"
#include "skSkinPopupWindow.h"
#include "skUtils.h"

namespace skin {

using namespace menuparts;

using platform::SysColor;
using platform::SysColour;

namespace {

// The plain look's hot item: a dark blue border round a pale blue-grey fill.
constexpr Colour kPlainHotBorder = 0x800000;
constexpr Colour kPlainHotFill = 13811126;
// A skinned item without images: its glyph column, and where its captions end
// left of the text rectangle's right edge (the arrow's room).
constexpr int kSkinItemColumn = 16;
constexpr int kSkinArrowRoom = 16;

void DrawNameGlyph(platform::Bitmap& b, std::string_view name, int x, int y, Colour c, bool& drawn) {
  drawn = true;
  if (name == SKF_CLOSE || name == TRAY_SKF_CLOSE) DrawCloseGlyph(b, x, y, c);
  else if (name == SKF_MINITEM) DrawMinimizeGlyph(b, x, y, c);
  else if (name == SKF_MAXITEM) DrawMaximizeGlyph(b, x, y, c);
  else if (name == SKF_RESTORE || name == TRAY_SKF_RESTORE) DrawRestoreGlyph(b, x, y, c);
  else if (name == SKF_ROLLUP) DrawRollUpGlyph(b, x, y, c);
  else if (name == SKF_MINTOTRAY) DrawMinToTrayGlyph(b, x, y, c);
  else drawn = false;
}

// Caption and shortcut of an item on one line centred at `centre`, the caption
// starting at `left`, the shortcut ending at `right`.
void DrawItemText(platform::Bitmap& b, const platform::Font& font, const platform::MenuItem& m, int left, int right,
                  int centre, Colour colour) {
  const platform::Point size = platform::TextExtent(font, m.Caption);
  const int top = centre - size.y / 2;
  platform::PaintText(b, font, {left, top, left + size.x + 2, top + size.y}, m.Caption, colour,
                      platform::textflag::kCenter | platform::textflag::kVCenter);
  if (m.ShortCut.empty()) return;
  const platform::Point s = platform::TextExtent(font, m.ShortCut, platform::textflag::kNoPrefix);
  platform::PaintText(b, font, {right - s.x, top, right, top + s.y}, m.ShortCut, colour,
                      platform::textflag::kNoPrefix);
}

}  // namespace

void TskSkinMenuItem::PaintSkinLook(platform::Bitmap& out, bool active) const {
  const TskDataSkinMenuItem& r = *SkinItem;
  const int w = ItemRect.Width(), h = ItemRect.Height();
  BuildHorzImage(r.itemleftoffset, r.itemrightoffset, w, active ? r.activeskinrect : r.skinrect, *Picture, out);
  if (out.Width() != w || out.Height() != h) out.SetSize(w, h);
  const platform::MenuItem& m = MenuItem;
  Rect tr = r.textrect;
  tr.right += w - r.skinrect.Width();
  const int centre = tr.top + tr.Height() / 2;
  const Colour colour = active ? r.activefontcolor : m.Enabled ? r.fontcolor : r.unenabledfontcolor;
  const platform::ImageList* images = Parent.ItemImages();
  const int c = images ? Parent.ItemGlyphColumn() : kSkinItemColumn;
  DrawItemText(out, Parent.ItemsFont(), m, tr.left + c, tr.right - kSkinArrowRoom, centre, colour);
  if (m.Count() > 0) DrawSubmenuArrow(out, tr.right - 7, centre - 4, colour);
  if (images && m.ImageIndex >= 0 && m.ImageIndex < images->Count()) {
    const int ix = tr.left + 2, iy = centre - images->Height() / 2;
    images->Draw(out, ix, iy, m.ImageIndex, m.Enabled);
    if (m.Checked) out.FrameRect({ix - 1, iy - 1, ix + images->Width() + 1, iy + images->Height() + 1}, colour);
    return;
  }
  bool drawn = false;
  DrawNameGlyph(out, m.Name, tr.left + 2, centre - 4, colour, drawn);
  if (drawn || !m.Checked) return;
  if (m.RadioItem) DrawRadioDot(out, tr.left + 2, centre - 3, colour);
  else DrawCheckMark(out, tr.left + 2, centre - 4, colour);
}

void TskSkinMenuItem::PaintPlain(platform::Bitmap& out) const {
  const int w = ItemRect.Width(), h = ItemRect.Height();
  const platform::MenuItem& m = MenuItem;
  const platform::ImageList* images = Parent.ItemImages();
  const int g = images ? Parent.ItemGlyphColumn() : kPlainGlyphColumn;
  out.SetSize(w, h);
  Colour text = SysColor(SysColour::WindowText);
  if (Active() && !m.IsDivider()) {
    out.FillRect({0, 0, w, h}, kPlainHotFill);
    out.FrameRect({0, 0, w, h}, kPlainHotBorder);
  } else {
    out.FillRect({0, 0, g, h}, SysColor(SysColour::BtnFace));
    out.FillRect({g, 0, w, h}, SysColor(SysColour::WindowBackground));
    if (!m.Enabled) text = SysColor(SysColour::BtnShadow);
  }
  if (m.IsDivider()) {
    out.Line(g, h / 2, w, h / 2, SysColor(SysColour::BtnShadow));
    return;
  }
  const Rect ir{kPlainInset, kPlainInset, w - kPlainInset, h - kPlainInset};
  const int centre = ir.top + ir.Height() / 2;
  DrawItemText(out, Parent.ItemsFont(), m, ir.left + g, ir.right - kArrowRoom, centre, text);
  if (m.Count() > 0) DrawSubmenuArrow(out, ir.right - 7, centre - 4, text);
  if (images && m.ImageIndex >= 0 && m.ImageIndex < images->Count()) {
    const int ix = ir.left, iy = centre - images->Height() / 2;
    images->Draw(out, ix, iy, m.ImageIndex, m.Enabled);
    if (m.Checked) out.FrameRect({ix - 1, iy - 1, ix + images->Width() + 1, iy + images->Height() + 1}, text);
    return;
  }
  bool drawn = false;
  DrawNameGlyph(out, m.Name, ir.left + 2, centre - 4, text, drawn);
  if (drawn || !m.Checked) return;
  if (m.RadioItem) DrawRadioDot(out, ir.left + 3, centre - 3, text);
  else DrawCheckMark(out, ir.left + 3, centre - 4, text);
}

void TskSkinMenuItem::Paint(platform::Bitmap& canvas) const {
  if (!Shown || ItemRect.Empty()) return;
  platform::Bitmap out;
  if (!SkinItem) {
    PaintPlain(out);
  } else if (MenuItem.IsDivider()) {
    const TskDataSkinMenuItem& r = *SkinItem;
    BuildHorzImage(r.dividerleftoffset, r.dividerrightoffset, ItemRect.Width(), r.dividerrect, *Picture, out);
  } else {
    const bool active = Active();
    if (!SkinItem->morphing || (active && MorphFactor >= 1) || (!active && MorphFactor <= 0)) {
      PaintSkinLook(out, active);
    } else {
      platform::Bitmap inactiveLook, activeLook;
      PaintSkinLook(inactiveLook, false);
      PaintSkinLook(activeLook, true);
      TskEffectBmp from(inactiveLook);
      from.Morph(SkinItem->morphkind, TskEffectBmp(activeLook), MorphFactor);
      out = from.ToBitmap();
    }
  }
  canvas.CopyRect(ItemRect.left, ItemRect.top, out, out.BoundsRect());
}

void TskSkinPopupWindow::PaintLevel(platform::Bitmap& canvas) const {
  const int w = canvas.Width(), h = canvas.Height();
  if (PopupRecord) {
    const auto& r = *PopupRecord;
    const TskStretchGeometry source{r.lefttoppoint, r.righttoppoint, r.leftbottompoint, r.rightbottompoint,
                                    r.itemsrect};
    const TskStretchGeometry target{LTPoint, RTPoint, LBPoint, RBPoint, ItemsArea};
    platform::Bitmap frame;
    BuildStretchImage(source, FramePicture->BoundsRect(), *FramePicture, w, h, target, Scrolling, frame);
    canvas.CopyRect(0, 0, frame, frame.BoundsRect());
  } else {
    const int g = kPlainInset + (Images ? GlyphColumn : kPlainGlyphColumn);
    canvas.FillRect({0, 0, g, h}, SysColor(SysColour::BtnFace));
    canvas.FillRect({g, 0, w, h}, SysColor(SysColour::WindowBackground));
    canvas.FrameRect({0, 0, w, h}, SysColor(SysColour::BtnShadow));
    canvas.FrameRect({1, 1, w - 1, h - 1}, SysColor(SysColour::WindowBackground));
  }
  for (int i = TopIndex; i < TopIndex + ShownCount && i < int(LevelItems.size()); ++i)
    LevelItems[std::size_t(i)]->Paint(canvas);
  if (!Scrolling) return;
  Rect up = UpMarkerRect(), down = DownMarkerRect();
  Colour upColour, downColour;
  if (PopupRecord) {
    upColour = ScrollDir == 1 ? PopupRecord->scrollmarkeractivecolor : PopupRecord->scrollmarkercolor;
    downColour = ScrollDir == 2 ? PopupRecord->scrollmarkeractivecolor : PopupRecord->scrollmarkercolor;
  } else {
    constexpr int kMarkerInset = 3;
    up = {kMarkerInset, kMarkerInset, w - kMarkerInset, kMarkerInset + kMarkerBand};
    down = {kMarkerInset, h - kMarkerBand, w - kMarkerInset, h - kMarkerInset};
    upColour = SysColor(ScrollDir == 1 ? SysColour::BtnText : SysColour::BtnShadow);
    downColour = SysColor(ScrollDir == 2 ? SysColour::BtnText : SysColour::BtnShadow);
  }
  DrawArrow(canvas, up, upColour, kArrowUp);
  DrawArrow(canvas, down, downColour, kArrowDown);
}

}  // namespace skin
