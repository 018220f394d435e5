// The backends behind db::Connect, each compiled only where its client library is.
#pragma once
#include <memory>
#include <string>

#include "ConnectionString.h"
#include "Database.h"

namespace db {

// Provider=SQLite; Data Source=<database file>. Opens an existing database read-only.
std::unique_ptr<Connection> ConnectSqlite(const ConnectionString& settings);
// Provider=PostgreSQL, through libpq.
std::unique_ptr<Connection> ConnectPostgres(const ConnectionString& settings);
// The SQL Server providers, over TDS with FreeTDS.
std::unique_ptr<Connection> ConnectTds(const ConnectionString& settings);
// Any OLE DB provider through ADO (Windows): the provider gets the string as written.
std::unique_ptr<Connection> ConnectAdo(const std::string& connectionString, const std::string& provider);

// Backend helpers.
// Index of the column named `wanted` (ASCII case ignored) among `count` names, or -1.
template <typename NameAt>
int FindColumn(int count, const std::string& wanted, NameAt nameAt) {
  for (int i = 0; i < count; ++i) {
    const char* name = nameAt(i);
    if (name != nullptr && EqualsNoCase(name, wanted)) return i;
  }
  return -1;
}
// The error for a result without the blob column.
Error NoSuchColumn(const std::string& column);
// True for a TCP port number written in decimal.
bool IsPortNumber(std::string_view text);
// The provider's name for a message, in quotes: cut before a keyword that it ran
// into (a missing ";"), so that no value behind it is repeated.
std::string ProviderForMessage(const std::string& provider);
// A backend's message without its trailing line breaks.
std::string TrimMessage(std::string message);

}  // namespace db
