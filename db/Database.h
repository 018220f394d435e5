// Database access: an OLE DB style connection string in, the first row's blob out.
// The connection string's Provider= keyword picks the backend.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Exception.h"

namespace db {

// Every failure of a backend: its message carries the backend's own text.
class Error : public platform::Exception {
 public:
  using platform::Exception::Exception;
};

using Blob = std::vector<std::uint8_t>;

// The blob column of a result's first row. A result without rows and a NULL
// value both leave `value` empty; `rowFound` tells them apart.
struct FirstRow {
  bool rowFound = false;
  std::optional<Blob> value;
};

// An open connection to one database.
class Connection {
 public:
  virtual ~Connection() = default;
  // Runs `sql` and returns the value of column `column` (matched without regard
  // to case) in the first row of its result. Throws Error when the statement
  // fails or the result has no such column.
  virtual FirstRow FirstRowBlob(const std::string& sql, const std::string& column) = 0;
};

// Opens a connection from a connection string (UTF-8). Throws Error when the
// string cannot be parsed, names no provider or an unknown one (the message names
// it), or when the backend cannot connect.
std::unique_ptr<Connection> Connect(const std::string& connectionString);

}  // namespace db
