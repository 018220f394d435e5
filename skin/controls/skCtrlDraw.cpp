#include "skCtrlDraw.h"

#include <algorithm>

#include "platform/SysColors.h"

namespace skin {

using platform::Bitmap;
using platform::SysColor;
using platform::SysColour;

void DrawPiece(Bitmap& canvas, const Rect& dst, const Bitmap* picture, const Rect& src) {
  if (!picture || picture->Empty() || IsNullRect(src) || IsNullRect(dst)) return;
  if (dst.Width() == src.Width() && dst.Height() == src.Height())
    canvas.CopyRect(dst.left, dst.top, *picture, src);
  else
    canvas.StretchRect(dst, *picture, src);
}

TskStretchGeometry MoveGeometry(const TskStretchGeometry& g, const Rect& src, int w, int h) {
  const int dw = w - src.Width(), dh = h - src.Height();
  return {g.lefttop,
          {g.righttop.x + dw, g.righttop.y},
          {g.leftbottom.x, g.leftbottom.y + dh},
          {g.rightbottom.x + dw, g.rightbottom.y + dh},
          MoveClient(g.client, src, w, h)};
}

Rect MoveClient(const Rect& r, const Rect& src, int w, int h) {
  return {r.left, r.top, r.right + w - src.Width(), r.bottom + h - src.Height()};
}

void DrawFramedPiece(Bitmap& canvas, const Rect& dst, const Bitmap* picture, const Rect& src,
                     const TskStretchGeometry& g) {
  if (!picture || picture->Empty() || IsNullRect(src) || IsNullRect(dst)) return;
  if (g.rightbottom.x == 0 || g.rightbottom.y == 0 || IsNullRect(g.client)) {
    DrawPiece(canvas, dst, picture, src);
    return;
  }
  Bitmap image;
  BuildStretchImage(g, src, *picture, dst.Width(), dst.Height(), MoveGeometry(g, src, dst.Width(), dst.Height()),
                    true, image);
  canvas.CopyRect(dst.left, dst.top, image, image.BoundsRect());
}

Rect DrawSkinFrame(Bitmap& canvas, const TskDataSkinCustomControl& r, const Bitmap* picture, const Rect& src) {
  const TskStretchGeometry g{r.lefttoppoint, r.righttoppoint, r.leftbottompoint, r.rightbottompoint, r.clientrect};
  DrawFramedPiece(canvas, canvas.BoundsRect(), picture, src, g);
  return MoveClient(r.clientrect, src, canvas.Width(), canvas.Height());
}

void TilePicture(Bitmap& canvas, const Rect& dst, const Bitmap& picture) {
  if (picture.Empty() || IsNullRect(dst)) return;
  for (int y = dst.top; y < dst.bottom; y += picture.Height())
    for (int x = dst.left; x < dst.right; x += picture.Width())
      canvas.CopyRect(x, y, picture,
                      {0, 0, std::min(picture.Width(), dst.right - x), std::min(picture.Height(), dst.bottom - y)});
}

void DrawEdge3D(Bitmap& canvas, const Rect& r, bool raised) {
  if (IsNullRect(r)) return;
  const Colour light = SysColor(SysColour::BtnHighlight), dark = SysColor(SysColour::BtnShadow);
  const Colour topLeft = raised ? light : dark, bottomRight = raised ? dark : light;
  canvas.FillRect({r.left, r.top, r.right, r.top + 1}, topLeft);
  canvas.FillRect({r.left, r.top, r.left + 1, r.bottom}, topLeft);
  canvas.FillRect({r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  canvas.FillRect({r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}

void PaintParentBackground(const TskControl& control, Bitmap& canvas) {
  platform::Window* parent = control.Parent();
  const auto* parentControl = dynamic_cast<const TskControl*>(parent);
  canvas.FillRect(canvas.BoundsRect(), parentControl ? parentControl->Color() : SysColor(SysColour::BtnFace));
  if (!parent || parentControl) return;
  const Point size = parent->ClientSize();
  if (size.x <= 0 || size.y <= 0) return;
  Bitmap background(size.x, size.y, SysColor(SysColour::BtnFace));
  if (parent->Perform(msg::kEraseBackground, 0, reinterpret_cast<std::intptr_t>(&background)) == 0) return;
  const Rect b = control.BoundsRect();
  canvas.CopyRect(0, 0, background, b);
}

TskFont ChooseFont(bool hasRecord, bool useSkinFont, const std::string& name, TFontStyles style, int height,
                   Colour color, const TskFont& defaultFont, const TskFont& own) {
  if (!hasRecord) return useSkinFont ? defaultFont : own;
  TskFont f = own;
  if (useSkinFont) f.font = RecordFont(name, style, height, defaultFont.font);
  f.color = color;
  return f;
}

void DrawControlText(Bitmap& canvas, const TskFont& font, const Rect& r, std::string_view text, unsigned flags,
                     bool enabled) {
  if (enabled) {
    platform::PaintText(canvas, font.font, r, text, font.color, flags);
    return;
  }
  platform::PaintText(canvas, font.font, {r.left + 1, r.top + 1, r.right + 1, r.bottom + 1}, text,
                      SysColor(SysColour::BtnHighlight), flags);
  platform::PaintText(canvas, font.font, r, text, SysColor(SysColour::BtnShadow), flags);
}

std::string Utf8Char(char32_t ch) {
  std::string s;
  if (ch < 0x80) {
    s += char(ch);
  } else if (ch < 0x800) {
    s += char(0xC0 | (ch >> 6));
    s += char(0x80 | (ch & 0x3F));
  } else if (ch < 0x10000) {
    s += char(0xE0 | (ch >> 12));
    s += char(0x80 | ((ch >> 6) & 0x3F));
    s += char(0x80 | (ch & 0x3F));
  } else {
    s += char(0xF0 | (ch >> 18));
    s += char(0x80 | ((ch >> 12) & 0x3F));
    s += char(0x80 | ((ch >> 6) & 0x3F));
    s += char(0x80 | (ch & 0x3F));
  }
  return s;
}

TskFont DefaultControlFont() {
  TskFont f;
  f.font.name = "Arial";
  f.font.height = 14;
  f.color = SysColor(SysColour::WindowText);
  return f;
}

}  // namespace skin
