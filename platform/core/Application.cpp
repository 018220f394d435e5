#include "platform/Application.h"

#include <algorithm>

#include "platform/Dialogs.h"
#include "platform/Exception.h"
#include "platform/Window.h"

namespace platform {

namespace {
Application* instance = nullptr;
}

Application& Application::Instance() {
  if (!instance) throw Exception("no application object exists");
  return *instance;
}

bool Application::Exists() { return instance != nullptr; }

int Application::AddMinimizeHook(std::function<void()> hook) {
  minimizeHooks_.emplace_back(nextHookId_, std::move(hook));
  return nextHookId_++;
}

void Application::RemoveMinimizeHook(int id) {
  std::erase_if(minimizeHooks_, [id](const auto& h) { return h.first == id; });
}

void Application::MinimizedChanged(bool minimized) {
  const bool was = minimized_;
  minimized_ = minimized;
  if (!minimized) taskButton_ = true;
  if (!minimized || was) return;
  // A hook may remove itself (or another) while it runs.
  const auto hooks = minimizeHooks_;
  for (const auto& entry : hooks) {
    const int id = entry.first;
    if (std::any_of(minimizeHooks_.begin(), minimizeHooks_.end(), [id](const auto& h) { return h.first == id; }))
      entry.second();
  }
}

int Application::AddMessageFilter(MessageFilter filter) {
  messageFilters_.emplace_back(nextHookId_, std::move(filter));
  return nextHookId_++;
}

void Application::RemoveMessageFilter(int id) {
  std::erase_if(messageFilters_, [id](const auto& f) { return f.first == id; });
}

bool Application::FilterMessage(Message& m) {
  // A filter may remove itself (or another) while it runs.
  const auto filters = messageFilters_;
  for (auto it = filters.rbegin(); it != filters.rend(); ++it) {
    const int id = it->first;
    if (std::any_of(messageFilters_.begin(), messageFilters_.end(), [id](const auto& f) { return f.first == id; }) &&
        it->second(m))
      return true;
  }
  return false;
}

void Application::AddForm(Window* window) {
  if (forms_.empty()) mainForm_ = window;
  forms_.push_back(window);
}

void Application::RemoveForm(Window* window) {
  forms_.erase(std::remove(forms_.begin(), forms_.end(), window), forms_.end());
  if (mainForm_ == window) mainForm_ = nullptr;
}

std::string Application::ErrorReportText(const std::string& message) {
  if (message.empty()) return message;
  // Compare the first byte of the last character: UTF-8 trail bytes are 10xxxxxx.
  std::size_t last = message.size() - 1;
  while (last > 0 && (static_cast<unsigned char>(message[last]) & 0xC0) == 0x80) --last;
  return static_cast<unsigned char>(message[last]) > '.' ? message + "." : message;
}

void Application::ShowException(const std::exception& error) {
  MessageBox(ErrorReportText(error.what()), title_, MessageButtons::Ok, MessageIcon::Error);
}

void Application::Terminate() {
  terminated_ = true;
  PostQuit();
}

// Backends call these from their constructor and destructor.
void RegisterApplication(Application* app) { instance = app; }

}  // namespace platform
