#include "platform/Application.h"

#include <unistd.h>

#include <chrono>
#include <thread>

#include "State.h"
#include "platform/Window.h"

namespace platform {

void RegisterApplication(Application* app);

Application::Application() { RegisterApplication(this); }
Application::~Application() { RegisterApplication(nullptr); }

void Application::Run() {
  Window* main = MainForm();
  if (main && !main->Visible()) main->Show();
  // Nothing but timers can make anything happen here: wait for each in turn.
  // With no timer left the loop would wait for ever, so it ends instead.
  while (!terminated_ && MainForm() && !MainForm()->Closed()) {
    const std::uint64_t due = headless::NextDue();
    if (due == UINT64_MAX) break;
    if (!headless::GetState().virtualClock) {
      const std::uint64_t now = headless::NowMs();
      if (due > now) std::this_thread::sleep_for(std::chrono::milliseconds(due - now));
    }
    headless::FireNextDue(headless::GetState().virtualClock ? due : headless::NowMs());
  }
}

void Application::ProcessMessages() {
  headless::State& s = headless::GetState();
  const std::uint64_t now = headless::NowMs();
  // Only what is due now; each timer at most once, as a queue pass would.
  for (int guard = int(s.timers.size()); guard > 0 && headless::FireNextDue(now); --guard) {
  }
}

void Application::PostQuit() {}

void Application::Minimize() {
  if (minimized_) return;
  // The forms go out of sight with the application, as owned windows do on a desktop.
  auto& hidden = headless::GetState().minimizedForms;
  for (Window* w : forms_)
    if (w->Visible()) {
      hidden.push_back(w);
      w->Hide();
    }
  MinimizedChanged(true);
}

void Application::Restore() {
  if (!minimized_ && taskButton_) return;
  MinimizedChanged(false);
  const std::vector<Window*> hidden = std::move(headless::GetState().minimizedForms);
  headless::GetState().minimizedForms.clear();
  for (Window* w : hidden) w->Show();
}

void Application::HideTaskButton() { taskButton_ = false; }

std::string Application::ExeName() {
  const std::string& pretend = headless::GetState().exeName;
  if (!pretend.empty()) return pretend;
  char buffer[4096];
  const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  return n > 0 ? std::string(buffer, std::size_t(n)) : std::string();
}

}  // namespace platform
