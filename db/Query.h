// The package query: a data set opened once from a connection string, standing
// on the first row of its result, whose blob field can be saved to a file.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "Database.h"

namespace db {

class Query {
 public:
  void SetConnectionString(std::string connectionString) { connectionString_ = std::move(connectionString); }
  const std::string& ConnectionString() const { return connectionString_; }
  void SetSQL(std::string sql) { sql_ = std::move(sql); }
  // The blob field bound at open: the result must have this column.
  void SetBlobField(std::string column) { column_ = std::move(column); }

  // Runs just before the connection is made (it may set the connection string).
  std::function<void(Query&)> BeforeOpen;

  // Connects, runs the SQL text, stands on the first row and reads its blob.
  // Throws Error (the backend's message) when any of that fails; the query then stays closed.
  void Open();
  bool Active() const { return active_; }
  // An open query whose result has no row at all, and one standing on a row whose
  // blob is NULL: both save as zero bytes, but they are different findings.
  bool IsEmpty() const { return active_ && !row_.rowFound; }
  bool BlobIsNull() const { return active_ && row_.rowFound && !row_.value; }

  // Writes the current row's blob to `path`, creating or replacing the file. A
  // closed query, an empty result and a NULL value all give a file of zero bytes.
  // The file appears whole or not at all; throws platform::Exception when it cannot be written.
  void SaveBlobToFile(const std::string& path) const;

 private:
  std::string connectionString_, sql_, column_;
  FirstRow row_;
  bool active_ = false;
};

}  // namespace db
