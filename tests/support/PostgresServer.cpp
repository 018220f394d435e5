#include "PostgresServer.h"

#include "LoopbackPort.h"

#include <gtest/gtest.h>
#include <libpq-fe.h>
#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace testing_support {

namespace fs = std::filesystem;

namespace {

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

bool Shell(const std::string& command) { return std::system(command.c_str()) == 0; }

}  // namespace

void PostgresServer::Start() {
  bin_ = ServerBinaries();
  if (bin_.empty()) {
    skipReason_ = "no PostgreSQL server programs (Debian postgresql) in /usr/lib/postgresql/*/bin";
    return;
  }
  char pattern[] = "/tmp/tw-pg-XXXXXX";
  if (mkdtemp(pattern) == nullptr) {
    skipReason_ = "cannot make a scratch folder";
    return;
  }
  dir_ = pattern;
  // The server refuses to run as root: run it as the postgres account in a
  // folder that account owns.
  if (geteuid() == 0) {
    const passwd* pw = getpwnam("postgres");
    if (pw == nullptr || chown(dir_.c_str(), pw->pw_uid, pw->pw_gid) != 0) {
      skipReason_ = "running as root and there is no postgres account to run the server";
      return;
    }
    runAs_ = "runuser -u postgres -- ";
  }
  port_ = FreeLoopbackPort();
  std::ofstream(dir_ / "pw") << kAdminPassword << "\n";
  if (geteuid() == 0) Shell("chown postgres: " + (dir_ / "pw").string());
  // scram everywhere, so a wrong password really fails.
  if (!Shell(runAs_ + (bin_ / "initdb").string() + " -D " + (dir_ / "data").string() + " -U " + kAdmin +
             " --pwfile=" + (dir_ / "pw").string() + " --auth=scram-sha-256 -E UTF8 --no-locale >" +
             (dir_ / "initdb.log").string() + " 2>&1") ||
      !Shell(runAs_ + (bin_ / "pg_ctl").string() + " -D " + (dir_ / "data").string() + " -l " +
             (dir_ / "server.log").string() + " -w -t 60 -o \"-c listen_addresses=127.0.0.1 -p " +
             std::to_string(port_) + " -c unix_socket_directories=" + dir_.string() +
             " -c fsync=off\" start >/dev/null 2>&1")) {
    ADD_FAILURE() << "the throwaway PostgreSQL server did not start; see the logs in " << dir_;
    return;
  }
  started_ = true;
}

void PostgresServer::Stop() {
  if (started_)
    Shell(runAs_ + (bin_ / "pg_ctl").string() + " -D " + (dir_ / "data").string() +
          " -m immediate -w stop >/dev/null 2>&1");
  started_ = false;
  if (!dir_.empty() && !testing::Test::HasFailure()) {
    std::error_code ignored;
    fs::remove_all(dir_, ignored);
  }
}

std::string PostgresServer::ConnectionString(const std::string& database, const std::string& password) const {
  return "Provider=PostgreSQL;Password=" + password + ";Persist Security Info=False;User ID=" + kAdmin +
         ";Initial Catalog=" + database + ";Data Source=127.0.0.1:" + std::to_string(port_);
}

namespace {
PGconn* Open(int port, const std::string& database) {
  const std::string info = "host=127.0.0.1 port=" + std::to_string(port) + " dbname=" + database + " user=" +
                           PostgresServer::kAdmin + " password=" + PostgresServer::kAdminPassword;
  PGconn* conn = PQconnectdb(info.c_str());
  EXPECT_EQ(PQstatus(conn), CONNECTION_OK) << PQerrorMessage(conn);
  return conn;
}
}  // namespace

void PostgresServer::Exec(const std::string& database, const std::string& sql) const {
  PGconn* conn = Open(port_, database);
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

void PostgresServer::InsertBlob(const std::string& database, const std::vector<std::uint8_t>& blob) const {
  PGconn* conn = Open(port_, database);
  const char* values[] = {reinterpret_cast<const char*>(blob.data())};
  const int lengths[] = {static_cast<int>(blob.size())};
  const int formats[] = {1};
  PGresult* r = PQexecParams(conn, "insert into t_sys_soft(\"系统\") values ($1)", 1, nullptr, values, lengths,
                             formats, 0);
  EXPECT_EQ(PQresultStatus(r), PGRES_COMMAND_OK) << PQresultErrorMessage(r);
  PQclear(r);
  PQfinish(conn);
}

}  // namespace testing_support
