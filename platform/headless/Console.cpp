#include "platform/Console.h"

#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace platform {

std::optional<std::string> ReadSecret(const std::string& prompt) {
  // The terminal itself, not standard input, which may carry data.
  const int tty = ::open("/dev/tty", O_RDWR | O_NOCTTY);
  if (tty < 0) return std::nullopt;
  termios saved{};
  const bool canHide = ::tcgetattr(tty, &saved) == 0;
  if (canHide) {
    termios quiet = saved;
    quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    ::tcsetattr(tty, TCSANOW, &quiet);
  }
  (void)!::write(tty, prompt.data(), prompt.size());
  std::string line;
  char c = 0;
  ssize_t got = 0;
  while ((got = ::read(tty, &c, 1)) == 1 && c != '\n') line += c;
  if (canHide) ::tcsetattr(tty, TCSANOW, &saved);
  (void)!::write(tty, "\n", 1);
  ::close(tty);
  if (got != 1 && line.empty()) return std::nullopt;  // the terminal closed
  return line;
}

void StdoutToBinary() {}

}  // namespace platform
