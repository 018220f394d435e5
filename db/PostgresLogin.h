// How an OLE DB connection string maps onto libpq's connection keywords.
#pragma once
#include <string>

#include "ConnectionString.h"

namespace db {

struct PostgresLogin {
  std::string host;      // Data Source, before any ":port" or ",port"
  std::string port;      // empty: libpq's default
  std::string dbname;    // Initial Catalog
  std::string user;      // User ID
  std::string password;  // Password
};

// Data Source = host, host:port or host,port ("[v6addr]:port" for IPv6).
// Throws Error for a port that is not a number.
PostgresLogin MapPostgresLogin(const ConnectionString& settings);

}  // namespace db
