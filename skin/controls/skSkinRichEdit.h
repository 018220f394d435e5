// TskSkinRichEdit: rich text shown as lines (the memo model), on the record's
// background colour in its font; DefaultColor is the background without a
// record, and SkinSupport off keeps the plain look whatever the skin holds.
#pragma once
#include "skSkinMemo.h"

namespace skin {

class TskSkinRichEdit : public TskMemo {
 public:
  explicit TskSkinRichEdit(platform::Window& parent);
  bool SkinSupport() const { return SkinSupport_; }
  void SetSkinSupport(bool on);
  Colour DefaultColor() const { return DefaultColor_; }
  void SetDefaultColor(Colour color);
  const TskFont& DefaultFont() const { return DefaultFont_; }
  void SetDefaultFont(const TskFont& font);
  bool UseSkinFont = true;
  TskSkinScrollBar* VScrollBar() const { return VBar_; }
  void SetVScrollBar(TskSkinScrollBar* bar) { LinkScrollBar(VBar_, bar, true); }
  TskSkinScrollBar* HScrollBar() const { return HBar_; }
  void SetHScrollBar(TskSkinScrollBar* bar) { LinkScrollBar(HBar_, bar, false); }

  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  TskFont TextFont() const override;

 private:
  bool SkinSupport_ = true;
  Colour DefaultColor_;
  TskFont DefaultFont_;
};

}  // namespace skin
