// How an OLE DB connection string for the SQL Server providers maps onto a
// FreeTDS login.
#pragma once
#include <string>

#include "ConnectionString.h"

namespace db {

struct TdsLogin {
  std::string host;      // Data Source before any "\instance" or ",port"
  std::string instance;  // empty: the default instance
  std::string port;      // empty: the instance's port, or 1433
  std::string database;  // Initial Catalog, empty: the login's default database
  std::string user;      // User ID
  std::string password;  // Password
  // Integrated Security=SSPI (or true/yes): the Windows account's Kerberos
  // ticket instead of User ID and Password, which are then ignored as OLE DB does.
  bool integratedSecurity = false;

  // The server as FreeTDS names it: host, host:port or host\instance.
  std::string ServerName() const;
};

// Data Source = server, server,port, server\instance or server\instance,port,
// optionally prefixed "tcp:"; "(local)" and "." stand for this machine.
// Persist Security Info only says whether the provider may keep the password
// after connecting: it changes nothing in the login. Throws Error when no
// server is named or the port is not a number.
TdsLogin MapTdsLogin(const ConnectionString& settings);

}  // namespace db
