// Provider=PostgreSQL through libpq.
#include <libpq-fe.h>

#include "Backends.h"
#include "PostgresLogin.h"

namespace db {
namespace {

// Seconds to wait for the server before giving up: the launcher retries anyway.
constexpr const char* kConnectTimeoutSeconds = "10";
// Result format code of libpq for binary values: bytea arrives as its raw bytes.
constexpr int kBinaryFormat = 1;

class PostgresConnection final : public Connection {
 public:
  explicit PostgresConnection(const PostgresLogin& login) {
    const char* keys[] = {"host", "port", "dbname", "user", "password", "connect_timeout", "client_encoding",
                          "application_name", nullptr};
    const char* values[] = {login.host.c_str(), login.port.c_str(), login.dbname.c_str(), login.user.c_str(),
                            login.password.c_str(), kConnectTimeoutSeconds, "UTF8", "Tarnwick launcher", nullptr};
    // Empty values leave libpq's defaults; expand_dbname=0 so no value is read as a connection string itself.
    conn_ = PQconnectdbParams(keys, values, 0);
    if (conn_ == nullptr) throw Error("PostgreSQL: out of memory");
    if (PQstatus(conn_) != CONNECTION_OK) {
      std::string message = TrimMessage(PQerrorMessage(conn_));
      PQfinish(conn_);
      throw Error("Cannot connect to PostgreSQL: " + message);
    }
  }
  ~PostgresConnection() override { PQfinish(conn_); }
  PostgresConnection(const PostgresConnection&) = delete;
  PostgresConnection& operator=(const PostgresConnection&) = delete;

  FirstRow FirstRowBlob(const std::string& sql, const std::string& column) override {
    Result result(PQexecParams(conn_, sql.c_str(), 0, nullptr, nullptr, nullptr, nullptr, kBinaryFormat));
    PGresult* r = result.get();
    if (r == nullptr) throw Error("PostgreSQL: " + TrimMessage(PQerrorMessage(conn_)));
    if (PQresultStatus(r) != PGRES_TUPLES_OK) {
      throw Error("PostgreSQL: " + TrimMessage(PQresultErrorMessage(r)));
    }
    const int index = FindColumn(PQnfields(r), column, [&](int i) { return PQfname(r, i); });
    if (index < 0) throw NoSuchColumn(column);
    if (PQntuples(r) == 0) return {};
    if (PQgetisnull(r, 0, index)) return {true, std::nullopt};
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(PQgetvalue(r, 0, index));
    return {true, Blob(bytes, bytes + PQgetlength(r, 0, index))};
  }

 private:
  class Result {
   public:
    explicit Result(PGresult* r) : r_(r) {}
    ~Result() { PQclear(r_); }
    Result(const Result&) = delete;
    Result& operator=(const Result&) = delete;
    PGresult* get() const { return r_; }

   private:
    PGresult* r_;
  };

  PGconn* conn_ = nullptr;
};

}  // namespace

std::unique_ptr<Connection> ConnectPostgres(const ConnectionString& settings) {
  return std::make_unique<PostgresConnection>(MapPostgresLogin(settings));
}

}  // namespace db
