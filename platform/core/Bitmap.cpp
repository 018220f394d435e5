#include "platform/Bitmap.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {

namespace {

Rect Intersect(const Rect& a, const Rect& b) {
  return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
          std::min(a.bottom, b.bottom)};
}

}  // namespace

Bitmap::Bitmap(int width, int height, Colour fill) { SetSize(width, height, fill); }

void Bitmap::SetSize(int width, int height, Colour fill) {
  if (width == 0 || height == 0) width = height = 0;  // empty, whatever the other side
  if (width < 0 || height < 0 || width > kMaxSide || height > kMaxSide ||
      std::int64_t(width) * height > kMaxPixels) {
    throw EInvalidBitmap("Bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                         " is out of range");
  }
  width_ = width;
  height_ = height;
  pixels_.assign(std::size_t(width) * std::size_t(height), fill);
}

Colour Bitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return Row(y)[x];
}

void Bitmap::SetPixel(int x, int y, Colour colour) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  Row(y)[x] = colour;
}

void Bitmap::FillRect(const Rect& rect, Colour colour) {
  const Rect r = Intersect(rect, BoundsRect());
  if (r.Empty()) return;  // wholly outside: the clipped edges cross
  for (int y = r.top; y < r.bottom; ++y) std::fill(Row(y) + r.left, Row(y) + r.right, colour);
}

void Bitmap::FrameRect(const Rect& rect, Colour colour) {
  if (rect.Empty()) return;
  FillRect({rect.left, rect.top, rect.right, rect.top + 1}, colour);
  FillRect({rect.left, rect.bottom - 1, rect.right, rect.bottom}, colour);
  FillRect({rect.left, rect.top, rect.left + 1, rect.bottom}, colour);
  FillRect({rect.right - 1, rect.top, rect.right, rect.bottom}, colour);
}

void Bitmap::Line(int x1, int y1, int x2, int y2, Colour colour) {
  // A line wholly beside the bitmap draws nothing; straight lines are clipped
  // at once, so that far-off end points cost nothing.
  if (std::max(x1, x2) < 0 || std::min(x1, x2) >= width_ || std::max(y1, y2) < 0 || std::min(y1, y2) >= height_)
    return;
  // The pixels a straight line covers along its axis, its end point excluded,
  // clamped to just beyond the bitmap.
  auto span = [](std::int64_t a, std::int64_t b, int size) {
    const std::int64_t from = a < b ? a : b + 1, to = a < b ? b : a + 1;
    return std::pair{int(std::clamp<std::int64_t>(from, -1, size)), int(std::clamp<std::int64_t>(to, -1, size))};
  };
  if (y1 == y2) {
    const auto [from, to] = span(x1, x2, width_);
    FillRect({from, y1, to, y1 + 1}, colour);
    return;
  }
  if (x1 == x2) {
    const auto [from, to] = span(y1, y2, height_);
    FillRect({x1, from, x1 + 1, to}, colour);
    return;
  }
  // Bresenham in 64 bits; the end point itself is not drawn.
  const std::int64_t dx = std::abs(std::int64_t(x2) - x1), dy = -std::abs(std::int64_t(y2) - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  std::int64_t err = dx + dy;
  std::int64_t x = x1, y = y1;
  while (x != x2 || y != y2) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) Row(int(y))[x] = colour;
    const std::int64_t e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

void Bitmap::CopyRect(int x, int y, const Bitmap& src, const Rect& srcRect) {
  if (&src == this) {
    const Bitmap copy = src;
    CopyRect(x, y, copy, srcRect);
    return;
  }
  Rect s = Intersect(srcRect, src.BoundsRect());
  // Shift the destination by what the source clipping took away.
  int dx = x + (s.left - srcRect.left), dy = y + (s.top - srcRect.top);
  const Rect d = Intersect({dx, dy, dx + s.Width(), dy + s.Height()}, BoundsRect());
  if (d.Empty()) return;
  s.left += d.left - dx;
  s.top += d.top - dy;
  for (int row = 0; row < d.Height(); ++row) {
    std::memcpy(Row(d.top + row) + d.left, src.Row(s.top + row) + s.left,
                std::size_t(d.Width()) * sizeof(Colour));
  }
}

void Bitmap::StretchRect(const Rect& dstRect, const Bitmap& src, const Rect& srcRect) {
  if (dstRect.Empty() || srcRect.Empty() || src.Empty()) return;
  if (&src == this) {
    const Bitmap copy = src;
    StretchRect(dstRect, copy, srcRect);
    return;
  }
  const Rect d = Intersect(dstRect, BoundsRect());
  if (d.Empty()) return;
  const std::int64_t dw = dstRect.Width(), dh = dstRect.Height();
  const std::int64_t sw = srcRect.Width(), sh = srcRect.Height();
  // Source column of each destination column, computed once.
  std::vector<int> columns(std::size_t(d.Width()));
  for (int x = d.left; x < d.right; ++x) {
    columns[std::size_t(x - d.left)] = srcRect.left + int((x - dstRect.left) * sw / dw);
  }
  for (int y = d.top; y < d.bottom; ++y) {
    const int sy = srcRect.top + int((y - dstRect.top) * sh / dh);
    Colour* out = Row(y);
    for (int x = d.left; x < d.right; ++x) out[x] = src.Pixel(columns[std::size_t(x - d.left)], sy);
  }
}

void Bitmap::DrawTransparent(int x, int y, const Bitmap& src, Colour transparent) {
  for (int sy = 0; sy < src.height_; ++sy) {
    const int ty = y + sy;
    if (ty < 0 || ty >= height_) continue;
    for (int sx = 0; sx < src.width_; ++sx) {
      const Colour c = src.Row(sy)[sx];
      if (c != transparent) SetPixel(x + sx, ty, c);
    }
  }
}

}  // namespace platform
