// Windows builds: every provider but SQLite goes to ADO, whose failures come
// back as db::Error naming the provider.
#include <gtest/gtest.h>

#include <string>

#include "db/Database.h"

namespace {

TEST(AdoProviders, UnknownProviderFailsWithAMessageNamingIt) {
  for (const char* provider : {"NoSuchProvider.1", "PostgreSQL"}) {
    SCOPED_TRACE(provider);
    try {
      db::Connect(std::string("Provider=") + provider + ";Data Source=127.0.0.1;User ID=sa;Password=pw");
      FAIL() << "connected";
    } catch (const db::Error& e) {
      const std::string message = e.what();
      const std::string named = std::string("OLE DB provider \"") + provider + "\": ";
      const std::size_t at = message.find(named);
      EXPECT_NE(at, std::string::npos) << message;
      // And the reason after it.
      EXPECT_GT(message.size(), at + named.size()) << message;
    }
  }
}

// The ODBC bridge is there, the data source is not: the open fails with a
// message that names the provider instead of reading an empty package.
TEST(AdoProviders, MissingOdbcDataSourceFailsWithAMessageNamingTheProvider) {
  try {
    db::Connect("Provider=MSDASQL.1;Persist Security Info=False;Data Source=TarnwickNoSuchDataSource");
    FAIL() << "connected";
  } catch (const db::Error& e) {
    EXPECT_NE(std::string(e.what()).find("MSDASQL.1"), std::string::npos) << e.what();
  }
}

}  // namespace
