// TskControlBar lays its child controls out in bands, left to right and row by
// row, each behind a grip; TskSkinControlBar draws its background from the
// record's background picture, each band from the record's item piece and,
// with SkinBevel, its own frame from the record's picture.
#pragma once
#include "skControl.h"

namespace skin {

class TskControlBar : public TskControl {
 public:
  explicit TskControlBar(platform::Window& parent);
  int RowSize = 26;
  static constexpr int kGrip = 11;
  // Places every visible child in its band; returns nothing, the bands follow
  // the children's bounds.
  void AlignControls();
  // A band: a child's bounds widened by the grip and the band's edges.
  Rect BandRect(const platform::Window& child) const;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  virtual void DrawBackground(platform::Bitmap& image);
  virtual void DrawBand(platform::Bitmap& image, const Rect& band);
  // The area bands are laid out in.
  virtual Rect BandArea() const { return ClientRect(); }
};

class TskSkinControlBar : public TskControlBar {
 public:
  explicit TskSkinControlBar(platform::Window& parent);
  bool SkinBevel() const { return SkinBevel_; }
  void SetSkinBevel(bool on);
  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;
  void SkinChanged() override;

 protected:
  void DrawBackground(platform::Bitmap& image) override;
  void DrawBand(platform::Bitmap& image, const Rect& band) override;
  Rect BandArea() const override;

 private:
  bool SkinBevel_ = true;
};

}  // namespace skin
