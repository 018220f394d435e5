// The SQL Server providers over TDS, through FreeTDS's db-lib.
#include <sybdb.h>

#include <mutex>

#include "Backends.h"
#include "TdsLogin.h"

namespace db {
namespace {

// Seconds to wait for the login: a closed or filtered port must fail soon, the
// launcher retries anyway.
constexpr int kLoginTimeoutSeconds = 5;
// Server messages up to this severity are information ("Changed database context").
constexpr int kInformationSeverity = 10;
// db-lib cuts text and image values to a small default size unless told otherwise;
// the package is a whole zip archive, so ask for the largest size TDS allows.
constexpr const char* kWholeBlobs = "SET TEXTSIZE 2147483647";

// db-lib reports through process-wide callbacks; they collect the texts of the
// call in progress for the thread that made it.
thread_local std::string g_messages;

// db-lib repeats itself on each retry of a login: keep each text once.
void Collect(const char* text) {
  if (text == nullptr || *text == '\0') return;
  const std::string message = TrimMessage(text);
  if (g_messages.find(message) != std::string::npos) return;
  if (!g_messages.empty()) g_messages += "; ";
  g_messages += message;
}

int OnError(DBPROCESS*, int, int, int oserr, char* dberrstr, char* oserrstr) {
  Collect(dberrstr);
  if (oserr > 0) Collect(oserrstr);  // 0 and -1: no system error behind it
  return INT_CANCEL;
}

int OnMessage(DBPROCESS*, DBINT, int, int severity, char* msgtext, char*, char*, int) {
  if (severity > kInformationSeverity) Collect(msgtext);
  return 0;
}

void InitOnce() {
  static std::once_flag once;
  std::call_once(once, [] {
    if (dbinit() == FAIL) throw Error("SQL Server: the FreeTDS library cannot start");
    dberrhandle(OnError);
    dbmsghandle(OnMessage);
  });
}

std::string TakeMessages(const char* fallback) {
  std::string text = g_messages.empty() ? std::string(fallback) : g_messages;
  g_messages.clear();
  return text;
}

class TdsConnection final : public Connection {
 public:
  explicit TdsConnection(const TdsLogin& settings) {
    InitOnce();
    g_messages.clear();
    LOGINREC* login = dblogin();
    if (login == nullptr) throw Error("SQL Server: out of memory");
    DBSETLAPP(login, "Tarnwick launcher");
    DBSETLCHARSET(login, "UTF-8");
    if (settings.integratedSecurity) {
      DBSETLNETWORKAUTH(login, TRUE);
    } else {
      DBSETLUSER(login, settings.user.c_str());
      DBSETLPWD(login, settings.password.c_str());
    }
    if (!settings.database.empty()) DBSETLDBNAME(login, settings.database.c_str());
    dbsetlogintime(kLoginTimeoutSeconds);
    const std::string server = settings.ServerName();
    proc_ = dbopen(login, server.c_str());
    dbloginfree(login);
    if (proc_ == nullptr) {
      throw Error("Cannot connect to SQL Server \"" + server + "\": " + TakeMessages("login failed"));
    }
    Run(kWholeBlobs);
    Drain();
  }
  ~TdsConnection() override { dbclose(proc_); }
  TdsConnection(const TdsConnection&) = delete;
  TdsConnection& operator=(const TdsConnection&) = delete;

  FirstRow FirstRowBlob(const std::string& sql, const std::string& column) override {
    Run(sql);
    RETCODE rc;
    while ((rc = dbresults(proc_)) == SUCCEED && dbnumcols(proc_) == 0) {
    }
    if (rc == FAIL) Fail();
    if (rc == NO_MORE_RESULTS) throw Error("SQL Server: the statement returned no result set");
    const int index = FindColumn(dbnumcols(proc_), column, [&](int i) { return dbcolname(proc_, i + 1); });
    if (index < 0) {
      dbcancel(proc_);
      throw NoSuchColumn(column);
    }
    FirstRow first;
    const STATUS row = dbnextrow(proc_);
    if (row == FAIL) Fail();
    if (row == REG_ROW) {
      first.rowFound = true;
      const BYTE* data = dbdata(proc_, index + 1);
      if (data != nullptr) first.value = Blob(data, data + dbdatlen(proc_, index + 1));
    }
    dbcancel(proc_);  // the other rows and results are not wanted
    return first;
  }

 private:
  void Run(const std::string& sql) {
    g_messages.clear();
    if (dbcmd(proc_, sql.c_str()) == FAIL || dbsqlexec(proc_) == FAIL) Fail();
  }
  void Drain() {
    RETCODE rc;
    while ((rc = dbresults(proc_)) == SUCCEED) {
      STATUS row;
      while ((row = dbnextrow(proc_)) != NO_MORE_ROWS) {
        if (row == FAIL) Fail();
      }
    }
    if (rc == FAIL) Fail();
  }
  [[noreturn]] void Fail() {
    dbcancel(proc_);
    throw Error("SQL Server: " + TakeMessages("the statement failed"));
  }

  DBPROCESS* proc_ = nullptr;
};

}  // namespace

std::unique_ptr<Connection> ConnectTds(const ConnectionString& settings) {
  return std::make_unique<TdsConnection>(MapTdsLogin(settings));
}

}  // namespace db
