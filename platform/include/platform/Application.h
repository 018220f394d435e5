// The application object: title, message loop, default error report, the path
// of the running program, process-messages.
#pragma once
#include <exception>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace platform {

class Window;
struct Message;

class Application {
 public:
  // Initialises the application (COM for this thread on Win32).
  Application();
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The one instance, while it exists.
  static Application& Instance();
  static bool Exists();

  const std::string& Title() const { return title_; }
  void SetTitle(std::string title);

  // Every window in creation order. The first one created becomes the main
  // window; closing it ends Run().
  const std::vector<Window*>& Forms() const { return forms_; }
  Window* MainForm() const { return forms_.empty() ? nullptr : mainForm_; }

  // Shows the main window and runs the message loop until the main window closes.
  void Run();
  // Lets pending messages (timers, paints, input) run, then returns.
  static void ProcessMessages();
  // Ends the message loop.
  void Terminate();
  bool Terminated() const { return terminated_; }

  // Minimizing hides the forms behind the application's task-bar button;
  // Restore brings them back, and the button when it was hidden.
  void Minimize();
  void Restore();
  bool Minimized() const { return minimized_; }
  // Takes the task-bar button away until the next Restore (hiding in the tray).
  void HideTaskButton();
  bool TaskButtonVisible() const { return taskButton_; }
  // Run each time the application has been minimized, however that happened.
  int AddMinimizeHook(std::function<void()> hook);
  void RemoveMinimizeHook(int id);
  // Backends: the application's minimized state has changed.
  void MinimizedChanged(bool minimized);

  // Every message the loop takes from the queue (the keyboard's among them,
  // whichever window has the focus) passes these first, the newest first; one
  // that returns true keeps the message from its window.
  using MessageFilter = std::function<bool(Message&)>;
  int AddMessageFilter(MessageFilter filter);
  void RemoveMessageFilter(int id);
  // Backends: runs the filters; true when one took the message.
  bool FilterMessage(Message& m);

  // The default error report: a message box with the error's text ("." appended
  // when its last character sorts above "."), captioned with the title, error icon, OK.
  void ShowException(const std::exception& error);
  static std::string ErrorReportText(const std::string& message);

  // Full path of the running executable (UTF-8).
  static std::string ExeName();

 private:
  friend class Window;
  void AddForm(Window* window);
  void RemoveForm(Window* window);
  void PostQuit();  // backend: wake the message loop so that it ends

  std::vector<Window*> forms_;
  Window* mainForm_ = nullptr;
  std::string title_;
  bool terminated_ = false;
  bool minimized_ = false;
  bool taskButton_ = true;
  std::vector<std::pair<int, std::function<void()>>> minimizeHooks_;
  std::vector<std::pair<int, MessageFilter>> messageFilters_;
  int nextHookId_ = 1;
};

}  // namespace platform
