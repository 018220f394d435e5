// Drawing utilities every skinned surface uses, each subject in a file of its
// own: the fast bitmap copy (skFBitmap.cpp), the image builders that fit a skin
// rectangle to another size around its four stretch points (skStretch.cpp), the
// mask strips and mask-to-region builders (skMasks.cpp), caption-button glyphs
// (skGlyphs.cpp), text fitting (skEllipsis.cpp), layered-window transparency
// (skTranslucency.cpp) and a few rectangle helpers (skRects.cpp).
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Region.h"
#include "skTypes.h"

namespace platform {
class Window;
}

namespace skin {

using platform::Bitmap;

// A 24-bit top-down copy of a bitmap with a table of row addresses: pixels are
// three bytes blue, green, red; each row is padded to a multiple of four bytes.
class TskFBitmap {
 public:
  explicit TskFBitmap(const Bitmap& source);
  TskFBitmap(const TskFBitmap&) = delete;
  TskFBitmap& operator=(const TskFBitmap&) = delete;

  static constexpr int kBytesPerPixel = 3;
  std::uint8_t* PixelData = nullptr;
  std::vector<std::uint8_t*> Rows;
  std::int32_t RowPadding = 0;
  std::int32_t RowStride = 0;
  std::int32_t ImageSize = 0;
  std::int32_t Width = 0, Height = 0;

 private:
  std::vector<std::uint8_t> pixels_;
};

// The five values that cut a skin rectangle into pieces, measured from the
// rectangle's top-left corner: the four stretch points and the client rectangle.
struct TskStretchGeometry {
  Point lefttop, righttop, leftbottom, rightbottom;
  Rect client;
};

// The nine-piece image of skin rectangle `s` of `source` at size w x h; `target`
// holds the geometry moved to the target size. An empty source, or stretch points
// that coincide, leave the target sized but unpainted.
void BuildStretchImage(const TskStretchGeometry& geometry, const Rect& s, const Bitmap& source, int w, int h,
                       const TskStretchGeometry& target, bool drawCentre, Bitmap& out);
// The same without the right-hand column: the edges and centre run to the right edge.
void BuildStretchImageOpenRight(const TskStretchGeometry& geometry, const Rect& s, const Bitmap& source, int w,
                                int h, const TskStretchGeometry& target, bool drawCentre, Bitmap& out);
// Three-piece images of `rect`: the first `leftWidth` and last `rightWidth`
// columns copied to the ends, the middle repeated between them (a middle of no
// width counts as one column). OpenRight has no right piece; the middle runs on
// to the right edge. BuildVertImage is the same turned by a right angle, except
// that a middle of no height draws nothing.
void BuildHorzImage(int leftWidth, int rightWidth, int width, const Rect& rect, const Bitmap& source, Bitmap& out);
void BuildHorzImageOpenRight(int leftWidth, int rightWidth, int width, const Rect& rect, const Bitmap& source,
                             Bitmap& out);
void BuildVertImage(int topHeight, int bottomHeight, int height, const Rect& rect, const Bitmap& source, Bitmap& out);

// The four stretch flags of a frame.
struct TskStretchFlags {
  bool topstretch = false, leftstretch = false, rightstretch = false, bottomstretch = false;
};
struct TskStrips {
  Bitmap top, bottom, left, right;
};
// The top, bottom, left and right strips of a window frame of size w x h.
void BuildFrameStrips(const TskStretchGeometry& geometry, const Rect& s, const Bitmap& source, int w, int h,
                      const TskStretchGeometry& target, const TskStretchFlags& flags, TskStrips& strips);
// The strips of a frame mask cut around the inner rectangle `inner` (`innerTarget`
// at the target size); only the points of the geometries are used.
void BuildMaskStrips(const TskStretchGeometry& geometry, const Rect& inner, const Bitmap& mask, int w, int h,
                     const TskStretchGeometry& target, const Rect& innerTarget, TskStrips& strips);

// Black runs of a mask as region rectangles, and the block layout a platform
// region is created from: a 32-byte header (size 32, type 1, count, 0, bounds)
// then four 32-bit integers per rectangle.
struct TskRegionData {
  Rect bounds;
  std::vector<Rect> rects;
  std::vector<std::uint8_t> Block() const;
};
// Every maximal horizontal run of black pixels of each row, offset by dx, dy.
std::optional<TskRegionData> BuildRegionData(const Bitmap& mask, int dx, int dy);
// The black pixels of a mask as a region; no region for an empty mask.
std::optional<platform::Region> RegionFromBitmap(const Bitmap& mask, int dx = 0, int dy = 0);
// The region of a window w x h from its mask strips united with the inner rectangle.
std::optional<platform::Region> BuildFrameRegion(const TskStretchGeometry& geometry, const Rect& inner,
                                                 const Bitmap& mask, int w, int h, const TskStretchGeometry& target,
                                                 const Rect& innerTarget);

// Glyph n (from 1) of a strip of m glyphs side by side, drawn with the colour of
// its bottom-left pixel transparent.
void DrawGlyph(Bitmap& canvas, int x, int y, int n, int m, const Bitmap& strip);
// 10 x 10 caption-button glyphs with their top-left corner at x, y.
void DrawCloseGlyph(Bitmap& canvas, int x, int y, Colour colour);
void DrawSysMenuGlyph(Bitmap& canvas, int x, int y, Colour colour);
void DrawMinimizeGlyph(Bitmap& canvas, int x, int y, Colour colour);
void DrawMaximizeGlyph(Bitmap& canvas, int x, int y, Colour colour);
void DrawRestoreGlyph(Bitmap& canvas, int x, int y, Colour colour);
void DrawRollDownGlyph(Bitmap& canvas, int x, int y, Colour colour);
void DrawRollUpGlyph(Bitmap& canvas, int x, int y, Colour colour);
void DrawMinToTrayGlyph(Bitmap& canvas, int x, int y, Colour colour);
enum TskArrowDirection { kArrowLeft = 1, kArrowRight = 2, kArrowUp = 3, kArrowDown = 4 };
// A small arrow centred in `rect`; other directions draw nothing.
void DrawArrow(Bitmap& canvas, const Rect& rect, Colour colour, int direction);

// Shortens `text` (UTF-8, one character at a time) and appends "..." until it fits
// `width` as measured by `textWidth`; text that fits stays as it is.
using TskTextWidth = std::function<int(std::string_view)>;
void FitTextWithEllipsis(const TskTextWidth& textWidth, std::string& text, int width);

// Whether windows can be made translucent, and the constant opacity of one.
bool LayeredWindowsAvailable();
void SetWindowAlpha(platform::Window& window, std::uint8_t alpha);

bool IsNullRect(const Rect& r);
bool IsNullPoint(const Point& p);
bool PointInsideRect(const Rect& r, const Point& p);
bool RectInsideRect(const Rect& r, const Rect& q);
inline int RectWidth(const Rect& r) { return r.right - r.left; }
inline int RectHeight(const Rect& r) { return r.bottom - r.top; }
inline Rect NullRect() { return {}; }

}  // namespace skin
