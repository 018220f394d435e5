// A memory bitmap: 24-bit colour pixels kept one per 32-bit word in the Colour
// layout (0x00BBGGRR), with the few canvas operations the skin engine draws with.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/Exception.h"
#include "platform/Types.h"

namespace platform {

class EInvalidBitmap : public Exception {
 public:
  using Exception::Exception;
};

class Bitmap {
 public:
  // Larger sides than this are refused: no picture of a skin or screen comes near,
  // and it keeps a corrupt size field from asking for gigabytes.
  static constexpr int kMaxSide = 32768;
  static constexpr std::int64_t kMaxPixels = std::int64_t(1) << 26;

  Bitmap() = default;
  Bitmap(int width, int height, Colour fill = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  Rect BoundsRect() const { return {0, 0, width_, height_}; }

  // Resizes; the contents become `fill`. A size of 0 in either direction empties it.
  void SetSize(int width, int height, Colour fill = 0);
  void Clear() { SetSize(0, 0); }

  // Pixels outside the bitmap read as 0 and ignore writes.
  Colour Pixel(int x, int y) const;
  void SetPixel(int x, int y, Colour colour);
  const Colour* Row(int y) const { return pixels_.data() + std::size_t(y) * std::size_t(width_); }
  Colour* Row(int y) { return pixels_.data() + std::size_t(y) * std::size_t(width_); }

  // Canvas operations, all clipped to the bitmap.
  void FillRect(const Rect& rect, Colour colour);
  // Outline drawn inside left..right-1, top..bottom-1.
  void FrameRect(const Rect& rect, Colour colour);
  // A 1-pixel line that includes its start point and excludes its end point.
  void Line(int x1, int y1, int x2, int y2, Colour colour);
  // 1:1 copy of `srcRect` of `src` with its top-left corner at (x, y).
  void CopyRect(int x, int y, const Bitmap& src, const Rect& srcRect);
  // Nearest-neighbour stretch of `srcRect` of `src` into `dstRect`.
  void StretchRect(const Rect& dstRect, const Bitmap& src, const Rect& srcRect);
  // 1:1 copy of all of `src` at (x, y), skipping pixels of colour `transparent`.
  void DrawTransparent(int x, int y, const Bitmap& src, Colour transparent);

  friend bool operator==(const Bitmap&, const Bitmap&) = default;

 private:
  int width_ = 0;
  int height_ = 0;
  std::vector<Colour> pixels_;
};

}  // namespace platform
