// The SQL Server providers reach FreeTDS; with no server here, a closed
// loopback port must fail with a clear message instead of hanging.
#include <gtest/gtest.h>

#include <string>

#include "LoopbackPort.h"
#include "db/Database.h"

namespace {

using testing_support::FreeLoopbackPort;

TEST(SqlServerProviders, ClosedPortFailsWithTheServerNamed) {
  const std::string server = "127.0.0.1:" + std::to_string(FreeLoopbackPort());
  for (const char* provider : {"SQLOLEDB.1", "sqloledb", "SQLNCLI11", "MSOLEDBSQL", "MsOleDbSql19"}) {
    SCOPED_TRACE(provider);
    const std::string text = std::string("Provider=") + provider + ";Password=pw;Persist Security Info=False;"
                             "User ID=sa;Initial Catalog=wl;Data Source=127.0.0.1," + server.substr(10);
    try {
      db::Connect(text);
      FAIL() << "connected";
    } catch (const db::Error& e) {
      const std::string message = e.what();
      EXPECT_NE(message.find("Cannot connect to SQL Server \"" + server + "\""), std::string::npos) << message;
      EXPECT_GT(message.size(), server.size() + 40) << "no reason given: " << message;
    }
  }
}

TEST(SqlServerProviders, ProviderLookalikesAreUnknown) {
  for (const char* provider : {"SQLOLEDB.2", "XSQLNCLI", "SQL"}) {
    SCOPED_TRACE(provider);
    try {
      db::Connect(std::string("Provider=") + provider + ";Data Source=127.0.0.1");
      FAIL() << "connected";
    } catch (const db::Error& e) {
      EXPECT_NE(std::string(e.what()).find(std::string("Unknown database provider \"") + provider + "\""),
                std::string::npos)
          << e.what();
    }
  }
}

}  // namespace
