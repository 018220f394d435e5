// The MDI side of the skinned form: the client area the children live in, the
// maximized child shown through its frame (caption and menu-bar buttons), and
// the children's items in the frame's window menu.
#include <algorithm>
#include <string_view>

#include "skMainMenuBar.h"
#include "skSkinForm.h"

namespace skin {

namespace {
// The child name an item of the window list stands for; empty for the divider
// and for items that are not the list's.
std::string ChildNameOf(const platform::MenuItem& item) {
  const std::string& n = item.Name;
  const auto at = n.find(SKF_CHILDITEM);
  if (at == std::string::npos || n.find("DIVIDER") != std::string::npos) return {};
  return n.substr(0, at) + n.substr(at + std::string_view(SKF_CHILDITEM).size());
}

int FindItem(const platform::MenuItem& menu, const std::string& name) {
  for (int i = 0; i < menu.Count(); ++i)
    if (menu[i].Name == name) return i;
  return -1;
}

bool HasChildItems(const platform::MenuItem& menu) {
  for (int i = 0; i < menu.Count(); ++i)
    if (!ChildNameOf(menu[i]).empty()) return true;
  return false;
}
}  // namespace

TskSkinForm* TskSkinForm::FrameComponent() const {
  return IsMDIChild() ? FindFormComponent(owner_.MDIFrame()) : nullptr;
}

void TskSkinForm::SendToFrame(std::uint32_t message) const {
  if (platform::Window* frame = owner_.MDIFrame()) frame->Perform(message, 0, 0);
}

Rect TskSkinForm::MDIClientArea() const {
  const platform::Window* frame = IsMDIChild() ? owner_.MDIFrame() : &owner_;
  if (!frame) return {};
  const Point client = frame->ClientSize();
  Rect r{0, 0, client.x, client.y};
  for (const platform::Window* c : frame->Children()) {
    if (!c->Visible()) continue;
    const Rect b = c->BoundsRect();
    switch (c->Align) {
      case platform::ControlAlign::Left: r.left = std::max(r.left, b.right); break;
      case platform::ControlAlign::Top: r.top = std::max(r.top, b.bottom); break;
      case platform::ControlAlign::Right: r.right = std::min(r.right, b.left); break;
      case platform::ControlAlign::Bottom: r.bottom = std::min(r.bottom, b.top); break;
      case platform::ControlAlign::None: break;
    }
  }
  return r;
}

TskSkinForm* TskSkinForm::MaximizedMDIChild() const {
  if (!IsMDIForm()) return nullptr;
  auto maximized = [](const platform::Window* w) {
    TskSkinForm* c = w ? FindFormComponent(w) : nullptr;
    return c && c->SkinWindowState() == TWindowState::wsMaximized ? c : nullptr;
  };
  if (TskSkinForm* active = maximized(owner_.ActiveMDIChild())) return active;
  for (const platform::Window* w : owner_.MDIChildren())
    if (TskSkinForm* c = maximized(w)) return c;
  return nullptr;
}

std::string TskSkinForm::CaptionText() const {
  std::string text = owner_.Caption();
  if (ChildMaximized_)
    if (const TskSkinForm* child = MaximizedMDIChild())
      text += " - [" + child->OwnerForm().Caption() + "]";
  return text;
}

void TskSkinForm::MDIMessage(const platform::Message& m) {
  switch (m.msg) {
    case SKM_MDICHILDREFIT:
      if (IsMDIChild() && SkinWindowState_ == TWindowState::wsMaximized) ResizeForm(MDIClientArea());
      break;
    case SKM_MDICHILDMAXIMIZED:
      if (!IsMDIForm()) break;
      ChildMaximized_ = true;
      SendNCPaint();
      if (TskSkinForm* child = MaximizedMDIChild(); child && MainMenuBar_) MainMenuBar_->ShowChildButtons(*child);
      break;
    case SKM_MDICHILDRESTORED: {
      if (!IsMDIForm()) break;
      TskSkinForm* still = MaximizedMDIChild();
      ChildMaximized_ = still != nullptr;
      SendNCPaint();
      if (MainMenuBar_) MainMenuBar_->HideChildButtons(still);
      break;
    }
    default: break;
  }
}

void TskSkinForm::RefitChildren() {
  if (!IsMDIForm()) return;
  // A copy: refitting runs the children's handlers, which may close one.
  const std::vector<platform::Window*> children = owner_.MDIChildren();
  for (platform::Window* c : children) c->Perform(SKM_MDICHILDREFIT, 0, 0);
  for (platform::Window* c : children) {
    TskSkinForm* child = FindFormComponent(c);
    if (!child || child->SkinWindowState() != TWindowState::wsMinimized) continue;
    const Point p = child->FindMinimizedSlot();
    c->SetPosition(p.x, p.y);
  }
}

// --- the window list ---

void TskSkinForm::AddChildItem() {
  platform::Window* frame = owner_.MDIFrame();
  if (!frame || !FrameComponent() || !frame->WindowMenu) return;
  platform::MenuItem& menu = *frame->WindowMenu;
  const std::string name = owner_.Name + SKF_CHILDITEM;
  if (FindItem(menu, name) >= 0) return;  // shown again while listed
  // The divider goes with the first child listed, however many exist already.
  if (FindItem(menu, DIVIDER_SKFCHILDITEM) < 0) menu.Add("-").Name = DIVIDER_SKFCHILDITEM;
  menu.Add(owner_.Caption(), [this](platform::MenuItem& item) { ChildItemClick(item); }).Name = name;
}

void TskSkinForm::RemoveChildItem() {
  platform::Window* frame = owner_.MDIFrame();
  if (!frame || !frame->WindowMenu) return;
  platform::MenuItem& menu = *frame->WindowMenu;
  const int i = FindItem(menu, owner_.Name + SKF_CHILDITEM);
  if (i < 0) return;
  menu.Delete(i);
  // The divider goes with the last child listed.
  if (HasChildItems(menu)) return;
  for (int d = 0; d < menu.Count(); ++d)
    if (menu[d].Name.find(SKF_CHILDITEM) != std::string::npos && menu[d].Name.find("DIVIDER") != std::string::npos) {
      menu.Delete(d);
      break;
    }
}

void TskSkinForm::RenameChildItem() {
  platform::Window* frame = owner_.MDIFrame();
  if (!frame || !frame->WindowMenu) return;
  platform::MenuItem& menu = *frame->WindowMenu;
  for (int i = 0; i < menu.Count(); ++i)
    if (ChildNameOf(menu[i]) == owner_.Name) menu[i].Caption = owner_.Caption();
}

void TskSkinForm::CheckActiveChildItem() {
  platform::Window* frame = owner_.MDIFrame();
  if (!frame || !frame->WindowMenu) return;
  const platform::Window* active = frame->ActiveMDIChild();
  platform::MenuItem& menu = *frame->WindowMenu;
  for (int i = 0; i < menu.Count(); ++i) {
    const std::string child = ChildNameOf(menu[i]);
    if (!child.empty()) menu[i].Checked = active && child == active->Name;
  }
}

void TskSkinForm::ChildItemClick(platform::MenuItem& item) {
  platform::Window* frame = owner_.MDIFrame();
  if (!frame) return;
  const std::string name = ChildNameOf(item);
  const std::vector<platform::Window*> children = frame->MDIChildren();
  for (platform::Window* c : children) {
    if (c->Name != name) continue;
    if (TskSkinForm* child = FindFormComponent(c); child && child->SkinWindowState() == TWindowState::wsMinimized)
      child->SetSkinWindowState(TWindowState::wsNormal);
    c->Show();
  }
}

}  // namespace skin
