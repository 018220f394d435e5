// TskSkinPopupMenu: a popup menu component that shows through the menu
// controller of the skinned form that hosts it, found through the registry of
// menu hosts.
#pragma once
#include <functional>

#include "platform/Menu.h"
#include "platform/Window.h"
#include "skComponent.h"
#include "skSkinData.h"
#include "skSkinMenu.h"

namespace skin {

// Where a skinned frame keeps its menu controller: TskSkinPopupMenu finds it
// through the form that hosts (or owns) the menu.
class TskSkinMenuHost {
 public:
  virtual ~TskSkinMenuHost() = default;
  virtual TskSkinMenu& SkinMenu() = 0;
  virtual TskSkinData* MenusSkinData() const = 0;
  virtual TskSkinData* SkinData() const = 0;
  // The frame's menu-opening step, run before a popup menu shows.
  virtual void MenuOpening() {}
};
void RegisterMenuHost(platform::Window& form, TskSkinMenuHost* host);
void UnregisterMenuHost(platform::Window& form);
TskSkinMenuHost* FindMenuHost(const platform::Window* form);

class TskSkinPopupMenu : public platform::Menu, public TskComponent {
 public:
  // `ownerForm`: the form that holds the component, or nullptr.
  explicit TskSkinPopupMenu(platform::Window* ownerForm = nullptr) : OwnerForm(ownerForm) {}

  TskSkinData* SkinData() const { return SkinData_; }
  void SetSkinData(TskSkinData* value);
  platform::Window* HostForm = nullptr;
  platform::Window* OwnerForm;
  std::function<void(TskSkinPopupMenu&)> OnPopup;
  // Whether the component the menu is attached to (a tray icon) opens it by
  // itself; off, the menu only opens when the program calls Popup.
  bool AutoPopup = true;
  // The component that opened the menu last.
  TskComponent* PopupComponent = nullptr;

  // Shows the items at a screen point through the host form's SkinMenu.
  void Popup(int x, int y);

 protected:
  void Notification(TskComponent* removed) override;

 private:
  friend void SkinPopupInRect(TskSkinPopupMenu& menu, const Rect& rect, bool popupToUp);
  void PopupAt(const Rect& rect, bool popupToUp);
  TskSkinData* SkinData_ = nullptr;
};

void SkinPopupInRect(TskSkinPopupMenu& menu, const Rect& rect, bool popupToUp);

}  // namespace skin
