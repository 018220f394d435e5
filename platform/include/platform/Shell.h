// Starting programs the way the shell does.
#pragma once
#include <string>

namespace platform {

class Window;

// Opens `file` with its default action, no parameters, no working folder (the
// program inherits ours), shown normally. Returns false when nothing was started;
// never throws.
bool ShellExecute(Window* owner, const std::string& file);

}  // namespace platform
