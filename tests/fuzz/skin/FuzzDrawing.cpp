// Fuzzes the image and region builders and the effects with arbitrary geometry,
// as a hostile skin definition can give them: every result must stay inside its
// bitmaps and every loop must end quickly.
#include <cstddef>
#include <cstdint>

#include "skEffects.h"
#include "skUtils.h"

namespace {

// Hands out small signed values from the input, then zeros.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  // -8 .. 71 most of the time; now and then a value far outside any picture.
  int Coord() {
    const int v = Byte();
    if (v == 255) return Wide();
    return v % 80 - 8;
  }
  int Size() { return Byte() % 72; }
  int Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  int Wide() {
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v = v << 8 | std::uint32_t(Byte());
    return std::int32_t(v);
  }
  platform::Point Point() { return {Coord(), Coord()}; }
  platform::Rect Rect() { return {Coord(), Coord(), Coord(), Coord()}; }
  skin::TskStretchGeometry Geometry() { return {Point(), Point(), Point(), Point(), Rect()}; }

 private:
  const std::uint8_t* data_;
  std::size_t size_, pos_ = 0;
};

platform::Bitmap Picture(Input& in) {
  const int w = in.Size(), h = in.Size();
  platform::Bitmap b(w, h);
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x) b.SetPixel(x, y, (x * 7 + y * 13) % 3 == 0 ? 0 : platform::Rgb(255, 255, 255));
  return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  Input in(data, size);
  const platform::Bitmap source = Picture(in);
  const auto g = in.Geometry();
  const auto t = in.Geometry();
  const platform::Rect s = in.Rect();
  const int w = in.Size(), h = in.Size();
  platform::Bitmap out;
  // A size beyond what a bitmap may have is refused with an error, not drawn.
  try {
    switch (in.Byte() % 8) {
      case 0: skin::BuildStretchImage(g, s, source, w, h, t, true, out); break;
      case 1: skin::BuildStretchImageOpenRight(g, s, source, w, h, t, true, out); break;
      case 2: skin::BuildHorzImage(in.Coord(), in.Coord(), in.Coord(), s, source, out); break;
      case 3: skin::BuildVertImage(in.Coord(), in.Coord(), in.Coord(), s, source, out); break;
      case 4: {
        skin::TskStrips strips;
        skin::BuildFrameStrips(g, s, source, w, h, t, {bool(in.Byte() & 1), bool(in.Byte() & 1), true, false}, strips);
        break;
      }
      case 5: skin::BuildFrameRegion(g, s, source, w, h, t, in.Rect()); break;
      case 6: {
        platform::Bitmap canvas(w, h);
        skin::DrawGlyph(canvas, in.Coord(), in.Coord(), in.Coord(), in.Coord(), source);
        skin::DrawArrow(canvas, in.Rect(), 1, in.Byte() % 6);
        skin::DrawCloseGlyph(canvas, in.Coord(), in.Coord(), 1);
        skin::DrawRestoreGlyph(canvas, in.Coord(), in.Coord(), 1);
        break;
      }
      case 7: {
        skin::TskEffectBmp a(source), b(source);
        a.Morph(skin::TMorphKind(in.Byte() % 7), b, in.Coord() / 64.0);
        a.SplitBlur(in.Coord());
        a.ApplyInactiveEffect(skin::TInactiveEffect(in.Byte() % 6));
        skin::TskEffectBmp turned(1, 1);
        a.RotateLeft(turned);
        break;
      }
    }
  } catch (const platform::EInvalidBitmap&) {
  }
  return 0;
}
