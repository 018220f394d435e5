#include "platform/Application.h"

#include "Backend.h"
#include "WinText.h"

namespace platform {

void Application::SetTitle(std::string title) {
  title_ = std::move(title);
  SetWindowTextW(win32::ApplicationWindow(), Widen(title_).c_str());
}

}  // namespace platform
