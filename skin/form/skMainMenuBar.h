// TskSkinMainMenuBar: a form's main menu drawn as a skinned bar at the top of
// the client area. It shows one item per visible top-level menu item, opens the
// items' submenus through the form component's menu controller, runs the
// keyboard menu mode (Alt, arrows, Enter, Esc, accelerators), hides the items
// that do not fit behind an overflow mark and, on MDI frames, carries the
// command buttons of a maximized child. TskSkinMainMenu is a main menu with a
// skin of its own.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Menu.h"
#include "platform/Timer.h"
#include "skComponent.h"
#include "skMenuBarObjects.h"
#include "skSkinCtrls.h"
#include "skSkinForm.h"

namespace skin {

class TskSkinMainMenu : public platform::Menu, public TskComponent {
 public:
  TskSkinData* SkinData() const { return SkinData_; }
  void SetSkinData(TskSkinData* value);

 protected:
  void Notification(TskComponent* removed) override;

 private:
  TskSkinData* SkinData_ = nullptr;
};

// Shift-state bit of a mouse press that is the second click of a double click.
constexpr std::uint8_t kShiftDouble = 64;

class TskSkinMainMenuBar : public TskSkinControl {
 public:
  explicit TskSkinMainMenuBar(platform::Window& parent);
  ~TskSkinMainMenuBar() override;

  // Properties.
  bool UseSkinFont = true;
  const TskFont& DefItemFont() const { return DefItemFont_; }
  void SetDefItemFont(const TskFont& font);
  int DefaultWidth() const { return DefaultWidth_; }
  void SetDefaultWidth(int value);
  int DefaultHeight() const { return DefaultHeight_; }
  void SetDefaultHeight(int value);
  bool PopupToUp = false;
  TskSkinForm* SkinForm() const { return SkinForm_; }
  void SetSkinForm(TskSkinForm* form);
  platform::Menu* MainMenu() const { return MainMenu_; }
  void SetMainMenu(platform::Menu* menu);

  // Events (x, y in bar client coordinates).
  std::function<void(TskSkinMainMenuBar&)> OnClick;
  std::function<void(TskSkinMainMenuBar&, TMouseButton, std::uint8_t shift, int x, int y)> OnMouseDown, OnMouseUp;
  std::function<void(TskSkinMainMenuBar&, std::uint8_t shift, int x, int y)> OnMouseMove;

  // State.
  std::vector<std::unique_ptr<TskMenuBarObject>> BarObjects;
  int ChildButtonCount = 0;
  bool ChildButtonsShown = false;
  bool MenuTracking = false;
  bool Overflow = false;
  bool OverflowMarkActive = false;
  int BarHoverIndex = -1, BarPrevHoverIndex = -1, BarCaptureIndex = -1;
  platform::Timer BarHoverTimer, BarMorphTimer;
  bool BarSkinActive = false;
  Rect ItemsArea;
  // From the bar's skin record.
  Rect skinrect, itemsrect;
  std::string menubaritem, closebutton, maxbutton, minbutton, sysmenubutton;
  Colour trackmarkcolor = 0, trackmarkactivecolor = 0;
  const platform::Bitmap* BarPicture = nullptr;
  // The maximized MDI child whose buttons the bar carries.
  TskSkinForm* MaximizedChild = nullptr;

  // Operations.
  void RebuildItems();
  void CalcItemsArea();
  void PaintBar(platform::Bitmap& canvas);
  void UpdateBarHover(int x, int y);
  void ShowChildButtons(TskSkinForm& child);
  // `stillMaximized`: another child that is still maximized, or nullptr.
  void HideChildButtons(TskSkinForm* stillMaximized);
  void ApplyChildBorderIcons(TskBorderIcons icons);
  void PopupOverflowMenu();
  bool HandleAccelerator(std::uint32_t key);
  void SelectNextItem();
  void SelectPrevItem();
  bool PressSelectedItem();
  void EnterMenuMode();
  void LeaveMenuMode();
  void ItemPopupClosed();

  // The overflow mark at the items area's right end.
  Rect OverflowMarkRect() const;
  // A rectangle of the bar in screen coordinates.
  Rect ScreenRect(const Rect& r) const;
  // Draws an object over the bar already shown.
  void DrawObjectNow(TskMenuBarObject& object);
  // The menu items' objects, after the child buttons.
  TskSkinMainMenuBarItem* Item(std::size_t index) const;
  std::size_t ItemCount() const { return BarObjects.size() - std::size_t(ChildButtonCount); }

  void ReadSkinRecord() override;
  void SkinChanging() override;
  void SkinChanged() override;
  void SetBounds(int left, int top, int width, int height) override;
  using TskSkinControl::SetBounds;

  // The mouse in bar client coordinates; `shift` holds the keyboard's
  // shift state and, for the second press of a double click, kShiftDouble.
  void BarMouseDown(TMouseButton button, std::uint8_t shift, int x, int y);
  void BarMouseUp(TMouseButton button, std::uint8_t shift, int x, int y);

 protected:
  // The bar is drawn whole, with its objects laid out as they are drawn.
  void Paint(platform::Bitmap& canvas) override;
  void MouseDown(TMouseButton button, int x, int y) override;
  void MouseUp(TMouseButton button, int x, int y) override;
  void MouseMove(int x, int y) override;
  void MouseEnter() override;
  void MouseLeave() override;
  void WndProc(platform::Message& m) override;
  void Notification(TskComponent* removed) override;

 private:
  void ClearObjects();
  // Selects the next selectable item after the current one, forwards (+1) or backwards (-1).
  void SelectItemFrom(int direction);
  void CreateChildButtons();
  void HoverTick();
  void MorphTick();
  void ApplyHeight();

  TskFont DefItemFont_;
  int DefaultWidth_ = 0;
  int DefaultHeight_ = 22;
  TskSkinForm* SkinForm_ = nullptr;
  platform::Menu* MainMenu_ = nullptr;
  int parentHook_ = 0;
};

}  // namespace skin
