#include "platform/Window.h"

#include <algorithm>

#include "platform/Hints.h"

namespace platform {

int Window::AddMessageHook(MessageHook hook) {
  const int id = nextHookId_++;
  hooks_.emplace_back(id, std::move(hook));
  return id;
}

void Window::RemoveMessageHook(int id) {
  hooks_.erase(std::remove_if(hooks_.begin(), hooks_.end(), [id](const auto& h) { return h.first == id; }),
               hooks_.end());
}

void Window::Dispatch(Message& message) {
  ApplicationHints::WindowMessage(*this, message.msg);
  // A hook may remove itself or others while it runs: walk a snapshot, newest first.
  const auto snapshot = hooks_;
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it)
    if (it->second(*this, message)) return;
  WndProc(message);
}

void Window::AttachToParent(Window& parent) {
  parent_ = &parent;
  parent.children_.push_back(this);
}

void Window::DetachFromParent() {
  if (parent_) std::erase(parent_->children_, this);
  parent_ = nullptr;
}

std::vector<Window*> Window::OrphanChildren() {
  std::vector<Window*> children = std::move(children_);
  children_.clear();
  for (Window* c : children) c->parent_ = nullptr;
  return children;
}

void Window::AttachToMDIFrame(Window& frame) {
  mdiFrame_ = &frame;
  frame.mdiChildren_.push_back(this);
}

void Window::MDIActivate() {
  Window* frame = mdiFrame_;
  if (!frame || frame->activeMDIChild_ == this) return;
  Window* old = frame->activeMDIChild_;
  frame->activeMDIChild_ = this;
  if (old) old->Perform(msg::kNCActivate, 0, 0);
  Perform(msg::kNCActivate, 1, 0);
}

void Window::DetachFromMDIFrame() {
  Window* frame = mdiFrame_;
  if (!frame) return;
  std::erase(frame->mdiChildren_, this);
  mdiFrame_ = nullptr;
  if (frame->activeMDIChild_ != this) return;
  frame->activeMDIChild_ = nullptr;
  for (auto it = frame->mdiChildren_.rbegin(); it != frame->mdiChildren_.rend(); ++it)
    if ((*it)->Visible()) {
      (*it)->MDIActivate();
      break;
    }
}

void Window::OrphanMDIChildren() {
  for (Window* c : mdiChildren_) c->mdiFrame_ = nullptr;
  mdiChildren_.clear();
  activeMDIChild_ = nullptr;
}

}  // namespace platform
