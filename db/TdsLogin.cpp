#include "TdsLogin.h"

#include "Backends.h"

namespace db {
namespace {

bool IsThisMachine(const std::string& host) { return host == "." || EqualsNoCase(host, "(local)"); }

}  // namespace

std::string TdsLogin::ServerName() const {
  if (!port.empty()) return host + ":" + port;
  if (!instance.empty()) return host + "\\" + instance;
  return host;
}

TdsLogin MapTdsLogin(const ConnectionString& settings) {
  TdsLogin login;
  const std::string source = settings.Value("Data Source");
  std::string rest = source;
  if (rest.size() >= 4 && EqualsNoCase(rest.substr(0, 4), "tcp:")) rest.erase(0, 4);
  if (const std::size_t comma = rest.find(','); comma != std::string::npos) {
    login.port = rest.substr(comma + 1);
    rest.erase(comma);
    if (!IsPortNumber(login.port)) throw Error("The Data Source \"" + source + "\" has no valid port");
  }
  if (const std::size_t slash = rest.find('\\'); slash != std::string::npos) {
    login.instance = rest.substr(slash + 1);
    rest.erase(slash);
  }
  login.host = IsThisMachine(rest) ? "localhost" : rest;
  if (login.host.empty()) throw Error("The connection string names no SQL Server (Data Source=)");
  login.database = settings.Value("Initial Catalog");
  login.integratedSecurity = IsTrueValue(settings.Value("Integrated Security"));
  if (!login.integratedSecurity) {
    login.user = settings.Value("User ID");
    login.password = settings.Value("Password");
  }
  return login;
}

}  // namespace db
