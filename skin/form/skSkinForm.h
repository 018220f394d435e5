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
#include "platform/Menu.h"
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
class TskTrayIcon;

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

  // Window behaviours: maximize, minimize to a caption strip, roll-up, tray,
  // magnetic edges, translucency and the skinned system menu.
  bool MaximizeOnFullScreen = false;
  bool AlphaBlend() const { return AlphaBlend_; }
  void SetAlphaBlend(bool value);
  bool AlphaBlendAnimation = false;
  std::uint8_t AlphaBlendValue() const { return AlphaBlendValue_; }
  void SetAlphaBlendValue(std::uint8_t value);
  bool Magnetic = false;
  std::uint8_t MagneticSize = 5;
  bool UseDefaultSysMenu = true;
  TskSkinPopupMenu* SystemMenu() const { return SystemMenu_; }
  void SetSystemMenu(TskSkinPopupMenu* menu);
  TskTrayIcon* TrayIcon() const { return TrayIcon_; }
  void SetTrayIcon(TskTrayIcon* icon);
  bool MenusAlphaBlend() const { return SkinMenu_.BlendOn; }
  void SetMenusAlphaBlend(bool value) { SkinMenu_.BlendOn = value; }
  bool MenusAlphaBlendAnimation() const { return SkinMenu_.BlendAnimation; }
  void SetMenusAlphaBlendAnimation(bool value) { SkinMenu_.BlendAnimation = value; }
  std::uint8_t MenusAlphaBlendValue() const { return MenusAlphaBlendValue_; }
  void SetMenusAlphaBlendValue(std::uint8_t value);

  // Events: the object's section name, window coordinates and rectangle.
  std::function<void(TskSkinForm&)> OnChangeSkinData, OnActivate, OnDeActivate;
  // A skinned popup opened by the frame shows, and it closed.
  std::function<void(TskSkinForm&)> OnSkinMenuOpen, OnSkinMenuClose;
  std::function<void(TskSkinForm&)> OnChangeRollUpState, OnMinimizeToTray, OnRestoreFromTray;
  std::function<void(TskSkinForm&, const std::string&, int, int, const Rect&, TMouseButton)> OnMouseUpEvent,
      OnMouseDownEvent;
  std::function<void(TskSkinForm&, const std::string&, int, int, const Rect&)> OnMouseMoveEvent;
  std::function<void(TskSkinForm&, const std::string&)> OnMouseEnterEvent, OnMouseLeaveEvent;
  std::function<void(TskSkinForm&, const std::string&, platform::Bitmap&, const Rect&)> OnPaintEvent;

  // State.
  bool SkinActive() const { return SkinActive_; }
  bool IsFormActive() const { return FormActive_; }
  TWindowState SkinWindowState() const { return SkinWindowState_; }
  void SetSkinWindowState(TWindowState state);
  bool RolledUp() const { return RolledUp_; }
  bool RolledUpMaximized() const { return RolledUpMaximized_; }
  void SetRollUp(bool rolledUp);
  // The normal bounds kept while minimized or maximized (empty: none).
  const Rect& RestoreBounds() const { return RestoreBounds_; }
  bool MenuOpen() const { return MenuOpen_; }
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
  // msg::kNCPaint: the frame into FrameImage, then onto the screen (the form's
  // PresentFrame).
  void PaintFrame();
  // The frame picture for the current state and size, painted afresh (empty
  // when the frame is not drawn or is below its minimum size).
  platform::Bitmap PaintFrameImage();
  // The part of the frame picture the form's client area covers.
  Rect FrameClientRect() const;
  void PaintSkinnedFrame(platform::Bitmap& image);
  void PaintDefaultFrame(platform::Bitmap& image);
  // msg::kEraseBackground: the client background, client-sized.
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
  void MinimizeFrame();
  void MaximizeFrame();
  void RestoreFrame();
  // Where a minimized frame goes: the first free caption-strip slot along the
  // bottom of the work area (an MDI child: of its frame's client area), left to
  // right, then rows upwards.
  Point FindMinimizedSlot() const;
  // MDI: the part of the frame's client area the aligned controls leave free, in
  // the frame's client coordinates (for a child: of its frame; empty without one).
  Rect MDIClientArea() const;
  bool IsMDIChild() const { return owner_.Style() == platform::FormStyle::MDIChild; }
  bool IsMDIForm() const { return owner_.Style() == platform::FormStyle::MDIForm; }
  // An MDI frame showing a maximized child's caption and buttons.
  bool ChildMaximized() const { return ChildMaximized_; }
  // An MDI frame's maximized child (the active one first), or nullptr.
  TskSkinForm* MaximizedMDIChild() const;
  // The text the caption shows: an MDI frame adds its maximized child's caption.
  std::string CaptionText() const;
  // The child's item in its frame's window menu.
  void AddChildItem();
  void RemoveChildItem();
  void RenameChildItem();
  void CheckActiveChildItem();
  void ChildItemClick(platform::MenuItem& item);
  // An MDI frame: the maximized children fill the client area again, the
  // minimized ones go back to their slots.
  void RefitChildren();
  void MinimizeToTray();
  void RestoreFromTray();
  // Pulls a frame at L, T of W x H onto the work-area edges within MagneticSize.
  void SnapToEdges(int& L, int& T, int W, int H) const;
  // The largest size the frame may be dragged to: the work area's, or the screen's.
  Point MaxTrackSize() const;
  platform::MenuItem& GetSystemMenuItems();
  void MergeSystemMenu();
  void BuildDefaultSystemMenu();
  void PopupSystemMenu(int x, int y);
  // The system menu against an object of the frame (window coordinates).
  void TrackSystemMenu(const Rect& objectRect);
  // The menu the tray icon gets.
  TskSkinPopupMenu& TrayMenu() { return TrayMenu_; }
  // The component skinning a form, or nullptr.
  static TskSkinForm* FindFormComponent(const platform::Window* form);

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
  void InstallKeyHook();
  void RemoveKeyHook();
  bool KeyHookInstalled() const { return KeyHook_; }

 protected:
  void Notification(TskComponent* removed) override;

 private:
  bool SkinWindowProc(platform::Message& m);
  // Whatever closes menus also ends the menu mode, or closes the open menus.
  void CloseMenusOnMessage();
  // The MDI messages between a frame and its children.
  void MDIMessage(const platform::Message& m);
  // The frame's component for an MDI child, or nullptr.
  TskSkinForm* FrameComponent() const;
  void SendToFrame(std::uint32_t message) const;
  bool HandleMessage(platform::Message& m);
  void RouteMouse(const platform::Message& m);
  // Whether the cursor at `screen` is over this window (a child: over its part of the frame).
  bool OverThisWindow(Point screen) const;
  void HoverTick();
  void MorphTick();
  void NudgeWidth();
  // Gives the form new bounds; a backend that does not report the size change
  // itself gets msg::kSize from here.
  void ResizeForm(const Rect& bounds);
  int FormWidth() const { return owner_.BoundsRect().Width(); }
  int FormHeight() const { return owner_.BoundsRect().Height(); }
  bool Sizable() const { return owner_.GetBorderStyle() == platform::BorderStyle::Sizeable; }
  // A loaded skin whose frame picture holds its geometry (else the plain frame).
  bool UsableSkin() const { return SkinData_ && !SkinData_->Empty && FramePictureFits(*SkinData_); }
  void RemoveRegion();
  // The menu-mode parts of the message handling.
  bool MainMenuMessage(platform::Message& m);
  void MainMenuMenuClosed();
  bool IsMainForm() const;
  // Behaviour parts of the message handling.
  // True when the message is the frame's alone.
  bool CaptionMouse(const platform::Message& m);
  // The window-state commands go through the frame's own state.
  bool SystemCommand(std::uintptr_t command);
  void Moving(Rect& proposed) const;
  void StartFadeIn();
  void FadeIn();
  void WindowHidden();
  bool LayeredFade() const;
  void AddSystemItem(platform::MenuItem& parent, int index, const char* name);
  bool SystemItemShown(const char* name) const;
  // Takes this component's items out of SystemMenu (once merged into it).
  void RemoveSystemItems();
  void BuildTrayMenu();
  void ShowSystemMenu(const Rect& screenRect);

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
  bool ChildMaximized_ = false;
  TWindowState SkinWindowState_ = TWindowState::wsNormal;
  bool RolledUp_ = false;
  Rect RestoreBounds_;
  int RollUpHeight_ = 0;
  bool RolledUpMaximized_ = false;
  bool AlphaBlend_ = false;
  std::uint8_t AlphaBlendValue_ = 200;
  std::uint8_t MenusAlphaBlendValue_ = 200;
  TskSkinPopupMenu* SystemMenu_ = nullptr;
  bool systemMenuMerged_ = false;  // SystemMenu holds items of this component
  TskTrayIcon* TrayIcon_ = nullptr;
  bool trayHandlesSet_ = false;  // the tray icon's menu and double click are ours
  platform::Menu InternalSysMenu;
  TskSkinPopupMenu TrayMenu_;
  platform::Timer FadeTimer;
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
  int keyFilter_ = 0;  // the key hook's application message filter, 0 for none
  // A key taken as a short cut: its character message is not passed on either.
  bool SwallowChar_ = false;
};

}  // namespace skin
