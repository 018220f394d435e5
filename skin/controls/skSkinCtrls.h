// The skinned control bases: TskSkinControl (a windowed control that draws from
// a control record of its skin, or plain without one), TskGraphicSkinControl
// (the same for controls that never take the focus and have no shape of their
// own) and TskSkinCustomControl (a picture resized around its stretch points,
// with a client area and a mask that shapes the window); and the relay through
// which a skinned form passes skin changes on to its controls.
#pragma once
#include <optional>

#include "platform/Region.h"
#include "skControl.h"
#include "skUtils.h"

namespace skin {

class TskSkinControl : public TskControl {
 public:
  explicit TskSkinControl(platform::Window& parent);

  int TabOrder = 0;

  // Before a skin load: the record is forgotten until the load has ended.
  virtual void SkinChanging();

  // Draw the plain look and the skinned look into a bitmap of the control's size.
  virtual void DrawDefault(platform::Bitmap& bitmap);
  virtual void DrawSkin(platform::Bitmap& bitmap);

 protected:
  // Re-reads the record, draws into an off-screen bitmap and copies it in one go.
  void Paint(platform::Bitmap& canvas) override;
};

class TskGraphicSkinControl : public TskControl {
 public:
  explicit TskGraphicSkinControl(platform::Window& parent);

  virtual void SkinChanging();
  virtual void DrawDefault(platform::Bitmap& bitmap);
  virtual void DrawSkin(platform::Bitmap& bitmap);

 protected:
  void Paint(platform::Bitmap& canvas) override;
};

// How the record's picture fits the control's size.
enum class TskStretchKind : int {
  skNone = -1,       // no skin rectangle: as skFixed
  skFixed = 0,       // the skin rectangle 1:1, size fixed to it
  skBoth = 1,        // nine pieces, free in both directions
  skHorizontal = 2,  // three pieces across, height fixed
  skVertical = 3,    // three pieces down, width fixed
};

class TskSkinCustomControl : public TskSkinControl {
 public:
  explicit TskSkinCustomControl(platform::Window& parent);
  ~TskSkinCustomControl() override;

  const TskFont& DefaultFont() const { return DefaultFont_; }
  void SetDefaultFont(const TskFont& font);
  int DefaultWidth() const { return DefaultWidth_; }
  void SetDefaultWidth(int width);
  int DefaultHeight() const { return DefaultHeight_; }
  void SetDefaultHeight(int height);
  bool UseSkinFont = true;

  TskStretchKind StretchKind() const;

  void ReadSkinRecord() override;
  void SkinChanged() override;
  void SetBounds(int left, int top, int width, int height) override;
  using TskControl::SetBounds;
  void DrawDefault(platform::Bitmap& bitmap) override;
  void DrawSkin(platform::Bitmap& bitmap) override;

  virtual void DefaultFontChanged();
  // Turns a requested size into one the record allows, and moves the stretch
  // points and client rectangle to it.
  virtual void AdjustSizeToSkin(int& width, int& height);
  // Shapes the window by the record's mask, or takes any shape away.
  virtual void UpdateRegion();

  // Copied from the record.
  Point LTPoint, RTPoint, LBPoint, RBPoint;
  Rect ClRect, FSkinRect;
  const platform::Bitmap* Picture = nullptr;
  const platform::Bitmap* MaskPicture = nullptr;
  // The points and client rectangle moved to the last adjusted size.
  Point NewLTPoint, NewRTPoint, NewLBPoint, NewRBPoint;
  Rect NewClRect;

 protected:
  // The record's geometry, and the geometry moved to a size.
  TskStretchGeometry RecordGeometry() const;
  TskStretchGeometry MovedGeometry(int width, int height) const;
  // Whether the record is of the class this base draws from.
  bool HasCustomRecord() const { return CustomRecord_; }
  // A control that accepts only records of class T forgets any other.
  template <class T>
  void AcceptOnly() {
    if (SkinIndex() != -1 && !SkinRecordAs<T>()) DropRecord();
  }
  void DropRecord();

 private:
  TskFont DefaultFont_;
  int DefaultWidth_ = 0;
  int DefaultHeight_ = 0;
  bool CustomRecord_ = false;
};

// The frame's relay: every control of `form`, depth first, whose skin data is
// `skinData` (every skinned control when it is nullptr). Before a load the
// windowed bases forget their records; after it every skinned control runs its
// skin-changed operation.
void NotifyControlsBeforeChange(platform::Window& form, const TskSkinData* skinData);
void NotifyControlsChange(platform::Window& form, const TskSkinData* skinData);

}  // namespace skin
