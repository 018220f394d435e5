#include "platform/Shell.h"

#include <spawn.h>
#include <sys/stat.h>
#include <unistd.h>

#include "State.h"

extern char** environ;

namespace platform {

// The default action of a program file is to run it; anything else, or a file
// that is missing or not executable, starts nothing.
bool ShellExecute(Window*, const std::string& file) {
  headless::State& s = headless::GetState();
  s.shellRequests.push_back(file);
  if (!s.shellStarts) return false;
  struct stat st {};
  if (stat(file.c_str(), &st) != 0 || !S_ISREG(st.st_mode) || access(file.c_str(), X_OK) != 0) return false;
  pid_t pid = 0;
  char* argv[] = {const_cast<char*>(file.c_str()), nullptr};
  return posix_spawn(&pid, file.c_str(), nullptr, nullptr, argv, environ) == 0;
}

}  // namespace platform
