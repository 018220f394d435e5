#include "platform/Dialogs.h"

#include <windows.h>

#include "Backend.h"
#include "WinText.h"

// Our function shares its name with a Win32 macro.
#undef MessageBox

namespace platform {

MessageResult MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                         MessageIcon icon) {
  UINT flags = 0;
  switch (buttons) {
    case MessageButtons::Ok: flags = MB_OK; break;
    case MessageButtons::OkCancel: flags = MB_OKCANCEL; break;
    case MessageButtons::YesNo: flags = MB_YESNO; break;
    case MessageButtons::YesNoCancel: flags = MB_YESNOCANCEL; break;
    case MessageButtons::RetryCancel: flags = MB_RETRYCANCEL; break;
    case MessageButtons::AbortRetryIgnore: flags = MB_ABORTRETRYIGNORE; break;
  }
  switch (icon) {
    case MessageIcon::None: break;
    case MessageIcon::Error: flags |= MB_ICONERROR; break;
    case MessageIcon::Warning: flags |= MB_ICONWARNING; break;
    case MessageIcon::Question: flags |= MB_ICONQUESTION; break;
    case MessageIcon::Information: flags |= MB_ICONINFORMATION; break;
  }
  HWND owner = GetActiveWindow();
  if (!owner) owner = win32::ApplicationWindow();
  switch (MessageBoxW(owner, Widen(text).c_str(), Widen(caption).c_str(), flags)) {
    case IDCANCEL: return MessageResult::Cancel;
    case IDYES: return MessageResult::Yes;
    case IDNO: return MessageResult::No;
    case IDRETRY: return MessageResult::Retry;
    case IDABORT: return MessageResult::Abort;
    case IDIGNORE: return MessageResult::Ignore;
    default: return MessageResult::Ok;
  }
}

}  // namespace platform
