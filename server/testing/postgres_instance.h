// A throwaway PostgreSQL server in a temporary folder, listening only on a Unix
// socket in that folder, run as an unprivileged user (initdb refuses root).
#pragma once
#include <sys/types.h>

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "processes.h"

namespace pondaro::scores::testing {

class PostgresInstance {
 public:
  // Settings for a test server: fast, and nothing of it needs to survive a crash.
  static std::vector<std::string> Throwaway();

  // nullptr with `reason` set when PostgreSQL is not installed or does not start.
  static std::unique_ptr<PostgresInstance> Start(std::string& reason,
                                                 const std::vector<std::string>& settings = Throwaway());
  // One server for the whole test program, started at the first call.
  static PostgresInstance* Shared(std::string& reason);
  ~PostgresInstance();

  // The connection string of a database on this server.
  std::string Connection(const std::string& database) const;
  // Creates a fresh, empty database and returns its connection string.
  std::string NewDatabase();
  // Sends `signal` to the server and every process it started: SIGSTOP hangs
  // it (up, but answering nothing), SIGCONT lets it go on.
  void SignalAll(int signal) const;

 private:
  PostgresInstance() = default;
  std::unique_ptr<TempDir> dir_;
  pid_t pid_ = -1;
  std::atomic<int> databases_{0};
};

}  // namespace pondaro::scores::testing
