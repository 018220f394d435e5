// The objects of a skinned main menu bar: one item per top-level menu item, and
// the command buttons of a maximized MDI child. Each has a rectangle in bar
// client coordinates, lights up under the mouse and morphs between its images.
#pragma once
#include <string>

#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/Menu.h"
#include "skSkinData.h"

namespace skin {

class TskSkinMainMenuBar;

class TskMenuBarObject {
 public:
  TskMenuBarObject(TskSkinMainMenuBar& bar, const TskDataSkinObject* record);
  virtual ~TskMenuBarObject() = default;
  TskMenuBarObject(const TskMenuBarObject&) = delete;
  TskMenuBarObject& operator=(const TskMenuBarObject&) = delete;

  virtual void Draw(platform::Bitmap& canvas) { (void)canvas; }
  virtual void MouseDown(int x, int y, TMouseButton button) { (void)x, (void)y, (void)button; }
  virtual void MouseUp(int x, int y, TMouseButton button) { (void)x, (void)y, (void)button; }
  virtual void DblClick() {}
  virtual void MouseEnter();
  virtual void MouseLeave();
  virtual bool CanMorph() const;
  virtual bool IsItem() const { return false; }

  // Starts the bar's morphing, or draws the object at once.
  void Redraw();
  void MorphStep();

  TskSkinMainMenuBar& MenuBar;
  bool MouseInside = false;
  const platform::Bitmap* Picture = nullptr;
  bool Down = false;
  double MorphFactor = 0;
  std::string IDName;
  Rect SkinRect, ActiveSkinRect, DownRect, ObjectRect;
  bool Active = false;
  bool Enabled = true;
  bool Visible = true;
  bool Morphing = false;
  TMorphKind MorphKind = TMorphKind::mkDefault;

 protected:
  bool BetweenMorphEnds() const { return Active ? MorphFactor < 1 : MorphFactor > 0; }
  // Morphs `normal` toward `active` by MorphFactor and draws it at the object.
  void DrawMorph(platform::Bitmap& canvas, const platform::Bitmap& normal, const platform::Bitmap& active) const;
};

// A command button of the maximized MDI child, at the bar's ends.
class TskSkinMainMenuBarButton : public TskMenuBarObject {
 public:
  // Without a record: a plain button drawn with a glyph, named `name`.
  TskSkinMainMenuBarButton(TskSkinMainMenuBar& bar, const TskDataSkinMainMenuBarButton* record,
                           TskStdCommand command, std::string name);
  void Draw(platform::Bitmap& canvas) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseUp(int x, int y, TMouseButton button) override;
  void DblClick() override;
  void MouseEnter() override;
  void MouseLeave() override;
  void Execute();

  bool HasRecord = false;
  TskStdCommand Command = TskStdCommand::cmDefault;

 private:
  void DrawDefault(platform::Bitmap& canvas) const;
};

// One top-level item of the menu.
class TskSkinMainMenuBarItem : public TskMenuBarObject {
 public:
  TskSkinMainMenuBarItem(TskSkinMainMenuBar& bar, const TskDataSkinMainMenuItem* record, platform::MenuItem& item);
  // Lays the item out after the one before it, then draws it unless it does not fit.
  void Draw(platform::Bitmap& canvas) override;
  void MouseDown(int x, int y, TMouseButton button) override;
  void MouseEnter() override;
  void MouseLeave() override;
  bool IsItem() const override { return true; }
  void SetDown(bool down);
  void PopupItem();

  bool HasRecord = false;
  std::string fontname;
  int fontheight = 0;
  TFontStyles fontstyle = 0;
  Colour fontcolor = 0, activefontcolor = 0, downfontcolor = 0, unenabledfontColor = 0;
  Rect textrect;
  int itemleftoffset = 0, itemrightoffset = 0;
  Rect ItemDownRect;
  platform::MenuItem& MenuItem;
  bool HiddenByOverflow = false;
  bool SavedEnabled = true;

 private:
  platform::Font ItemFont() const;
  void Layout(const platform::Font& font);
  // The item's image from picture rectangle `source` with its caption in `colour`.
  platform::Bitmap SkinImage(const Rect& source, Colour colour, const platform::Font& font) const;
  void DrawPlain(platform::Bitmap& canvas, const platform::Font& font) const;
};

}  // namespace skin
