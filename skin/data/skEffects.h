// TskEffectBmp: a 24-bit working bitmap for the morphs that animate skin parts
// between two state images and the effects that give a frame its inactive look.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/Bitmap.h"
#include "skTypes.h"

namespace skin {

class TskEffectBmp {
 public:
  // A bitmap of the given size, all black.
  TskEffectBmp(int width, int height);
  explicit TskEffectBmp(const platform::Bitmap& source);
  TskEffectBmp(const TskEffectBmp& other);
  TskEffectBmp& operator=(const TskEffectBmp& other);

  std::int32_t Width = 0, Height = 0;
  // Height x (3 x Width + Width mod 4): rows padded to four bytes.
  std::int32_t ImageSize = 0;
  std::uint8_t* PixelData = nullptr;

  // Colours here have blue in the lowest byte, then green, then red.
  void SetPixel(int x, int y, std::uint32_t colour);
  std::uint32_t GetPixel(int x, int y) const;
  void SetRow(int y, const std::uint8_t* buffer);
  void GetRow(int y, std::uint8_t* buffer) const;
  std::uint8_t* RowAddress(int y) { return PixelData + std::size_t(y) * std::size_t(stride_); }
  const std::uint8_t* RowAddress(int y) const { return PixelData + std::size_t(y) * std::size_t(stride_); }
  // Copies every pixel 1:1 onto `canvas` with the top-left corner at x, y.
  void DrawToDC(platform::Bitmap& canvas, int x, int y) const;
  platform::Bitmap ToBitmap() const;

  // Morphs from this image (kf 0) toward `t` (kf 1); nothing when sizes differ.
  void BlendWith(const TskEffectBmp& t, double kf);
  void MorphGradient(const TskEffectBmp& t, double kf);
  void MorphGradientH(const TskEffectBmp& t, double kf);
  void MorphGradientV(const TskEffectBmp& t, double kf);
  void MorphLeftGradient(const TskEffectBmp& t, double kf);
  void MorphRightGradient(const TskEffectBmp& t, double kf);
  void MorphLeftSlide(const TskEffectBmp& t, double kf);
  void MorphRightSlide(const TskEffectBmp& t, double kf);
  void MorphPush(const TskEffectBmp& t, double kf);
  // The morph that a morph kind selects.
  void Morph(TMorphKind kind, const TskEffectBmp& t, double kf);

  void Lighten(double amount);
  void Darken(double amount);
  void ToGray();
  void InvertColors();
  void AddNoise(int amount);
  void SplitBlur(int distance);
  // The inactive-frame effect that an inactive effect selects.
  void ApplyInactiveEffect(TInactiveEffect effect);

  // Writes this image turned by a right angle into `target`, sized Height x Width.
  void RotateLeft(TskEffectBmp& target) const;
  void RotateRight(TskEffectBmp& target) const;

 private:
  bool SameSize(const TskEffectBmp& t) const { return t.Width == Width && t.Height == Height; }
  void Allocate(int width, int height);

  std::int32_t stride_ = 0;
  std::vector<std::uint8_t> pixels_;
};

}  // namespace skin
