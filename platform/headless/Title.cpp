#include "platform/Application.h"

namespace platform {

void Application::SetTitle(std::string title) { title_ = std::move(title); }

}  // namespace platform
