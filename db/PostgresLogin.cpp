#include "PostgresLogin.h"

#include <optional>

#include "Backends.h"

namespace db {

PostgresLogin MapPostgresLogin(const ConnectionString& settings) {
  PostgresLogin login;
  const std::string source = settings.Value("Data Source");
  std::optional<std::string> port;
  if (!source.empty() && source.front() == '[') {  // [v6addr] or [v6addr]:port
    const std::size_t close = source.find(']');
    const std::string rest = close == std::string::npos ? "" : source.substr(close + 1);
    if (close == std::string::npos || (!rest.empty() && rest.front() != ':' && rest.front() != ',')) {
      throw Error("The Data Source \"" + source + "\" is not a valid server address");
    }
    login.host = source.substr(1, close - 1);
    if (!rest.empty()) port = rest.substr(1);
  } else {
    const std::size_t split = source.find_last_of(",:");
    login.host = source.substr(0, split);
    if (split != std::string::npos) port = source.substr(split + 1);
  }
  if (port && !IsPortNumber(*port)) throw Error("The Data Source \"" + source + "\" has no valid port");
  login.port = port.value_or("");
  login.dbname = settings.Value("Initial Catalog");
  login.user = settings.Value("User ID");
  login.password = settings.Value("Password");
  return login;
}

}  // namespace db
