// The image and strip builders that fit a skin rectangle to another size.
#include "skUtils.h"

#include "skPieces.h"

namespace skin {

using namespace pieces;

void BuildStretchImage(const TskStretchGeometry& g, const Rect& s, const Bitmap& src, int w, int h,
                       const TskStretchGeometry& t, bool drawCentre, Bitmap& out) {
  out.SetSize(w, h);
  if (g.rightbottom.x == g.lefttop.x || g.rightbottom.y == g.lefttop.y || src.Empty()) return;
  if (!Sane(g) || !Sane(t) || !Sane(s)) return;
  const int sx = s.left, sy = s.top, sw = s.Width(), sh = s.Height();
  const Rect& c = g.client;
  const Rect& ct = t.client;
  RepeatH(out, src, sx + g.lefttop.x, sx + g.righttop.x, sy, c.top, t.lefttop.x, t.righttop.x, 0);
  RepeatH(out, src, sx + g.leftbottom.x, sx + g.rightbottom.x, sy + c.bottom, sh - c.bottom, t.leftbottom.x,
          t.rightbottom.x, ct.bottom);
  RepeatV(out, src, sx, c.left, sy + g.lefttop.y, sy + g.leftbottom.y, t.lefttop.y, t.leftbottom.y, 0);
  RepeatV(out, src, sx + c.right, sw - c.right, sy + g.righttop.y, sy + g.rightbottom.y, t.righttop.y,
          t.rightbottom.y, ct.right);
  Copy(out, 0, 0, src, sx, sy, g.lefttop.x, c.top);
  Copy(out, 0, ct.top, src, sx, sy + c.top, c.left, g.lefttop.y - c.top);
  Copy(out, t.righttop.x, 0, src, sx + g.righttop.x, sy, sw - g.righttop.x, c.top);
  Copy(out, ct.right, ct.top, src, sx + c.right, sy + c.top, sw - c.right, g.righttop.y - c.top);
  Copy(out, 0, t.leftbottom.y, src, sx, sy + g.leftbottom.y, c.left, sh - g.leftbottom.y);
  Copy(out, ct.left, ct.bottom, src, sx + c.left, sy + c.bottom, g.leftbottom.x - c.left, sh - c.bottom);
  Copy(out, t.rightbottom.x, ct.bottom, src, sx + g.rightbottom.x, sy + c.bottom, sw - g.rightbottom.x,
       sh - c.bottom);
  Copy(out, ct.right, t.rightbottom.y, src, sx + c.right, sy + g.rightbottom.y, sw - c.right,
       c.bottom - g.rightbottom.y);
  if (drawCentre) {
    Repeat2D(out, src, {sx + c.left, sy + c.top, sx + c.right, sy + c.bottom}, ct);
  }
}

void BuildStretchImageOpenRight(const TskStretchGeometry& g, const Rect& s, const Bitmap& src, int w, int h,
                                const TskStretchGeometry& t, bool drawCentre, Bitmap& out) {
  out.SetSize(w, h);
  if (g.rightbottom.x == g.lefttop.x || g.rightbottom.y == g.lefttop.y || src.Empty()) return;
  if (!Sane(g) || !Sane(t) || !Sane(s)) return;
  const int sx = s.left, sy = s.top, sh = s.Height();
  const Rect& c = g.client;
  const Rect& ct = t.client;
  RepeatH(out, src, sx + g.lefttop.x, sx + g.righttop.x, sy, c.top, t.lefttop.x, w, 0);
  RepeatH(out, src, sx + g.leftbottom.x, sx + g.rightbottom.x, sy + c.bottom, sh - c.bottom, t.leftbottom.x, w,
          ct.bottom);
  RepeatV(out, src, sx, c.left, sy + g.lefttop.y, sy + g.leftbottom.y, t.lefttop.y, t.leftbottom.y, 0);
  Copy(out, 0, 0, src, sx, sy, g.lefttop.x, c.top);
  Copy(out, 0, ct.top, src, sx, sy + c.top, c.left, g.lefttop.y - c.top);
  Copy(out, 0, t.leftbottom.y, src, sx, sy + g.leftbottom.y, c.left, sh - g.leftbottom.y);
  Copy(out, ct.left, ct.bottom, src, sx + c.left, sy + c.bottom, g.leftbottom.x - c.left, sh - c.bottom);
  if (drawCentre) {
    Repeat2D(out, src, {sx + c.left, sy + c.top, sx + c.right, sy + c.bottom}, {ct.left, ct.top, w, ct.bottom});
  }
}

void BuildHorzImage(int a, int r, int w, const Rect& rect, const Bitmap& src, Bitmap& out) {
  if (!Sane(rect) || !Sane(a) || !Sane(r) || !Sane(w)) return out.Clear();
  const int h = rect.Height();
  out.SetSize(std::max(w, 0), std::max(h, 0));
  Copy(out, 0, 0, src, rect.left, rect.top, a, h);
  Copy(out, w - r, 0, src, rect.right - r, rect.top, r, h);
  const int ms = rect.left + a;
  const int me = rect.right - r == ms ? ms + 1 : rect.right - r;  // a middle of no width counts as one column
  RepeatH(out, src, ms, me, rect.top, h, a, w - r, 0);
}

void BuildHorzImageOpenRight(int a, int r, int w, const Rect& rect, const Bitmap& src, Bitmap& out) {
  if (!Sane(rect) || !Sane(a) || !Sane(r) || !Sane(w)) return out.Clear();
  const int h = rect.Height();
  out.SetSize(std::max(w, 0), std::max(h, 0));
  Copy(out, 0, 0, src, rect.left, rect.top, a, h);
  const int ms = rect.left + a;
  const int me = rect.right - r == ms ? ms + 1 : rect.right - r;
  RepeatH(out, src, ms, me, rect.top, h, a, w, 0);
}

void BuildVertImage(int a, int r, int h, const Rect& rect, const Bitmap& src, Bitmap& out) {
  if (!Sane(rect) || !Sane(a) || !Sane(r) || !Sane(h)) return out.Clear();
  const int w = rect.Width();
  out.SetSize(std::max(w, 0), std::max(h, 0));
  Copy(out, 0, 0, src, rect.left, rect.top, w, a);
  Copy(out, 0, h - r, src, rect.left, rect.bottom - r, w, r);
  RepeatV(out, src, rect.left, w, rect.top + a, rect.bottom - r, a, h - r, 0);
}

void BuildFrameStrips(const TskStretchGeometry& g, const Rect& s, const Bitmap& src, int w, int h,
                      const TskStretchGeometry& t, const TskStretchFlags& flags, TskStrips& strips) {
  if (!Sane(g) || !Sane(t) || !Sane(s) || !Sane(w) || !Sane(h)) return;
  const int sx = s.left, sy = s.top, sw = s.Width();
  const Rect& c = g.client;
  const Rect& ct = t.client;
  const int topH = ct.top, bottomH = h - ct.bottom;
  const int sideH = h - topH - bottomH;

  if (w >= 1 && topH >= 1 && g.righttop.x - g.lefttop.x > 0) {
    strips.top.SetSize(w, topH);
    if (flags.topstretch) {
      StretchPiece(strips.top, {t.lefttop.x, 0, t.righttop.x, topH}, src,
                   {sx + g.lefttop.x, sy, sx + g.righttop.x, sy + topH});
    } else {
      RepeatH(strips.top, src, sx + g.lefttop.x, sx + g.righttop.x, sy, topH, 0, w, 0);
    }
    Copy(strips.top, 0, 0, src, sx, sy, g.lefttop.x, topH);
    Copy(strips.top, t.righttop.x, 0, src, sx + g.righttop.x, sy, sw - g.righttop.x, topH);
  }
  if (w >= 1 && bottomH >= 1 && g.rightbottom.x - g.leftbottom.x > 0) {
    const int row = s.bottom - bottomH;
    strips.bottom.SetSize(w, bottomH);
    if (flags.bottomstretch) {
      StretchPiece(strips.bottom, {t.leftbottom.x, 0, t.rightbottom.x, bottomH}, src,
                   {sx + g.leftbottom.x, row, sx + g.rightbottom.x, row + bottomH});
    } else {
      RepeatH(strips.bottom, src, sx + g.leftbottom.x, sx + g.rightbottom.x, row, bottomH, 0, w, 0);
    }
    Copy(strips.bottom, 0, 0, src, sx, row, g.leftbottom.x, bottomH);
    Copy(strips.bottom, t.rightbottom.x, 0, src, sx + g.rightbottom.x, row, sw - g.rightbottom.x, bottomH);
  }
  // The side strips: a middle piece stretched or repeated, then its fixed ends.
  auto side = [&](Bitmap& strip, int stripW, int col, Point top, Point bottom, bool stretch) {
    if (stripW < 1 || sideH < 1 || bottom.y - top.y <= 0) return;
    strip.SetSize(stripW, sideH);
    if (stretch) {
      StretchPiece(strip, {0, top.y - c.top, stripW, sideH - (c.bottom - bottom.y)}, src,
                   {col, sy + top.y, col + stripW, sy + bottom.y});
    } else {
      RepeatV(strip, src, col, stripW, sy + top.y, sy + bottom.y, 0, sideH, 0);
    }
    if (top.y > c.top) Copy(strip, 0, 0, src, col, sy + c.top, stripW, top.y - c.top);
    if (c.bottom > bottom.y) Copy(strip, 0, sideH - (c.bottom - bottom.y), src, col, sy + bottom.y, stripW, c.bottom - bottom.y);
  };
  side(strips.left, ct.left, sx, g.lefttop, g.leftbottom, flags.leftstretch);
  side(strips.right, w - ct.right, sx + c.right, g.righttop, g.rightbottom, flags.rightstretch);
}

}  // namespace skin
