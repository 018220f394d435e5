// TskBevel (boxes, frames and lines in two shades, over the parent's
// background) and TskSkinBevel, which takes the shades from a bevel record and
// can draw itself as a divider.
#pragma once
#include "skControl.h"

namespace skin {

enum class TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum class TBevelStyle { bsLowered, bsRaised };

class TskBevel : public TskControl {
 public:
  explicit TskBevel(platform::Window& parent);
  TBevelShape Shape() const { return Shape_; }
  void SetShape(TBevelShape shape);
  TBevelStyle Style() const { return Style_; }
  void SetStyle(TBevelStyle style);

 protected:
  void Paint(platform::Bitmap& canvas) override;
  // The two shades: the light one and the dark one.
  virtual Colour LightColor() const;
  virtual Colour DarkColor() const;
  void DrawShape(platform::Bitmap& canvas, Colour light, Colour dark) const;

 private:
  TBevelShape Shape_ = TBevelShape::bsBox;
  TBevelStyle Style_ = TBevelStyle::bsLowered;
};

class TskSkinBevel : public TskBevel {
 public:
  explicit TskSkinBevel(platform::Window& parent);
  // A divider: a dark and a light line across the middle, along the longer side.
  bool DividerMode() const { return DividerMode_; }
  void SetDividerMode(bool on);
  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  Colour LightColor() const override;
  Colour DarkColor() const override;

 private:
  bool DividerMode_ = false;
};

}  // namespace skin
