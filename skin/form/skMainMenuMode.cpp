// The form component's side of the main menu bar: the system-menu key that
// starts the keyboard menu mode, the keys while the menus own the keyboard,
// accelerators and short cuts, and leaving the mode again.
#include "platform/Application.h"
#include "platform/Input.h"
#include "platform/TrayIcon.h"
#include "skMainMenuBar.h"
#include "skSkinForm.h"

namespace skin {

namespace {
constexpr std::uint8_t kModifiers =
    platform::shiftstate::kShift | platform::shiftstate::kAlt | platform::shiftstate::kCtrl;
}  // namespace

void TskSkinForm::SetMainMenuBar(TskSkinMainMenuBar* bar) {
  MainMenuBar_ = bar;
  mainMenuBarComponent_ = bar;
  FreeNotification(bar);
}

bool TskSkinForm::MainMenuMessage(platform::Message& m) {
  switch (m.msg) {
    case msg::kSysCommand:
      if (m.wParam != msg::kScKeyMenu) return false;
      if (MainMenuMode_) {
        LeaveMainMenuMode();
      } else {
        // An open popup goes, not only its bookkeeping: it would keep the keys.
        if (SkinMenu_.IsOpen) SkinMenu_.CloseAllMenus();
        if (MainMenuBar_) MainMenuBar_->EnterMenuMode();
      }
      // Never passed on, with or without a bar: the platform's own menu mode would start.
      m.result = 0;
      return true;
    case msg::kKeyDown:
    case msg::kSysKeyDown: {
      if (KeyHook_ && m.msg == msg::kKeyDown) {
        MenuKeyDown(std::uint32_t(m.wParam));
        m.result = 0;
        return true;
      }
      bool handled = false;
      FormShortCut(std::uint32_t(m.wParam), platform::KeyboardShiftState(), handled);
      SwallowChar_ = handled;
      if (handled) m.result = 0;
      return handled;
    }
    case platform::msg::kChildKeyDown: {
      // A key in one of the form's controls: the menus' keys while they own the
      // keyboard, else the form's short cuts.
      if (KeyHook_) {
        MenuKeyDown(std::uint32_t(m.wParam));
        m.result = 1;
        return true;
      }
      bool handled = false;
      FormShortCut(std::uint32_t(m.wParam), platform::KeyboardShiftState(), handled);
      m.result = handled ? 1 : 0;
      return handled;
    }
    case msg::kChar:
    case msg::kSysChar:
      // The character of a key taken as a short cut would otherwise start the
      // platform's menu search (Alt+letter) or reach the focused control.
      if (!SwallowChar_) return false;
      SwallowChar_ = false;
      m.result = 0;
      return true;
    default:
      return false;
  }
}

void TskSkinForm::InstallKeyHook() {
  KeyHook_ = true;
  // Through the application the keys come whichever window has the focus;
  // without one the form's own key messages are taken.
  if (keyFilter_ || !platform::Application::Exists()) return;
  keyFilter_ = platform::Application::Instance().AddMessageFilter([this](platform::Message& m) {
    if (m.msg != msg::kKeyDown) return false;
    MenuKeyDown(std::uint32_t(m.wParam));
    m.msg = 0;
    return true;
  });
}

void TskSkinForm::RemoveKeyHook() {
  KeyHook_ = false;
  if (keyFilter_ && platform::Application::Exists()) platform::Application::Instance().RemoveMessageFilter(keyFilter_);
  keyFilter_ = 0;
}

void TskSkinForm::MainMenuMenuClosed() {
  RemoveKeyHook();
  if (!MainMenuMode_) return;
  MainMenuMode_ = false;
  if (MainMenuBar_) MainMenuBar_->LeaveMenuMode();
  if (OnMainMenuExit) OnMainMenuExit(*this);
}

void TskSkinForm::LeaveMainMenuMode() {
  MainMenuMode_ = false;
  if (SkinMenu_.IsOpen) SkinMenu_.CloseAllMenus();
  if (MainMenuBar_) MainMenuBar_->LeaveMenuMode();
  RemoveKeyHook();
  if (OnMainMenuExit) OnMainMenuExit(*this);
}

void TskSkinForm::PopupClosedInMenuMode() {
  MenuOpen_ = false;
  if (MainMenuBar_) MainMenuBar_->ItemPopupClosed();
  if (OnSkinMenuClose) OnSkinMenuClose(*this);
}

void TskSkinForm::FormShortCut(std::uint32_t key, std::uint8_t shift, bool& handled) {
  if (!MainMenuBar_ || !MainMenuBar_->MainMenu()) return;
  platform::Menu& menu = *MainMenuBar_->MainMenu();
  if ((shift & kModifiers) == platform::shiftstate::kAlt && MainMenuBar_->HandleAccelerator(key)) {
    handled = true;
    return;
  }
  handled = menu.IsShortCut(key, shift & kModifiers);
}

void TskSkinForm::MenuKeyDown(std::uint32_t key) {
  namespace vk = platform::vk;
  // The keys of a child belong to its frame's menus while those own the keyboard.
  if (TskSkinForm* frame = FrameComponent();
      frame && (frame->MenuOpen_ || frame->MainMenuMode_ || frame->SkinMenu_.IsOpen)) {
    frame->MenuKeyDown(key);
    return;
  }
  TskSkinMainMenuBar* bar = MainMenuBar_;
  if (MainMenuMode_ && bar && bar->HandleAccelerator(key)) return;
  auto& levels = SkinMenu_.Levels;
  TskSkinPopupWindow* deepest = SkinMenu_.DeepestLevel();
  const auto toLevel = [&] {
    if (!SkinMenu_.IsOpen || !deepest) return;
    deepest->HandleKey(key);
    if (key != vk::kEscape || !levels.empty()) return;
    if (MainMenuMode_) PopupClosedInMenuMode();
    else SkinMenuClosed();
  };
  switch (key) {
    case vk::kEscape:
      if (MainMenuMode_ && !MenuOpen_) {
        LeaveMainMenuMode();
        return;
      }
      break;
    case vk::kLeft:
      if (MainMenuMode_ && bar && levels.size() <= 1) {
        bar->SelectPrevItem();
        return;
      }
      break;
    case vk::kRight: {
      // A hot item with a submenu opens it instead.
      const bool hotOpens = deepest && deepest->HotIndex >= 0 &&
                            deepest->LevelItems[std::size_t(deepest->HotIndex)]->MenuItem.Count() > 0;
      if (MainMenuMode_ && bar && !hotOpens) {
        bar->SelectNextItem();
        return;
      }
      break;
    }
    case vk::kReturn:
      if (bar && bar->PressSelectedItem()) return;
      break;
    case vk::kDown:
      // Down on a selected bar item opens it, as Enter does.
      if (MainMenuMode_ && !MenuOpen_ && bar && bar->PressSelectedItem()) return;
      break;
    default:
      break;
  }
  toLevel();
}

}  // namespace skin
