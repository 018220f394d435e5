#include "skFrameLayout.h"

namespace skin {

namespace {
Point Shift(Point p, int dx, int dy) { return {p.x + dx, p.y + dy}; }
Rect Grow(Rect r, int dx, int dy) { return {r.left, r.top, r.right + dx, r.bottom + dy}; }
Rect Move(Rect r, int dx, int dy) { return {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy}; }
// Rectangle clamp that keeps right >= left and bottom >= top.
Rect NotInverted(Rect r) {
  if (r.right < r.left) r.right = r.left;
  if (r.bottom < r.top) r.bottom = r.top;
  return r;
}
}  // namespace

TskFrameLayout CalcFrameLayout(const TskSkinData& s, int w, int h) {
  TskFrameLayout l;
  l.Width = w;
  l.Height = h;
  l.dx = w - s.Picture.Width();
  l.dy = h - s.Picture.Height();
  l.NewLTPoint = s.lefttoppoint;
  l.NewRTPoint = Shift(s.righttoppoint, l.dx, 0);
  l.NewLBPoint = Shift(s.leftbottompoint, 0, l.dy);
  l.NewRBPoint = Shift(s.rightbottompoint, l.dx, l.dy);
  l.NewClientRect = Grow(s.clientrect, l.dx, l.dy);
  l.NewCaptionRect = s.captionrect;
  if (!s.captionrect.Empty()) l.NewCaptionRect.right += l.dx;
  l.NewButtonsRect = s.buttonsrect;
  if (!s.buttonsrect.Empty() && s.buttonsrect.left > s.Picture.Width() / 2)
    l.NewButtonsRect = Move(s.buttonsrect, l.dx, 0);
  l.ButtonsInLeft = s.buttonsinleft;
  l.ButtonsOffset = s.buttonsoffset;
  l.NewHitLT = s.hittestlefttoppoint;
  l.NewHitRT = Shift(s.hittestrighttoppoint, l.dx, 0);
  l.NewHitLB = Shift(s.hittestleftbottompoint, 0, l.dy);
  l.NewHitRB = Shift(s.hittestrightbottompoint, l.dx, l.dy);
  l.NewMaskRectArea = Grow(s.maskrectarea, l.dx, l.dy);
  return l;
}

Rect MapSkinRect(const TskSkinData& s, const TskFrameLayout& l, const Rect& sr) {
  const int pw = s.Picture.Width(), ph = s.Picture.Height();
  const int dx = l.NewRBPoint.x - s.rightbottompoint.x;
  const int dy = l.NewRBPoint.y - s.rightbottompoint.y;
  const Rect lt{0, 0, s.lefttoppoint.x, s.lefttoppoint.y};
  const Rect rt{s.righttoppoint.x, 0, pw, s.righttoppoint.y};
  const Rect lb{0, s.leftbottompoint.y, s.leftbottompoint.x, ph};
  const Rect rb{s.rightbottompoint.x, s.rightbottompoint.y, pw, ph};
  const Point a{sr.left, sr.top}, b{sr.right, sr.bottom};
  if (lt.Contains(a) && lt.Contains(b)) return sr;
  if (rt.Contains(a) && rt.Contains(b)) return Move(sr, dx, 0);
  if (lb.Contains(a) && lb.Contains(b)) return Move(sr, 0, dy);
  if (rb.Contains(a) && rb.Contains(b)) return Move(sr, dx, dy);
  if (lt.Contains(a) && rb.Contains(b)) return Grow(sr, dx, dy);
  if (lt.Contains(a) && rt.Contains(b)) return Grow(sr, dx, 0);
  if (lb.Contains(a) && rb.Contains(b)) return Move(Grow(sr, dx, 0), 0, dy);
  if (lt.Contains(a) && lb.Contains(b)) return Grow(sr, 0, dy);
  if (rt.Contains(a) && rb.Contains(b)) return Grow(Move(sr, dx, 0), 0, dy);
  return sr;
}

TskStretchGeometry SkinFrameGeometry(const TskSkinData& s) {
  return {s.lefttoppoint, s.righttoppoint, s.leftbottompoint, s.rightbottompoint, s.clientrect};
}

TskStretchGeometry LayoutFrameGeometry(const TskFrameLayout& l) {
  return {l.NewLTPoint, l.NewRTPoint, l.NewLBPoint, l.NewRBPoint, l.NewClientRect};
}

Rect SkinnedClientRect(const TskSkinData& s, const Rect& w) {
  return NotInverted({w.left + s.clientrect.left, w.top + s.clientrect.top,
                      w.right - (s.Picture.Width() - s.clientrect.right),
                      w.bottom - (s.Picture.Height() - s.clientrect.bottom)});
}

Rect DefaultClientRect(const Rect& w, int ch) {
  return NotInverted({w.left + kDefaultBorder, w.top + ch + kDefaultBorder, w.right - kDefaultBorder,
                      w.bottom - kDefaultBorder});
}

bool FramePictureFits(const TskSkinData& skin) {
  const int w = skin.Picture.Width(), h = skin.Picture.Height();
  if (skin.Picture.Empty()) return false;
  auto inside = [&](Point p) { return p.x >= 0 && p.y >= 0 && p.x <= w && p.y <= h; };
  const Rect& c = skin.clientrect;
  return inside(skin.lefttoppoint) && inside(skin.righttoppoint) && inside(skin.leftbottompoint) &&
         inside(skin.rightbottompoint) && skin.lefttoppoint.x <= skin.righttoppoint.x &&
         skin.leftbottompoint.x <= skin.rightbottompoint.x && skin.lefttoppoint.y <= skin.leftbottompoint.y &&
         skin.righttoppoint.y <= skin.rightbottompoint.y && c.left >= 0 && c.top >= 0 && c.right <= w &&
         c.bottom <= h && c.left <= c.right && c.top <= c.bottom;
}

bool SameSizeAsPicture(const TskSkinData& skin, const platform::Bitmap& picture) {
  return !picture.Empty() && picture.Width() == skin.Picture.Width() && picture.Height() == skin.Picture.Height();
}

}  // namespace skin
