#pragma once
// Internals shared by the Win32 backend's files.
#include <windows.h>

#include <exception>

namespace platform::win32 {

// The hidden application window: it carries the task-bar button with the
// application's title and owns every form.
HWND ApplicationWindow();
// A message-only window that receives every timer's WM_TIMER.
HWND TimerWindow();
// Reports an error that escaped a handler the way the application does.
void ReportEscapedError(const std::exception& error);

}  // namespace platform::win32
