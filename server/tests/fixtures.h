// What the service tests share: the game's own way of building a submission, a
// clock the tests move, and storage on either backend.
#pragma once
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>

#include "persist/submit.h"
#include "service.h"
#include "storage.h"
#include "testing/postgres_instance.h"
#include "testing/processes.h"

namespace pondaro::scores::test {

using namespace pondaro::scores::testing;

// The query the game sends for a score, built by the game's own code.
inline std::string SubmissionQuery(const std::string& name, int64_t score, const std::string& token,
                                   const std::string& country = "") {
  return "hs&prg=Pondaro&inf=" +
         pondaro::EncodeRecord(pondaro::ScoreRecord(name, static_cast<int32_t>(score), token, country));
}

inline Request Get(const std::string& query, const std::string& address = "10.0.0.1") {
  Request r;
  r.path = "/cgi/version.pl";
  r.query = query;
  r.address = address;
  return r;
}

struct TestClock {
  std::atomic<int64_t> ms{1'700'000'000'000};
  ScoreService::Clock Fn() {
    return [this] { return ms.load(); };
  }
  void Advance(int64_t seconds) { ms += seconds * 1000; }
};

enum class Backend { Sqlite, Postgres };

inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
  return info.param == Backend::Sqlite ? "Sqlite" : "Postgres";
}

// A fresh, empty database on one backend; more storages can open the same one,
// as further service instances would.
class Database {
 public:
  // Skips the test, saying why, when PostgreSQL cannot run here.
  static std::unique_ptr<Database> Make(Backend backend, std::string& skipReason) {
    auto d = std::unique_ptr<Database>(new Database(backend));
    if (backend == Backend::Postgres) {
      PostgresInstance* pg = PostgresInstance::Shared(skipReason);
      if (!pg) return nullptr;
      d->connection_ = pg->NewDatabase();
    } else {
      d->dir_ = std::make_unique<TempDir>();
      d->connection_ = *d->dir_ / "scores.db";
    }
    return d;
  }
  std::unique_ptr<Storage> Open() const {
    return backend_ == Backend::Sqlite ? OpenSqlite(connection_) : OpenPostgres(connection_, 4);
  }
  const std::string& Connection() const { return connection_; }

 private:
  explicit Database(Backend b) : backend_(b) {}
  Backend backend_;
  std::unique_ptr<TempDir> dir_;
  std::string connection_;
};

// A test run on each backend, with a fresh database; skipped, saying why, where
// PostgreSQL cannot run.
class OnEachBackend : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override {
    std::string reason;
    db = Database::Make(GetParam(), reason);
    if (!db) GTEST_SKIP() << "PostgreSQL cannot run here: " << reason;
    storage = db->Open();
  }
  std::unique_ptr<Database> db;
  std::unique_ptr<Storage> storage;
};

// The token out of a version check's answer, read the way the game reads it.
inline std::string TokenOf(const Response& r) { return pondaro::ServerValue(r.body); }

}  // namespace pondaro::scores::test
