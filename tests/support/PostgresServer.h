// A throwaway PostgreSQL server on a free loopback port, in a scratch folder,
// for tests of the PostgreSQL backend and of the launcher against it.
#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "LoopbackPort.h"

namespace testing_support {


class PostgresServer {
 public:
  static constexpr const char* kAdmin = "tw_admin";
  static constexpr const char* kAdminPassword = "Adm1n-pw";

  // Starts the server: afterwards either Started() or SkipReason() is set, or
  // the start failed (a test failure is recorded).
  void Start();
  // Stops it and removes its folder (kept after a failure, for its logs).
  void Stop();

  bool Started() const { return started_; }
  const std::string& SkipReason() const { return skipReason_; }
  int Port() const { return port_; }

  // An OLE DB style string for the PostgreSQL provider, as main.ini would build it.
  std::string ConnectionString(const std::string& database, const std::string& password = kAdminPassword) const;
  // Runs `;`-separated statements in `database`, each on its own.
  void Exec(const std::string& database, const std::string& sql) const;
  // Inserts one row into t_sys_soft with `blob` in its "系统" column.
  void InsertBlob(const std::string& database, const std::vector<std::uint8_t>& blob) const;

 private:
  std::filesystem::path bin_, dir_;
  std::string runAs_, skipReason_;
  int port_ = 0;
  bool started_ = false;
};

}  // namespace testing_support
