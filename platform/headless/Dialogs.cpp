#include "platform/Dialogs.h"

#include <cstdio>

#include "State.h"

namespace platform {

namespace {
MessageResult FirstButton(MessageButtons buttons) {
  switch (buttons) {
    case MessageButtons::Ok:
    case MessageButtons::OkCancel: return MessageResult::Ok;
    case MessageButtons::YesNo:
    case MessageButtons::YesNoCancel: return MessageResult::Yes;
    case MessageButtons::RetryCancel: return MessageResult::Retry;
    case MessageButtons::AbortRetryIgnore: return MessageResult::Abort;
  }
  return MessageResult::Ok;
}
}  // namespace

MessageResult MessageBox(const std::string& text, const std::string& caption, MessageButtons buttons,
                         MessageIcon icon) {
  headless::State& s = headless::GetState();
  s.boxes.push_back({text, caption, buttons, icon});
  if (s.echo) std::fprintf(stderr, "[%s] %s\n", caption.c_str(), text.c_str());
  if (s.replies.empty()) return FirstButton(buttons);
  const MessageResult reply = s.replies.front();
  s.replies.pop_front();
  return reply;
}

}  // namespace platform
