// TskHeaderControl (column sections side by side, pressed with the mouse) and
// TskSkinHeaderControl, whose sections are drawn as skin buttons of a button
// record: normal, under the mouse, pressed and disabled pictures and colours.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "skControl.h"

namespace skin {

struct THeaderSection {
  std::string Text;
  int Width = 50;
};

// One section drawn as a skin button of `record` in its state (`picture` is
// the record's picture), its caption in `font` with the state's colour.
void DrawSkinButtonSection(platform::Bitmap& image, const Rect& r, const TskDataSkinButtonControl& record,
                           const platform::Bitmap* picture, TskFont font, const std::string& caption, bool enabled,
                           bool hot, bool pressed);

class TskHeaderControl : public TskControl {
 public:
  explicit TskHeaderControl(platform::Window& parent);
  const std::vector<THeaderSection>& Sections() const { return Sections_; }
  void SetSections(std::vector<THeaderSection> sections);
  Rect SectionRect(int index) const;
  int SectionAt(int x, int y) const;

  std::function<void(TskHeaderControl&, int)> OnSectionClick;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseUp(TMouseButton button, int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseLeave() override;
  // Draws one section in its state into `image`.
  virtual void DrawSection(platform::Bitmap& image, int index, const Rect& r, bool hot, bool pressed);
  virtual void SectionClicked(int index);
  int Hot() const { return hot_; }
  int Pressed() const { return pressed_; }

 private:
  std::vector<THeaderSection> Sections_;
  int hot_ = -1, pressed_ = -1;
};

class TskSkinHeaderControl : public TskHeaderControl {
 public:
  explicit TskSkinHeaderControl(platform::Window& parent);
  // The height without a record; with one, the button picture's height.
  int DefaultHeight() const { return DefaultHeight_; }
  void SetDefaultHeight(int height);
  const TskFont& DefaultFont() const { return DefaultFont_; }
  void SetDefaultFont(const TskFont& font);
  bool UseSkinFont = true;

  std::function<void(TskSkinHeaderControl&, int)> OnSkinSectionClick;
  // After a skinned section is drawn: its index, the canvas and its rectangle.
  std::function<void(TskSkinHeaderControl&, int, platform::Bitmap&, const Rect&)> OnDrawSkinSection;

  void SetSkinData(TskSkinData* data) override;
  void ReadSkinRecord() override;
  void SkinChanged() override;

 protected:
  void Paint(platform::Bitmap& canvas) override;
  void DrawSection(platform::Bitmap& image, int index, const Rect& r, bool hot, bool pressed) override;
  void SectionClicked(int index) override;

 private:
  int DefaultHeight_ = 17;
  TskFont DefaultFont_;
};

}  // namespace skin
