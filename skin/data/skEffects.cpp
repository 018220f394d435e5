#include "skEffects.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>

namespace skin {

namespace {

constexpr int kBpp = 3;
// Inactive effect amounts.
constexpr double kInactiveLighten = 0.5;
constexpr double kInactiveDarken = 0.3;
constexpr int kInactiveNoise = 50;
constexpr int kInactiveBlur = 1;
// Grey weights of red, green and blue.
constexpr double kGrayRed = 0.3, kGrayGreen = 0.59, kGrayBlue = 0.11;
// Noise uses the same sequence on every call, so that repainting an inactive
// frame shows the same grain instead of flickering.
constexpr std::uint32_t kNoiseSeed = 0x5EED;

// Nearest integer with halves to even (the default rounding mode), clamped to a channel.
std::uint8_t Channel(double v) {
  const double r = std::nearbyint(v);
  return std::uint8_t(std::clamp(r, 0.0, 255.0));
}

std::uint8_t Mix(double w, std::uint8_t s, std::uint8_t t) { return Channel(w * s + (1.0 - w) * t); }

void MixPixel(std::uint8_t* s, const std::uint8_t* t, double w) {
  for (int c = 0; c < kBpp; ++c) s[c] = Mix(w, s[c], t[c]);
}

int Nearest(double v) { return int(std::nearbyint(v)); }

// Morph factors run from 0 to 1; anything else (NaN included) is taken as the
// nearer end, so that no column or row index can leave the bitmap.
double Factor(double kf) { return kf >= 0.0 ? std::min(kf, 1.0) : 0.0; }

}  // namespace

TskEffectBmp::TskEffectBmp(int width, int height) { Allocate(width, height); }

TskEffectBmp::TskEffectBmp(const platform::Bitmap& source) {
  Allocate(source.Width(), source.Height());
  for (int y = 0; y < Height; ++y) {
    const platform::Colour* in = source.Row(y);
    std::uint8_t* out = RowAddress(y);
    for (int x = 0; x < Width; ++x) {
      out[kBpp * x] = std::uint8_t(in[x] >> 16);
      out[kBpp * x + 1] = std::uint8_t(in[x] >> 8);
      out[kBpp * x + 2] = std::uint8_t(in[x]);
    }
  }
}

TskEffectBmp::TskEffectBmp(const TskEffectBmp& other)
    : Width(other.Width), Height(other.Height), ImageSize(other.ImageSize), stride_(other.stride_),
      pixels_(other.pixels_) {
  PixelData = pixels_.data();
}

TskEffectBmp& TskEffectBmp::operator=(const TskEffectBmp& other) {
  if (this != &other) {
    Width = other.Width;
    Height = other.Height;
    ImageSize = other.ImageSize;
    stride_ = other.stride_;
    pixels_ = other.pixels_;
    PixelData = pixels_.data();
  }
  return *this;
}

void TskEffectBmp::Allocate(int width, int height) {
  if (width < 0 || height < 0 || width > platform::Bitmap::kMaxSide || height > platform::Bitmap::kMaxSide ||
      std::int64_t(width) * height > platform::Bitmap::kMaxPixels)
    throw platform::EInvalidBitmap("Effect bitmap size " + std::to_string(width) + " x " + std::to_string(height) +
                                   " is out of range");
  Width = width;
  Height = height;
  stride_ = kBpp * width + width % 4;
  ImageSize = stride_ * height;
  pixels_.assign(std::size_t(ImageSize), 0);
  PixelData = pixels_.data();
}

void TskEffectBmp::SetPixel(int x, int y, std::uint32_t colour) {
  if (x < 0 || y < 0 || x >= Width || y >= Height) return;
  std::uint8_t* p = RowAddress(y) + kBpp * x;
  p[0] = std::uint8_t(colour);
  p[1] = std::uint8_t(colour >> 8);
  p[2] = std::uint8_t(colour >> 16);
}

std::uint32_t TskEffectBmp::GetPixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= Width || y >= Height) return 0;
  const std::uint8_t* p = RowAddress(y) + kBpp * x;
  return std::uint32_t(p[0]) | (std::uint32_t(p[1]) << 8) | (std::uint32_t(p[2]) << 16);
}

void TskEffectBmp::SetRow(int y, const std::uint8_t* buffer) {
  std::memcpy(RowAddress(y), buffer, std::size_t(kBpp * Width));
}

void TskEffectBmp::GetRow(int y, std::uint8_t* buffer) const {
  std::memcpy(buffer, RowAddress(y), std::size_t(kBpp * Width));
}

platform::Bitmap TskEffectBmp::ToBitmap() const {
  platform::Bitmap out(Width, Height);
  DrawToDC(out, 0, 0);
  return out;
}

void TskEffectBmp::DrawToDC(platform::Bitmap& canvas, int x, int y) const {
  for (int row = 0; row < Height; ++row) {
    const std::uint8_t* p = RowAddress(row);
    for (int col = 0; col < Width; ++col, p += kBpp) canvas.SetPixel(x + col, y + row, platform::Rgb(p[2], p[1], p[0]));
  }
}

void TskEffectBmp::BlendWith(const TskEffectBmp& t, double kf) {
  if (!SameSize(t)) return;
  kf = Factor(kf);
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* s = RowAddress(y);
    const std::uint8_t* o = t.RowAddress(y);
    for (int i = 0; i < kBpp * Width; ++i) s[i] = Channel((1.0 - kf) * s[i] + kf * o[i]);
  }
}

void TskEffectBmp::MorphGradientH(const TskEffectBmp& t, double kf) {
  if (!SameSize(t) || Width == 0) return;
  kf = Factor(kf);
  const int a = Nearest(Width * kf);
  const int d = (Width - a) / 2;
  const double step = d == 0 ? 1.0 : 1.0 / d;
  const int g = std::max(0, Width / 2 - a / 2);
  const int f = std::min(Width - 1, Width / 2 + a / 2);
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* s = RowAddress(y);
    const std::uint8_t* o = t.RowAddress(y);
    if (f >= g) std::memcpy(s + kBpp * g, o + kBpp * g, std::size_t(kBpp * (f - g + 1)));
    double w = 0;
    for (int x = g; x >= 0; --x, w = std::min(1.0, w + step)) MixPixel(s + kBpp * x, o + kBpp * x, w);
    w = 0;
    for (int x = f; x < Width; ++x, w = std::min(1.0, w + step)) MixPixel(s + kBpp * x, o + kBpp * x, w);
  }
}

void TskEffectBmp::MorphGradientV(const TskEffectBmp& t, double kf) {
  if (!SameSize(t) || Height == 0) return;
  kf = Factor(kf);
  const int b = Nearest(Height * kf);
  const int d = (Height - 1 - b) / 2;
  const double step = d == 0 ? 0.0 : 1.0 / d;
  const int g = std::max(0, Height / 2 - b / 2);
  const int f = std::min(Height - 1, Height / 2 + b / 2);
  const std::size_t rowBytes = std::size_t(kBpp * Width);
  for (int y = g; y <= f; ++y) std::memcpy(RowAddress(y), t.RowAddress(y), rowBytes);
  auto mixRow = [&](int y, double w) {
    std::uint8_t* s = RowAddress(y);
    const std::uint8_t* o = t.RowAddress(y);
    for (std::size_t i = 0; i < rowBytes; ++i) s[i] = Mix(w, s[i], o[i]);
  };
  double w = 0;
  for (int y = g; y >= 0; --y, w = std::min(1.0, w + step)) mixRow(y, w);
  w = 0;
  for (int y = f; y < Height; ++y, w = std::min(1.0, w + step)) mixRow(y, w);
}

void TskEffectBmp::MorphGradient(const TskEffectBmp& t, double kf) {
  if (Width < Height) {
    MorphGradientV(t, kf);
  } else {
    MorphGradientH(t, kf);
  }
}

void TskEffectBmp::MorphLeftGradient(const TskEffectBmp& t, double kf) {
  if (!SameSize(t) || Width == 0) return;
  kf = Factor(kf);
  const int a = std::min(std::max(Nearest(Width * kf), 1), Width - 1);
  const double step = a > 0 ? 1.0 / a : 1.0;
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* s = RowAddress(y);
    const std::uint8_t* o = t.RowAddress(y);
    double w = 0;
    for (int x = 0; x <= a; ++x, w = std::min(1.0, w + step)) MixPixel(s + kBpp * x, o + kBpp * x, w);
  }
}

void TskEffectBmp::MorphRightGradient(const TskEffectBmp& t, double kf) {
  if (!SameSize(t) || Width == 0) return;
  kf = Factor(kf);
  const int a = std::min(std::max(Width - Nearest(Width * kf), 0), Width - 1);
  const double step = Width - a <= 0 ? 1.0 : 1.0 / (Width - a);
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* s = RowAddress(y);
    const std::uint8_t* o = t.RowAddress(y);
    double w = 0;
    for (int x = Width - 1; x >= a; --x, w = std::min(1.0, w + step)) MixPixel(s + kBpp * x, o + kBpp * x, w);
  }
}

void TskEffectBmp::MorphLeftSlide(const TskEffectBmp& t, double kf) {
  if (!SameSize(t) || Width == 0) return;
  kf = Factor(kf);
  const int n = std::min(std::max(Nearest(Width * kf), 1), Width - 1);
  if (n <= 0) return;
  for (int y = 0; y < Height; ++y) {
    std::memcpy(RowAddress(y), t.RowAddress(y) + kBpp * (Width - n), std::size_t(kBpp * n));
  }
}

void TskEffectBmp::MorphRightSlide(const TskEffectBmp& t, double kf) {
  if (!SameSize(t) || Width == 0) return;
  kf = Factor(kf);
  const int n = std::min(std::max(Nearest(Width * kf), 1), Width - 1);
  if (n <= 0) return;
  for (int y = 0; y < Height; ++y) {
    std::memcpy(RowAddress(y) + kBpp * (Width - n), t.RowAddress(y), std::size_t(kBpp * n));
  }
}

void TskEffectBmp::MorphPush(const TskEffectBmp& t, double kf) {
  if (!SameSize(t) || Width == 0) return;
  kf = Factor(kf);
  const int a = std::min(std::max(Nearest(Width * kf), 0), Width - 1);
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* s = RowAddress(y);
    std::memmove(s + kBpp * (a + 1), s, std::size_t(kBpp * (Width - a - 1)));
    std::memcpy(s, t.RowAddress(y) + kBpp * (Width - a - 1), std::size_t(kBpp * (a + 1)));
  }
}

void TskEffectBmp::Morph(TMorphKind kind, const TskEffectBmp& t, double kf) {
  switch (kind) {
    case TMorphKind::mkDefault: BlendWith(t, kf); break;
    case TMorphKind::mkGradient: MorphGradient(t, kf); break;
    case TMorphKind::mkLeftGradient: MorphLeftGradient(t, kf); break;
    case TMorphKind::mkRightGradient: MorphRightGradient(t, kf); break;
    case TMorphKind::mkLeftSlide: MorphLeftSlide(t, kf); break;
    case TMorphKind::mkRightSlide: MorphRightSlide(t, kf); break;
    case TMorphKind::mkPush: MorphPush(t, kf); break;
  }
}

void TskEffectBmp::Lighten(double x) {
  x = Factor(x);
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* s = RowAddress(y);
    for (int i = 0; i < kBpp * Width; ++i) s[i] = Channel((1.0 - x) * s[i] + 255.0 * x);
  }
}

void TskEffectBmp::Darken(double x) {
  x = Factor(x);
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* s = RowAddress(y);
    for (int i = 0; i < kBpp * Width; ++i) s[i] = Channel((1.0 - x) * s[i]);
  }
}

void TskEffectBmp::ToGray() {
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* p = RowAddress(y);
    for (int x = 0; x < Width; ++x, p += kBpp) {
      const std::uint8_t g = Channel(kGrayRed * p[2] + kGrayGreen * p[1] + kGrayBlue * p[0]);
      p[0] = p[1] = p[2] = g;
    }
  }
}

void TskEffectBmp::InvertColors() {
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* s = RowAddress(y);
    for (int i = 0; i < kBpp * Width; ++i) s[i] = std::uint8_t(255 - s[i]);
  }
}

void TskEffectBmp::AddNoise(int amount) {
  if (amount <= 0) return;
  std::minstd_rand random(kNoiseSeed);
  for (int y = 0; y < Height; ++y) {
    std::uint8_t* p = RowAddress(y);
    for (int x = 0; x < Width; ++x, p += kBpp) {
      const int delta = int(random() % std::uint32_t(amount)) - amount / 2;
      for (int c = 0; c < kBpp; ++c) p[c] = std::uint8_t(std::clamp(p[c] + delta, 0, 255));
    }
  }
}

void TskEffectBmp::SplitBlur(int a) {
  if (a <= 0) return;
  // Past the bottom or right edge the pixel's own row or column stands in for the
  // missing neighbour, as the top and left edges do.
  for (int y = 0; y < Height; ++y) {
    // Compared as distances so that a huge `a` cannot overflow.
    const std::uint8_t* up = RowAddress(a > y ? y : y - a);
    const std::uint8_t* down = RowAddress(a < Height - y ? y + a : y);
    std::uint8_t* row = RowAddress(y);
    for (int x = 0; x < Width; ++x) {
      const int l = kBpp * (a > x ? x : x - a);
      const int r = kBpp * (a < Width - x ? x + a : x);
      for (int c = 0; c < kBpp; ++c) {
        row[kBpp * x + c] = std::uint8_t((up[l + c] + down[l + c] + up[r + c] + down[r + c]) >> 2);
      }
    }
  }
}

void TskEffectBmp::ApplyInactiveEffect(TInactiveEffect effect) {
  switch (effect) {
    case TInactiveEffect::ieBrightness: Lighten(kInactiveLighten); break;
    case TInactiveEffect::ieDarkness: Darken(kInactiveDarken); break;
    case TInactiveEffect::ieGrayscale: ToGray(); break;
    case TInactiveEffect::ieNoise: AddNoise(kInactiveNoise); break;
    case TInactiveEffect::ieSplitBlur: SplitBlur(kInactiveBlur); break;
    case TInactiveEffect::ieInvert: InvertColors(); break;
  }
}

void TskEffectBmp::RotateLeft(TskEffectBmp& target) const {
  if (target.Width != Height || target.Height != Width) target.Allocate(Height, Width);
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) target.SetPixel(y, Width - 1 - x, GetPixel(x, y));
  }
}

void TskEffectBmp::RotateRight(TskEffectBmp& target) const {
  if (target.Width != Height || target.Height != Width) target.Allocate(Height, Width);
  for (int y = 0; y < Height; ++y) {
    for (int x = 0; x < Width; ++x) target.SetPixel(Height - 1 - y, x, GetPixel(x, y));
  }
}

}  // namespace skin
