// A small pool of PostgreSQL connections (libpqxx) for one service instance,
// where every call has a deadline. A database that hangs (not down: hung) would
// otherwise hold every request thread for ever: waiting for a free connection,
// connecting and the statements all end at the deadline, and a connection whose
// statement ran out of time is cut (its socket shut down) and dropped.
#pragma once
#include <pqxx/pqxx>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "deadlines.h"
#include "storage.h"

namespace pondaro::scores {

class PostgresPool {
 public:
  using Prepare = std::function<void(pqxx::connection&)>;

  // `prepare` runs on every new connection (its prepared statements).
  PostgresPool(std::string connection, int size, int timeoutSeconds, Prepare prepare);

  // Runs `work` on a pooled connection within the time-out. A connection that
  // broke is dropped and the next caller connects afresh; the failure itself is
  // reported as a StorageError, not retried, since the transaction may or may
  // not have committed.
  template <typename Work>
  auto Run(Work&& work) -> decltype(work(std::declval<pqxx::connection&>())) {
    const auto deadline = std::chrono::steady_clock::now() + timeout_;
    Lease lease(*this, deadline);
    const SocketDeadlines::Id armed = deadlines_.Arm(lease.c->sock(), deadline);
    try {
      auto result = work(*lease.c);
      if (!deadlines_.Disarm(armed)) lease.c.reset();
      return result;
    } catch (const std::exception& e) {
      const bool late = !deadlines_.Disarm(armed);
      const bool broken = late || dynamic_cast<const pqxx::broken_connection*>(&e) || !lease.c->is_open();
      if (broken) lease.c.reset();
      if (late) throw StorageError("PostgreSQL did not answer within " + Seconds() + " s");
      if (dynamic_cast<const StorageError*>(&e)) throw;
      throw StorageError(std::string(broken ? "PostgreSQL connection lost: " : "PostgreSQL: ") + e.what());
    }
  }

  int Size() const { return capacity_; }

 private:
  // A connection taken from the pool (or made) and given back at the end.
  struct Lease {
    Lease(PostgresPool& pool, std::chrono::steady_clock::time_point deadline);
    ~Lease();
    PostgresPool& pool;
    std::unique_ptr<pqxx::connection> c;
  };

  std::unique_ptr<pqxx::connection> Connect(std::chrono::steady_clock::time_point deadline);
  std::string Seconds() const { return std::to_string(timeout_.count()); }

  std::string connection_;
  int capacity_;
  std::chrono::seconds timeout_;
  Prepare prepare_;
  std::mutex mutex_;
  std::condition_variable idleOrRoom_;
  std::vector<std::unique_ptr<pqxx::connection>> idle_;
  int open_ = 0;
  SocketDeadlines deadlines_;
};

}  // namespace pondaro::scores
