// TskTrayIcon: one icon in the taskbar's notification area with click,
// double-click and mouse events, a skinned popup menu at the cursor, icon
// cycling through an image list, minimize to tray, and the icon put back when
// the shell's taskbar is re-created.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Bitmap.h"
#include "platform/Timer.h"
#include "platform/TrayIcon.h"
#include "platform/Window.h"
#include "skComponent.h"
#include "skSkinMenus.h"

namespace skin {

using TShiftState = std::uint8_t;  // platform::shiftstate bits

// Icons of one size for IconIndex and cycling.
using TskTrayIconList = std::vector<platform::Bitmap>;

class TskTrayIcon : public TskComponent {
 public:
  // `owner`: the form that holds the component, or nullptr.
  explicit TskTrayIcon(platform::Window* owner = nullptr);
  ~TskTrayIcon() override;

  using TNotifyEvent = std::function<void(TskTrayIcon&)>;
  using TMouseEvent = std::function<void(TskTrayIcon&, TMouseButton, TShiftState, int x, int y)>;
  using TMouseMoveEvent = std::function<void(TskTrayIcon&, TShiftState, int x, int y)>;
  using TskCycleEvent = std::function<void(TskTrayIcon&, int NextIndex)>;

  bool DesignPreview() const { return DesignPreview_; }
  void SetDesignPreview(bool value);
  const TskTrayIconList* IconList() const { return IconList_; }
  void SetIconList(const TskTrayIconList* value);
  bool CycleIcons() const { return CycleIcons_; }
  void SetCycleIcons(bool value);
  std::uint32_t AnimateTimerInterval() const { return AnimateTimer.Interval(); }
  void SetAnimateTimerInterval(std::uint32_t value) { AnimateTimer.SetInterval(value); }
  bool Enabled = true;
  const std::string& Hint() const { return Hint_; }
  void SetHint(const std::string& value);
  bool ShowHint() const { return ShowHint_; }
  void SetShowHint(bool value);
  const platform::Bitmap& Icon() const { return Icon_; }
  void SetIcon(const platform::Bitmap& value);
  bool IconVisible() const { return IconVisible_; }
  void SetIconVisible(bool value);
  int IconIndex() const { return IconIndex_; }
  void SetIconIndex(int value);
  TskSkinPopupMenu* PopupMenu() const { return PopupMenu_; }
  void SetPopupMenu(TskSkinPopupMenu* value);
  bool PopupByLeftButton = false;
  bool MinimizedOnStart = false;
  bool MinimizeToTray = false;

  TNotifyEvent OnClick, OnDblClick;
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TskCycleEvent OnCycle;

  virtual bool UseApplicationIcon() { return true; }
  virtual bool AddIcon();
  virtual bool RemoveIcon();
  virtual bool UpdateIcon();

  // Run once the owner form has been read from its stored data.
  void Loaded();
  void RestoreMainForm();
  void HideMainForm();

  // What the shell's record carries as tooltip now.
  std::string TipText() const;

 protected:
  virtual void DoClick();
  virtual void DoDblClick();
  virtual void DoCycle(int NextIndex);
  virtual void DoMouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void DoMouseMove(TShiftState shift, int x, int y);
  virtual void DoMinimizeToTray();
  void Notification(TskComponent* removed) override;

 private:
  bool HandleMessage(platform::Message& m);
  // The owner form's messages, before the form's own handling.
  void OwnerMessage(const platform::Message& m);
  void HandleMouse(std::uint32_t mouseMessage);
  void ClickTimerTick();
  void CycleTick();
  void OpenMenu();
  // Whether the shell is to be told at all (not while designing without a preview).
  bool ShellInUse() const;

  platform::Window* owner_;
  bool DesignPreview_ = false;
  const TskTrayIconList* IconList_ = nullptr;
  bool CycleIcons_ = false;
  std::string Hint_;
  bool ShowHint_ = true;
  platform::Bitmap Icon_;
  bool IconVisible_ = false;
  int IconIndex_ = 0;
  TskSkinPopupMenu* PopupMenu_ = nullptr;

  bool ClickStarted = false;
  bool ClickReady = false;
  bool DoubleClicked = false;
  bool PreviewChanging = false;
  std::uint32_t TaskbarCreated_;
  platform::TrayIcon tray_;
  platform::Timer AnimateTimer;
  platform::Timer ClickTimer;
  int appHook_ = 0;  // minimizing the application, while MinimizeToTray
  int ownerHook_ = 0;
  // The owner's control that had the focus when the owner lost the activation.
  platform::Window* ActiveControl_ = nullptr;
};

}  // namespace skin
