// OLE DB keywords onto the PostgreSQL and FreeTDS logins.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "db/Database.h"
#include "db/PostgresLogin.h"
#include "db/TdsLogin.h"

namespace {

struct TdsCase {
  const char* name;
  std::string text;
  std::string serverName, database, user, password;
  bool integrated;
  friend void PrintTo(const TdsCase& c, std::ostream* os) { *os << c.name; }
};

class TdsMapping : public testing::TestWithParam<TdsCase> {};

TEST_P(TdsMapping, GivesTheLogin) {
  const auto& c = GetParam();
  const db::TdsLogin login = db::MapTdsLogin(db::ConnectionString(c.text));
  EXPECT_EQ(login.ServerName(), c.serverName);
  EXPECT_EQ(login.database, c.database);
  EXPECT_EQ(login.user, c.user);
  EXPECT_EQ(login.password, c.password);
  EXPECT_EQ(login.integratedSecurity, c.integrated);
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, TdsMapping,
    testing::Values(
        TdsCase{"Launcher", "Provider=SQLOLEDB.1;Password=pw;Persist Security Info=False;User ID=sa;"
                            "Initial Catalog=物流;Data Source=srv01",
                "srv01", "物流", "sa", "pw", false},
        TdsCase{"Port", "Data Source=10.0.0.5,1500;User ID=u", "10.0.0.5:1500", "", "u", "", false},
        TdsCase{"Instance", "Data Source=srv\\SQLEXPRESS", "srv\\SQLEXPRESS", "", "", "", false},
        TdsCase{"PortBeatsInstance", "Data Source=srv\\SQLEXPRESS,1501", "srv:1501", "", "", "", false},
        TdsCase{"TcpPrefix", "Data Source=tcp:srv,1433", "srv:1433", "", "", "", false},
        TdsCase{"LocalMachine", "Data Source=(local)\\SQL2008", "localhost\\SQL2008", "", "", "", false},
        TdsCase{"Dot", "Data Source=.", "localhost", "", "", "", false},
        TdsCase{"PersistSecurityInfoChangesNothing", "Persist Security Info=True;Data Source=s;User ID=u;Password=p",
                "s", "", "u", "p", false},
        TdsCase{"IntegratedIgnoresUserAndPassword", "Integrated Security=SSPI;Data Source=s;User ID=u;Password=p",
                "s", "", "", "", true},
        TdsCase{"IntegratedTrue", "Integrated Security=true;Data Source=s", "s", "", "", "", true},
        TdsCase{"IntegratedNo", "Integrated Security=False;Data Source=s;User ID=u", "s", "", "u", "", false}),
    [](const testing::TestParamInfo<TdsCase>& p) { return std::string(p.param.name); });

TEST(TdsMapping, RejectsAMissingServerOrABadPort) {
  for (const char* text : {"Provider=SQLOLEDB", "Data Source=", "Data Source=\\inst", "Data Source=srv,",
                           "Data Source=srv,port", "Data Source=srv,99999"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(db::MapTdsLogin(db::ConnectionString(text)), db::Error);
  }
}

struct PgCase {
  const char* name;
  std::string text;
  std::string host, port, dbname, user, password;
  friend void PrintTo(const PgCase& c, std::ostream* os) { *os << c.name; }
};

class PostgresMapping : public testing::TestWithParam<PgCase> {};

TEST_P(PostgresMapping, GivesTheLogin) {
  const auto& c = GetParam();
  const db::PostgresLogin login = db::MapPostgresLogin(db::ConnectionString(c.text));
  EXPECT_EQ(login.host, c.host);
  EXPECT_EQ(login.port, c.port);
  EXPECT_EQ(login.dbname, c.dbname);
  EXPECT_EQ(login.user, c.user);
  EXPECT_EQ(login.password, c.password);
}

INSTANTIATE_TEST_SUITE_P(
    Keywords, PostgresMapping,
    testing::Values(PgCase{"All", "Provider=PostgreSQL;Password=p;User ID=u;Initial Catalog=物流;Data Source=db1",
                           "db1", "", "物流", "u", "p"},
                    PgCase{"ColonPort", "Data Source=127.0.0.1:5433", "127.0.0.1", "5433", "", "", ""},
                    PgCase{"CommaPort", "Data Source=db1,5433", "db1", "5433", "", "", ""},
                    PgCase{"Ipv6", "Data Source=[::1]:5434", "::1", "5434", "", "", ""},
                    PgCase{"Ipv6NoPort", "Data Source=[::1]", "::1", "", "", "", ""},
                    PgCase{"NoSource", "Provider=PostgreSQL", "", "", "", "", ""}),
    [](const testing::TestParamInfo<PgCase>& p) { return std::string(p.param.name); });

TEST(PostgresMapping, RejectsABadPort) {
  for (const char* text : {"Data Source=db1:", "Data Source=db1:x", "Data Source=[::1", "Data Source=[::1]x"}) {
    SCOPED_TRACE(text);
    EXPECT_THROW(db::MapPostgresLogin(db::ConnectionString(text)), db::Error);
  }
}

}  // namespace
