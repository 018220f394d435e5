#include "skSkinPopupMenu.h"

#include <map>

namespace skin {

namespace {
std::map<const platform::Window*, TskSkinMenuHost*>& Hosts() {
  static std::map<const platform::Window*, TskSkinMenuHost*> hosts;
  return hosts;
}
}  // namespace

void RegisterMenuHost(platform::Window& form, TskSkinMenuHost* host) { Hosts()[&form] = host; }
void UnregisterMenuHost(platform::Window& form) { Hosts().erase(&form); }

TskSkinMenuHost* FindMenuHost(const platform::Window* form) {
  if (!form) return nullptr;
  const auto it = Hosts().find(form);
  return it == Hosts().end() ? nullptr : it->second;
}

void TskSkinPopupMenu::SetSkinData(TskSkinData* value) {
  SkinData_ = value;
  if (value) FreeNotification(value);
}

void TskSkinPopupMenu::Notification(TskComponent* removed) {
  if (removed == SkinData_) SkinData_ = nullptr;
}

void TskSkinPopupMenu::PopupAt(const Rect& rect, bool popupToUp) {
  if (OnPopup) OnPopup(*this);
  TskSkinMenuHost* host = FindMenuHost(HostForm ? HostForm : OwnerForm);
  if (!host) return;
  if (!SkinData_) SetSkinData(host->MenusSkinData() ? host->MenusSkinData() : host->SkinData());
  host->MenuOpening();
  host->SkinMenu().ShowMenu(nullptr, SkinData_, 0, rect, Items, popupToUp);
}

void TskSkinPopupMenu::Popup(int x, int y) { PopupAt({x, y, x, y}, false); }

void SkinPopupInRect(TskSkinPopupMenu& menu, const Rect& rect, bool popupToUp) { menu.PopupAt(rect, popupToUp); }

}  // namespace skin
