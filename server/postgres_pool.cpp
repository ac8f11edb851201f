#include "postgres_pool.h"

#include <algorithm>

namespace pondaro::scores {

namespace {

// libpq's own connect time-out (whole seconds, 2 at the least): appended, so it
// wins over one in the operator's string, in either of libpq's two forms.
std::string WithConnectTimeout(const std::string& connection, long long seconds) {
  const std::string setting = "connect_timeout=" + std::to_string(std::max(2LL, seconds));
  if (connection.rfind("postgresql://", 0) == 0 || connection.rfind("postgres://", 0) == 0)
    return connection + (connection.find('?') == std::string::npos ? "?" : "&") + setting;
  return connection + " " + setting;
}

}  // namespace

PostgresPool::PostgresPool(std::string connection, int size, int timeoutSeconds, Prepare prepare)
    : connection_(std::move(connection)),
      capacity_(size < 1 ? 1 : size),
      timeout_(timeoutSeconds < 1 ? 1 : timeoutSeconds),
      prepare_(std::move(prepare)) {}

PostgresPool::Lease::Lease(PostgresPool& pool, std::chrono::steady_clock::time_point deadline) : pool(pool) {
  {
    std::unique_lock lock(pool.mutex_);
    if (!pool.idleOrRoom_.wait_until(lock, deadline, [&] { return !pool.idle_.empty() || pool.open_ < pool.capacity_; }))
      throw StorageError("PostgreSQL: no connection came free within " + pool.Seconds() + " s");
    if (!pool.idle_.empty()) {
      c = std::move(pool.idle_.back());
      pool.idle_.pop_back();
      return;
    }
    // libpq waits 2 s at the least for a connection: after half the time spent
    // waiting here, making one would overrun the deadline by more than a second.
    if (deadline - std::chrono::steady_clock::now() < std::chrono::milliseconds(pool.timeout_) / 2)
      throw StorageError("PostgreSQL: no connection came free within " + pool.Seconds() + " s");
    ++pool.open_;
  }
  try {
    c = pool.Connect(deadline);
  } catch (...) {
    std::lock_guard lock(pool.mutex_);
    --pool.open_;
    pool.idleOrRoom_.notify_one();
    throw;
  }
}

PostgresPool::Lease::~Lease() {
  std::lock_guard lock(pool.mutex_);
  if (c && c->is_open())
    pool.idle_.push_back(std::move(c));
  else
    --pool.open_;
  pool.idleOrRoom_.notify_one();
}

std::unique_ptr<pqxx::connection> PostgresPool::Connect(std::chrono::steady_clock::time_point deadline) {
  const auto left = std::chrono::ceil<std::chrono::seconds>(deadline - std::chrono::steady_clock::now()).count();
  std::unique_ptr<pqxx::connection> c;
  try {
    c = std::make_unique<pqxx::connection>(WithConnectTimeout(connection_, left));
  } catch (const std::exception& e) {
    throw StorageError(std::string("PostgreSQL: ") + e.what());
  }
  const SocketDeadlines::Id armed = deadlines_.Arm(c->sock(), deadline);
  try {
    // A slow statement the server can still cancel itself, keeping the connection.
    pqxx::nontransaction w(*c);
    w.exec("SET statement_timeout = " + std::to_string(timeout_.count() * 1000));
  } catch (const std::exception& e) {
    deadlines_.Disarm(armed);
    throw StorageError(std::string("PostgreSQL: ") + e.what());
  }
  deadlines_.Disarm(armed);
  prepare_(*c);
  return c;
}

}  // namespace pondaro::scores
