// The one error type of the system: an exception that carries a message text (UTF-8).
#pragma once
#include <stdexcept>
#include <string>

namespace platform {

class Exception : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

}  // namespace platform
