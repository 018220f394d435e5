#include "platform/Shell.h"

#include <windows.h>
#include <shellapi.h>

#include "WinText.h"
#include "platform/Window.h"

// Our function shares its name with a Win32 macro.
#undef ShellExecute

namespace platform {

bool ShellExecute(Window* owner, const std::string& file) {
  HWND hwnd = owner && !owner->Closed() ? static_cast<HWND>(owner->NativeHandle()) : nullptr;
  // Results above 32 mean success.
  return reinterpret_cast<INT_PTR>(ShellExecuteW(hwnd, nullptr, Widen(file).c_str(), nullptr, nullptr,
                                                 SW_SHOWNORMAL)) > 32;
}

}  // namespace platform
