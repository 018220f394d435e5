// TskSkinForm: takes over a form's frame. It hooks the form's messages, lays the
// frame out from the skin for every size, cuts the window to the skin's mask,
// paints the frame (skinned, or plain in system colours without a skin) into an
// off-screen bitmap, answers hit tests and drives the active skin objects.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Font.h"
#include "platform/Region.h"
#include "platform/Timer.h"
#include "platform/Window.h"
#include "skActiveObjects.h"
#include "skComponent.h"
#include "skFrameLayout.h"
#include "skSkinData.h"
#include "skSkinMenus.h"

namespace skin {

class TskSkinHint;
class TskSkinMainMenuBar;

enum class TskBorderIcon : std::uint8_t { biSystemMenu = 1, biMinimize = 2, biMaximize = 4, biRollUp = 8,
                                          biMinimizeToTray = 16 };
using TskBorderIcons = std::uint8_t;
constexpr TskBorderIcons operator|(TskBorderIcon a, TskBorderIcon b) { return TskBorderIcons(unsigned(a) | unsigned(b)); }
constexpr TskBorderIcons operator|(TskBorderIcons a, TskBorderIcon b) { return TskBorderIcons(a | unsigned(b)); }
constexpr bool Has(TskBorderIcons set, TskBorderIcon icon) { return (set & unsigned(icon)) != 0; }

enum class TWindowState { wsNormal, wsMinimized, wsMaximized };

// A caption font with its colour.
struct TskCaptionFont {
  platform::Font font;
  Colour color = 0;
};

// The form is also its popup menus' host: a TskSkinPopupMenu of the form shows
// through the form's own SkinMenu.
class TskSkinForm : public TskComponent, public TskSkinMenuHost {
 public:
  explicit TskSkinForm(platform::Window& ownerForm);
  ~TskSkinForm() override;

  platform::Window& OwnerForm() const { return owner_; }

  // Properties.
  bool ShowIcon() const { return ShowIcon_; }
  void SetShowIcon(bool value);
  bool ShowObjectHint = false;
  TskSkinHint* SkinHint() const { return SkinHint_; }
  void SetSkinHint(TskSkinHint* hint);
  const TskCaptionFont& DefCaptionFont() const { return DefCaptionFont_; }
  void SetDefCaptionFont(const TskCaptionFont& font);
  const TskCaptionFont& DefInActiveCaptionFont() const { return DefInActiveCaptionFont_; }
  void SetDefInActiveCaptionFont(const TskCaptionFont& font);
  TskSkinData* SkinData() const override { return SkinData_; }
  void SetSkinData(TskSkinData* data);
  // The skin of the popup menus, when it is not SkinData.
  TskSkinData* MenusSkinData() const override { return MenusSkinData_; }
  void SetMenusSkinData(TskSkinData* data);
  TskSkinMenu& SkinMenu() override { return SkinMenu_; }
  int MinWidth = 0;
  int MinHeight = 0;
  TskBorderIcons BorderIcons() const { return BorderIcons_; }
  void SetBorderIcons(TskBorderIcons icons);

  // Events: the object's section name, window coordinates and rectangle.
  std::function<void(TskSkinForm&)> OnChangeSkinData, OnActivate, OnDeActivate;
  // A skinned popup opened by the frame shows, and it closed.
  std::function<void(TskSkinForm&)> OnSkinMenuOpen, OnSkinMenuClose;
  std::function<void(TskSkinForm&, const std::string&, int, int, const Rect&, TMouseButton)> OnMouseUpEvent,
      OnMouseDownEvent;
  std::function<void(TskSkinForm&, const std::string&, int, int, const Rect&)> OnMouseMoveEvent;
  std::function<void(TskSkinForm&, const std::string&)> OnMouseEnterEvent, OnMouseLeaveEvent;
  std::function<void(TskSkinForm&, const std::string&, platform::Bitmap&, const Rect&)> OnPaintEvent;

  // Where a painted frame goes: the whole window image with the client area
  // left to the form. Unset, the image is only kept (FrameImage).
  std::function<void(const platform::Bitmap&, const Rect& client)> OnPresentFrame;

  // State.
  bool SkinActive() const { return SkinActive_; }
  bool IsFormActive() const { return FormActive_; }
  TWindowState SkinWindowState() const { return SkinWindowState_; }
  void SetSkinWindowState(TWindowState state);
  bool RolledUp() const { return RolledUp_; }
  bool MenuOpen() const { return MenuOpen_; }
  void SetRollUp(bool rolledUp);
  // Whether the frame is painted at all (a borderless form keeps its own look).
  bool FrameDrawn() const;
  const TskFrameLayout& Layout() const { return layout_; }
  const platform::Bitmap& FrameImage() const { return frameImage_; }
  const std::optional<platform::Region>& WindowRegion() const { return WindowRegion_; }
  Rect DefaultCaptionRect() const { return DefaultCaptionRect_; }
  int CaptionHeight() const { return kDefaultCaptionHeight; }
  int MinFrameWidth() const;
  int MinFrameHeight() const;

  std::vector<std::unique_ptr<TskActiveSkinObject>> ObjectList;
  int HoverIndex = -1, PrevHoverIndex = -1, CaptureIndex = -1;
  platform::Timer HoverTimer, MorphTimer;

  // Operations.
  void ApplySkinData();
  void CreateSkinObjects();
  void CreateDefaultButtons();
  void ClearSkinObjects();
  void ApplyBorderIcons();
  void UpdateFrame(bool rebuild);
  void CalcFrameLayout();
  void PlaceSkinObjects();
  void UpdateWindowRegion();
  void LayoutDefaultButtons();
  // WM_NCPAINT: the frame into FrameImage, then presented.
  void PaintFrame();
  void PaintSkinnedFrame(platform::Bitmap& image);
  void PaintDefaultFrame(platform::Bitmap& image);
  // WM_ERASEBKGND: the client background, client-sized.
  void PaintClientBackground(platform::Bitmap& client);
  // Draws one object over the frame already shown, and presents it.
  void DrawObjectNow(TskActiveSkinObject& object);
  void SetFrameActive(bool repaint);
  std::intptr_t HitTest(Point p);
  std::intptr_t HitTestSkinned(Point p);
  std::intptr_t HitTestDefault(Point p);
  bool PointInMask(Point p) const;
  void UpdateHover(int x, int y, bool inside);
  void ObjectMouseDown(TMouseButton button, Point p);
  void ObjectMouseUp(TMouseButton button, Point p);
  void ResetObjectStates();
  Point ScreenToFrame(Point screen) const;
  // Closes the form as its own close would.
  void CloseForm();
  void SendNCPaint();
  // A popup menu of the frame opens, and the menus closed again.
  void SkinMenuOpened();
  void SkinMenuClosed();
  void MenuOpening() override { SkinMenuOpened(); }

  // The main menu bar and its keyboard menu mode.
  TskSkinMainMenuBar* MainMenuBar() const { return MainMenuBar_; }
  void SetMainMenuBar(TskSkinMainMenuBar* bar);
  std::function<void(TskSkinForm&)> OnMainMenuEnter, OnMainMenuExit;
  bool MainMenuMode() const { return MainMenuMode_; }
  void SetMainMenuMode(bool on) { MainMenuMode_ = on; }
  void SetMenuOpen(bool open) { MenuOpen_ = open; }
  // The form's short-cut handler: a key with its shift state (platform::shiftstate).
  void FormShortCut(std::uint32_t key, std::uint8_t shift, bool& handled);
  // A key pressed while the menus own the keyboard.
  void MenuKeyDown(std::uint32_t key);
  void LeaveMainMenuMode();
  void PopupClosedInMenuMode();
  // While the menus own the keyboard, key-down messages go to MenuKeyDown.
  void InstallKeyHook() { KeyHook_ = true; }
  void RemoveKeyHook() { KeyHook_ = false; }
  bool KeyHookInstalled() const { return KeyHook_; }

 protected:
  void Notification(TskComponent* removed) override;

 private:
  bool SkinWindowProc(platform::Message& m);
  bool HandleMessage(platform::Message& m);
  void RouteMouse(const platform::Message& m);
  void HoverTick();
  void MorphTick();
  void NudgeWidth();
  // Gives the form new bounds; a backend that does not report the size change
  // itself gets WM_SIZE from here.
  void ResizeForm(const Rect& bounds);
  int FormWidth() const { return owner_.BoundsRect().Width(); }
  int FormHeight() const { return owner_.BoundsRect().Height(); }
  bool Sizable() const { return owner_.GetBorderStyle() == platform::BorderStyle::Sizeable; }
  bool UsableSkin() const { return SkinData_ && !SkinData_->Empty; }
  void RemoveRegion();
  // The menu-mode parts of the message handling.
  bool MainMenuMessage(platform::Message& m);
  void MainMenuMenuClosed();

  platform::Window& owner_;
  int hookId_ = 0;
  bool ShowIcon_ = false;
  TskSkinHint* SkinHint_ = nullptr;
  TskCaptionFont DefCaptionFont_, DefInActiveCaptionFont_;
  TskSkinData* SkinData_ = nullptr;
  TskSkinData* MenusSkinData_ = nullptr;
  TskSkinMenu SkinMenu_;
  bool MenuOpen_ = false;
  TskBorderIcons BorderIcons_;
  bool SkinActive_ = false;
  bool FormActive_ = false;
  TWindowState SkinWindowState_ = TWindowState::wsNormal;
  bool RolledUp_ = false;
  Rect RestoreBounds_;
  int RollUpHeight_ = 0;
  int FrameWidth = 0, FrameHeight = 0;
  bool InSizeMove = false;
  TskFrameLayout layout_;
  platform::Bitmap MaskTop, MaskBottom, MaskLeft, MaskRight;
  std::optional<platform::Region> WindowRegion_;
  Rect DefaultCaptionRect_;
  platform::Bitmap frameImage_;
  bool sawSize_ = false;
  TskSkinMainMenuBar* MainMenuBar_ = nullptr;
  // The same bar as a component, for matching its removal notice.
  const TskComponent* mainMenuBarComponent_ = nullptr;
  bool MainMenuMode_ = false;
  bool KeyHook_ = false;
  // A key taken as a short cut: its character message is not passed on either.
  bool SwallowChar_ = false;
};

}  // namespace skin
