// The skinned labels, all drawn from a "stdlabel" record's font and colours:
// TskCustomLabel (the label model: caption, alignment, layout, transparency),
// TskSkinStdLabel, TskSkinLinkLabel (opens its URL when clicked),
// TskSkinTextLabel (several lines) and TskSkinButtonLabel (a glyph beside the
// caption). Each accepts only a standard-label record.
#pragma once
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "skControl.h"

namespace skin {

enum class TTextLayout { tlTop, tlCenter, tlBottom };

// Font rules shared by the skinned labels.
class TskSkinLabelFont {
 public:
  const TskFont& DefaultFont() const { return DefaultFont_; }
  bool UseSkinFont = true;

 protected:
  TskSkinLabelFont();
  // With a record: its colour, and its face, style and height when UseSkinFont
  // (character set of DefaultFont); without one DefaultFont when UseSkinFont,
  // else the control's own font.
  TskFont LabelFontFor(const TskDataSkinStdLabelControl* record, const TskFont& own) const;
  TskFont DefaultFont_;
};

class TskCustomLabel : public TskControl {
 public:
  explicit TskCustomLabel(platform::Window& parent);

  TAlignment Alignment() const { return Alignment_; }
  void SetAlignment(TAlignment alignment);
  TTextLayout Layout() const { return Layout_; }
  void SetLayout(TTextLayout layout);
  bool Transparent() const { return Transparent_; }
  void SetTransparent(bool transparent);
  // Sizes the label to its text when the caption or font changes.
  bool AutoSize = true;
  bool ShowAccelChar = true;

  void SetCaption(const std::string& caption);
  void AdjustBounds();

 protected:
  void Paint(platform::Bitmap& canvas) override;
  virtual TskFont LabelFont() const { return Font(); }
  unsigned TextFlags() const;

 private:
  TAlignment Alignment_ = TAlignment::taLeftJustify;
  TTextLayout Layout_ = TTextLayout::tlTop;
  bool Transparent_ = true;
};

class TskSkinStdLabel : public TskCustomLabel, public TskSkinLabelFont {
 public:
  explicit TskSkinStdLabel(platform::Window& parent);
  void SetDefaultFont(const TskFont& font);
  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;

 protected:
  TskFont LabelFont() const override;
};

class TskSkinLinkLabel : public TskCustomLabel, public TskSkinLabelFont {
 public:
  explicit TskSkinLinkLabel(platform::Window& parent);
  void SetDefaultFont(const TskFont& font);
  std::string URL;
  // The colour under the mouse without a record (with one, its activefontcolor).
  Colour DefaultActiveFontColor;
  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;

 protected:
  TskFont LabelFont() const override;
  void MouseEnter() override;
  void MouseLeave() override;
  void MouseUp(TMouseButton button, int x, int y) override;
};

class TskSkinTextLabel : public TskControl, public TskSkinLabelFont {
 public:
  explicit TskSkinTextLabel(platform::Window& parent);
  const std::vector<std::string>& Lines() const { return Lines_; }
  void SetLines(std::vector<std::string> lines);
  void SetDefaultFont(const TskFont& font);
  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;

 protected:
  void Paint(platform::Bitmap& canvas) override;

 private:
  std::vector<std::string> Lines_;
};

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };

class TskSkinButtonLabel : public TskControl, public TskSkinLabelFont {
 public:
  explicit TskSkinButtonLabel(platform::Window& parent);
  // A strip of NumGlyphs glyphs: the first for the normal look, the second
  // (when there is one) for the disabled look.
  platform::Bitmap Glyph;
  int NumGlyphs = 1;
  int Margin = -1;  // -1: glyph and text centred together
  int Spacing = 4;
  TButtonLayout Layout = TButtonLayout::blGlyphLeft;
  Colour DefaultActiveFontColor;
  void SetDefaultFont(const TskFont& font);
  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;
  // Where the glyph and the caption go.
  void CalcLayout(Rect& glyph, Rect& text) const;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  void MouseEnter() override;
  void MouseLeave() override;
};

}  // namespace skin
