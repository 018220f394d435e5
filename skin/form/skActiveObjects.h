// The active skin objects of a frame: caption, command buttons and user areas.
// Each has a rectangle in window coordinates, lights up under the mouse, morphs
// between its normal and active images and carries out its command.
#pragma once
#include <string>

#include "platform/Bitmap.h"
#include "skComponent.h"
#include "skSkinData.h"

namespace skin {

class TskSkinForm;

class TskActiveSkinObject {
 public:
  TskActiveSkinObject(TskSkinForm& form, const TskDataSkinObject* record);
  virtual ~TskActiveSkinObject() = default;
  TskActiveSkinObject(const TskActiveSkinObject&) = delete;
  TskActiveSkinObject& operator=(const TskActiveSkinObject&) = delete;

  virtual bool CanMorph() const;
  // UpdateOnly is false while the whole frame is painted, true when the object
  // is drawn alone over a frame already on screen.
  virtual void Draw(platform::Bitmap& canvas, bool updateOnly);
  virtual void DblClick() {}
  virtual void MouseDown(int x, int y, TMouseButton button);
  virtual void MouseUp(int x, int y, TMouseButton button);
  virtual void MouseMove(int x, int y);
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool IsCaption() const { return false; }

  void Redraw();
  void DrawNow();
  void MorphStep();

  TskSkinForm& SkinForm;
  double MorphFactor = 0;
  bool MouseInside = false;
  const platform::Bitmap* Picture = nullptr;
  const platform::Bitmap* ActivePicture = nullptr;
  TskSkinData* SkinData = nullptr;
  std::string IDName;
  std::string Hint;
  Rect SkinRect, ActiveSkinRect, ObjectRect;
  bool Active = false;
  bool Morphing = false;
  TMorphKind MorphKind = TMorphKind::mkDefault;
  bool Enabled = true;
  bool Visible = true;
  bool SkinRectInAPicture = false;

 protected:
  // `from`'s rectangle `r` stretched to the object's size.
  platform::Bitmap Image(const platform::Bitmap& from, const Rect& r) const;
  // Morphs image `normal` toward `active` by MorphFactor and draws it at the object.
  void DrawMorph(platform::Bitmap& canvas, const platform::Bitmap& normal, const platform::Bitmap& active) const;
  // Whether the morph has not reached the end its state asks for.
  bool BetweenMorphEnds() const { return Active ? MorphFactor < 1 : MorphFactor > 0; }
};

// Draws nothing itself: the component's OnPaintEvent does.
class TskUserObject : public TskActiveSkinObject {
 public:
  using TskActiveSkinObject::TskActiveSkinObject;
  void Draw(platform::Bitmap& canvas, bool updateOnly) override;
};

class TskSkinButtonObject : public TskActiveSkinObject {
 public:
  TskSkinButtonObject(TskSkinForm& form, const TskDataSkinButton* record);
  bool CanMorph() const override;
  void Draw(platform::Bitmap& canvas, bool updateOnly) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void SetDown(bool down);

  bool Down = false;
  Rect DisableSkinRect, DownRect;
  // Whether the button pops up a menu of its own (menus come with the menu bar).
  bool HasMenu = false;
};

class TskSkinStdButtonObject : public TskSkinButtonObject {
 public:
  // Without a record: a button of the plain frame, drawn with a glyph.
  TskSkinStdButtonObject(TskSkinForm& form, const TskDataSkinStdButton* record, TskStdCommand command,
                         std::string name);
  bool CanMorph() const override;
  void Draw(platform::Bitmap& canvas, bool updateOnly) override;
  void DblClick() override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void Execute();

  bool HasRecord = false;
  TskStdCommand Command = TskStdCommand::cmDefault;
  Rect RestoreRect, RestoreActiveRect, RestoreInActiveRect, RestoreDownRect;

 private:
  bool InRestoreState() const;
  bool ShowsIcon() const;
  void DrawDefault(platform::Bitmap& canvas);
};

class TskSkinCaptionObject : public TskActiveSkinObject {
 public:
  TskSkinCaptionObject(TskSkinForm& form, const TskDataSkinCaption* record);
  void Draw(platform::Bitmap& canvas, bool updateOnly) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool IsCaption() const override { return true; }

 private:
  platform::Bitmap CaptionImage(const platform::Bitmap& from, const Rect& sr, bool active) const;
  void PaintCaptionText(platform::Bitmap& canvas, int ox, int oy, bool active) const;
  void ApplyInactiveEffect(platform::Bitmap& image) const;

  TskDataSkinCaption text_;
};

}  // namespace skin
