// The PostgreSQL backend against a throwaway server that this test starts on a
// free loopback port and removes at the end.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "PostgresServer.h"
#include "TempDir.h"
#include "db/Query.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kPackageSql = "select * from t_sys_soft";
constexpr const char* kPackageColumn = "系统";
using testing_support::FreeLoopbackPort;
using testing_support::PostgresServer;
constexpr const char* kAdminPassword = PostgresServer::kAdminPassword;

// One server for the whole test program, with one database per situation the tests look at.
class Server : public testing::Environment {
 public:
  static Server* instance;
  PostgresServer pg;
  Bytes package = testing_support::PseudoRandomBytes(3 * 1024 * 1024 + 17, 7);

  void SetUp() override {
    pg.Start();
    if (!pg.Started()) return;
    pg.Exec("postgres", "create database pkg; create database empty; create database nullblob; "
                        "create database nocolumn; create database notable");
    const char* table = "create table t_sys_soft(id serial primary key, \"系统\" bytea, 版本 text)";
    pg.Exec("pkg", table);
    pg.Exec("empty", table);
    pg.Exec("nullblob", table);
    pg.Exec("nullblob", "insert into t_sys_soft(\"系统\") values (null)");
    pg.Exec("nocolumn", "create table t_sys_soft(id int, package bytea)");
    pg.Exec("notable", "create table other(x int)");
    // The package, then a second row that must not be read.
    pg.InsertBlob("pkg", package);
    pg.InsertBlob("pkg", Bytes{9, 9, 9});
  }
  void TearDown() override { pg.Stop(); }

  std::string ConnectionString(const std::string& database,
                               const std::string& password = PostgresServer::kAdminPassword) const {
    return pg.ConnectionString(database, password);
  }
};

Server* Server::instance = static_cast<Server*>(testing::AddGlobalTestEnvironment(new Server));

class Postgres : public testing::Test {
 protected:
  void SetUp() override {
    if (!Server::instance->pg.SkipReason().empty()) GTEST_SKIP() << Server::instance->pg.SkipReason();
    if (!Server::instance->pg.Started()) GTEST_FAIL() << "no server to test against";
  }
  static db::Query PackageQuery(const std::string& connectionString) {
    db::Query q;
    q.SetConnectionString(connectionString);
    q.SetSQL(kPackageSql);
    q.SetBlobField(kPackageColumn);
    return q;
  }
  testing_support::TempDir dir_{"pg"};
};

TEST_F(Postgres, SavesTheFirstRowsByteaByteExact) {
  db::Query q = PackageQuery(Server::instance->ConnectionString("pkg"));
  q.Open();
  const std::string target = dir_.File("Tarnwick物流信息管理系统.zip");
  q.SaveBlobToFile(target);
  EXPECT_EQ(testing_support::ReadFile(target), Server::instance->package);
}

TEST_F(Postgres, NoRowOrNullGivesAnEmptyPackage) {
  for (const char* database : {"empty", "nullblob"}) {
    SCOPED_TRACE(database);
    db::Query q = PackageQuery(Server::instance->ConnectionString(database));
    q.Open();
    EXPECT_TRUE(q.Active());
    EXPECT_EQ(q.IsEmpty(), std::string(database) == "empty");
    EXPECT_EQ(q.BlobIsNull(), std::string(database) == "nullblob");
    const std::string target = dir_.File("package.zip");
    q.SaveBlobToFile(target);
    EXPECT_TRUE(testing_support::ReadFile(target).empty());
  }
}

struct Failure {
  const char* name;
  std::string database, password;
  bool closedPort;
  std::string messagePart;
  friend void PrintTo(const Failure& c, std::ostream* os) { *os << c.name; }
};

class PostgresFails : public Postgres, public testing::WithParamInterface<Failure> {};

TEST_P(PostgresFails, WithTheServersText) {
  const auto& c = GetParam();
  std::string text = Server::instance->ConnectionString(c.database, c.password);
  if (c.closedPort) {
    text = "Provider=PostgreSQL;User ID=x;Password=y;Data Source=127.0.0.1," + std::to_string(FreeLoopbackPort());
  }
  db::Query q = PackageQuery(text);
  try {
    q.Open();
    FAIL() << "opened";
  } catch (const db::Error& e) {
    EXPECT_NE(std::string(e.what()).find(c.messagePart), std::string::npos) << e.what();
  }
  EXPECT_FALSE(q.Active());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, PostgresFails,
    testing::Values(Failure{"MissingTable", "notable", kAdminPassword, false, "relation \"t_sys_soft\" does not exist"},
                    Failure{"MissingColumn", "nocolumn", kAdminPassword, false, "no column \"系统\""},
                    Failure{"MissingDatabase", "nosuchdb", kAdminPassword, false, "database \"nosuchdb\" does not exist"},
                    Failure{"WrongPassword", "pkg", "wrong", false, "password authentication failed"},
                    Failure{"ClosedPort", "pkg", kAdminPassword, true, "Connection refused"}),
    [](const testing::TestParamInfo<Failure>& p) { return std::string(p.param.name); });

}  // namespace
