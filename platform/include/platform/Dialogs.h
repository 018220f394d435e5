// Modal message boxes. On Win32 these are the system's boxes (their modal loop
// keeps delivering timer messages); the headless backend prints the box to
// stderr and answers with the reply a test has queued, or the default button.
#pragma once
#include <string>

namespace platform {

enum class MessageIcon { None, Error, Warning, Question, Information };
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class MessageResult { Ok, Cancel, Yes, No, Retry, Abort, Ignore };

MessageResult MessageBox(const std::string& text, const std::string& caption,
                         MessageButtons buttons = MessageButtons::Ok,
                         MessageIcon icon = MessageIcon::None);

}  // namespace platform
