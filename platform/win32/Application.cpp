#include "platform/Application.h"

#include <windows.h>
#include <objbase.h>
#include <commctrl.h>

#include "Backend.h"
#include "WinText.h"
#include "platform/Window.h"

namespace platform {

void RegisterApplication(Application* app);

namespace win32 {

namespace {
HWND appWindow = nullptr;
constexpr wchar_t kApplicationClass[] = L"TwApplication";

LRESULT CALLBACK ApplicationProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  // Minimized from code or from its task-bar button: the forms it owns go with it.
  if (msg == WM_SIZE && Application::Exists() && (wParam == SIZE_MINIMIZED || wParam == SIZE_RESTORED)) {
    try {
      Application::Instance().MinimizedChanged(wParam == SIZE_MINIMIZED);
    } catch (const std::exception& e) {
      ReportEscapedError(e);
    }
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}
}  // namespace

HWND ApplicationWindow() {
  if (!appWindow) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ApplicationProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kApplicationClass;
    RegisterClassW(&wc);
    // Zero-sized but visible, so that its title is the task-bar button's text.
    appWindow = CreateWindowExW(0, kApplicationClass, L"", WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
                                GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0,
                                nullptr, nullptr, wc.hInstance, nullptr);
  }
  return appWindow;
}

void ReportEscapedError(const std::exception& error) {
  if (Application::Exists()) Application::Instance().ShowException(error);
}

}  // namespace win32

Application::Application() {
  OleInitialize(nullptr);
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_ANIMATE_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  RegisterApplication(this);
  win32::ApplicationWindow();
}

Application::~Application() {
  RegisterApplication(nullptr);
  OleUninitialize();
}

void Application::Run() {
  Window* main = MainForm();
  if (!main) return;
  ShowWindow(win32::ApplicationWindow(), SW_SHOWNA);
  if (!main->Visible()) main->Show();
  MSG m;
  while (!terminated_ && GetMessageW(&m, nullptr, 0, 0) > 0) {
    Message pm{m.message, m.wParam, m.lParam, 0};
    if (FilterMessage(pm)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

void Application::ProcessMessages() {
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    if (m.message == WM_QUIT) {
      PostQuitMessage(int(m.wParam));  // leave it for the main loop
      break;
    }
    Message pm{m.message, m.wParam, m.lParam, 0};
    if (Exists() && Instance().FilterMessage(pm)) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
}

void Application::PostQuit() { PostQuitMessage(0); }

void Application::Minimize() {
  if (!minimized_) ShowWindow(win32::ApplicationWindow(), SW_MINIMIZE);
}

void Application::Restore() {
  ShowWindow(win32::ApplicationWindow(), SW_RESTORE);
  MinimizedChanged(false);
}

void Application::HideTaskButton() {
  ShowWindow(win32::ApplicationWindow(), SW_HIDE);
  taskButton_ = false;
}

std::string Application::ExeName() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return Narrow(path);
    }
    path.resize(path.size() * 2);
  }
}

}  // namespace platform
