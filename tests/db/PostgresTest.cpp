// The PostgreSQL backend against a throwaway server that this test starts on a
// free loopback port and removes at the end.
#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <string>
#include <vector>

#include "TempDir.h"
#include "db/Query.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr const char* kAdmin = "tw_admin";
constexpr const char* kAdminPassword = "Adm1n-pw";
constexpr const char* kPackageSql = "select * from t_sys_soft";
constexpr const char* kPackageColumn = "系统";

int FreeLoopbackPort() {
  const int s = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in addr{};
  addr.sin_family = AF_INET;
  addr.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof addr;
  int port = 0;
  if (bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr) == 0 &&
      getsockname(s, reinterpret_cast<sockaddr*>(&addr), &len) == 0) {
    port = ntohs(addr.sin_port);
  }
  close(s);
  return port;
}

// The newest installed server's programs, or empty.
fs::path ServerBinaries() {
  if (const char* dir = std::getenv("TW_PG_BINDIR")) return dir;
  fs::path best;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator("/usr/lib/postgresql", ec)) {
    const fs::path bin = entry.path() / "bin";
    if (fs::exists(bin / "initdb") && fs::exists(bin / "pg_ctl") && (best.empty() || bin > best)) best = bin;
  }
  return best;
}

// One server for the whole test program.
class Server : public testing::Environment {
 public:
  static Server* instance;
  std::string skipReason;
  int port = 0;

  void SetUp() override {
    bin_ = ServerBinaries();
    if (bin_.empty()) {
      skipReason = "no PostgreSQL server programs (Debian postgresql) in /usr/lib/postgresql/*/bin";
      return;
    }
    char pattern[] = "/tmp/tw-db-pg-XXXXXX";
    if (mkdtemp(pattern) == nullptr) {
      skipReason = "cannot make a scratch folder";
      return;
    }
    dir_ = pattern;
    // The server refuses to run as root: run it as the postgres account in a
    // folder that account owns.
    if (geteuid() == 0) {
      const passwd* pw = getpwnam("postgres");
      if (pw == nullptr || chown(dir_.c_str(), pw->pw_uid, pw->pw_gid) != 0) {
        skipReason = "running as root and there is no postgres account to run the server";
        return;
      }
      runAs_ = "runuser -u postgres -- ";
    }
    port = FreeLoopbackPort();
    std::ofstream(dir_ / "pw") << kAdminPassword << "\n";
    if (geteuid() == 0) Shell("chown postgres: " + (dir_ / "pw").string());
    // scram everywhere, so a wrong password really fails.
    if (!Shell(runAs_ + (bin_ / "initdb").string() + " -D " + (dir_ / "data").string() + " -U " + kAdmin +
               " --pwfile=" + (dir_ / "pw").string() + " --auth=scram-sha-256 -E UTF8 --no-locale >" +
               (dir_ / "initdb.log").string() + " 2>&1") ||
        !Shell(runAs_ + (bin_ / "pg_ctl").string() + " -D " + (dir_ / "data").string() + " -l " +
               (dir_ / "server.log").string() + " -w -t 60 -o \"-c listen_addresses=127.0.0.1 -p " +
               std::to_string(port) + " -c unix_socket_directories=" + dir_.string() +
               " -c fsync=off\" start >/dev/null 2>&1")) {
      FAIL() << "the throwaway PostgreSQL server did not start; see the logs in " << dir_;
    }
    started_ = true;
    LoadFixtures();
  }

  void TearDown() override {
    if (started_) {
      Shell(runAs_ + (bin_ / "pg_ctl").string() + " -D " + (dir_ / "data").string() + " -m immediate -w stop >/dev/null 2>&1");
    }
    if (!dir_.empty() && !HasFailure()) {
      std::error_code ignored;
      fs::remove_all(dir_, ignored);
    }
  }

  bool Started() const { return started_; }

  std::string ConnectionString(const std::string& database, const std::string& password = kAdminPassword) const {
    return "Provider=PostgreSQL;Password=" + password + ";Persist Security Info=False;User ID=" + kAdmin +
           ";Initial Catalog=" + database + ";Data Source=127.0.0.1:" + std::to_string(port);
  }

  Bytes package = dbtest::PseudoRandomBytes(3 * 1024 * 1024 + 17, 7);

 private:
  static bool HasFailure() { return testing::Test::HasFailure(); }

  static bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

  // One database per situation the tests look at.
  void LoadFixtures() {
    Exec("postgres", "create database pkg; create database empty; create database nullblob; "
                     "create database nocolumn; create database notable");
    const char* table = "create table t_sys_soft(id serial primary key, \"系统\" bytea, 版本 text)";
    Exec("pkg", table);
    Exec("empty", table);
    Exec("nullblob", table);
    Exec("nullblob", "insert into t_sys_soft(\"系统\") values (null)");
    Exec("nocolumn", "create table t_sys_soft(id int, package bytea)");
    Exec("notable", "create table other(x int)");
    // The package, then a second row that must not be read.
    InsertBlob("pkg", package);
    InsertBlob("pkg", Bytes{9, 9, 9});
  }

  PGconn* Open(const std::string& database) {
    const std::string info = "host=127.0.0.1 port=" + std::to_string(port) + " dbname=" + database + " user=" +
                             kAdmin + " password=" + kAdminPassword;
    PGconn* conn = PQconnectdb(info.c_str());
    EXPECT_EQ(PQstatus(conn), CONNECTION_OK) << PQerrorMessage(conn);
    return conn;
  }

  void Exec(const std::string& database, const std::string& sql) {
    PGconn* conn = Open(database);
    // create database cannot run inside the implicit transaction of a multi-statement text.
    for (std::size_t start = 0; start < sql.size();) {
      std::size_t end = sql.find(';', start);
      if (end == std::string::npos) end = sql.size();
      PGresult* r = PQexec(conn, sql.substr(start, end - start).c_str());
      EXPECT_EQ(PQresultStatus(r), PGRES_COMMAND_OK) << PQresultErrorMessage(r);
      PQclear(r);
      start = end + 1;
    }
    PQfinish(conn);
  }

  void InsertBlob(const std::string& database, const Bytes& blob) {
    PGconn* conn = Open(database);
    const char* values[] = {reinterpret_cast<const char*>(blob.data())};
    const int lengths[] = {static_cast<int>(blob.size())};
    const int formats[] = {1};
    PGresult* r = PQexecParams(conn, "insert into t_sys_soft(\"系统\") values ($1)", 1, nullptr, values, lengths,
                               formats, 0);
    EXPECT_EQ(PQresultStatus(r), PGRES_COMMAND_OK) << PQresultErrorMessage(r);
    PQclear(r);
    PQfinish(conn);
  }

  fs::path bin_, dir_;
  std::string runAs_;
  bool started_ = false;
};

Server* Server::instance = static_cast<Server*>(testing::AddGlobalTestEnvironment(new Server));

class Postgres : public testing::Test {
 protected:
  void SetUp() override {
    if (!Server::instance->skipReason.empty()) GTEST_SKIP() << Server::instance->skipReason;
    if (!Server::instance->Started()) GTEST_FAIL() << "no server to test against";
  }
  static db::Query PackageQuery(const std::string& connectionString) {
    db::Query q;
    q.SetConnectionString(connectionString);
    q.SetSQL(kPackageSql);
    q.SetBlobField(kPackageColumn);
    return q;
  }
  dbtest::TempDir dir_{"pg"};
};

TEST_F(Postgres, SavesTheFirstRowsByteaByteExact) {
  db::Query q = PackageQuery(Server::instance->ConnectionString("pkg"));
  q.Open();
  const std::string target = dir_.File("Tarnwick物流信息管理系统.zip");
  q.SaveBlobToFile(target);
  EXPECT_EQ(dbtest::ReadFile(target), Server::instance->package);
}

TEST_F(Postgres, NoRowOrNullGivesAnEmptyPackage) {
  for (const char* database : {"empty", "nullblob"}) {
    SCOPED_TRACE(database);
    db::Query q = PackageQuery(Server::instance->ConnectionString(database));
    q.Open();
    EXPECT_TRUE(q.Active());
    const std::string target = dir_.File("package.zip");
    q.SaveBlobToFile(target);
    EXPECT_TRUE(dbtest::ReadFile(target).empty());
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
