// The shared store: PostgreSQL through libpqxx, a small pool of connections per
// service instance. Tokens are rows like the scores, so any instance can redeem a
// token another one handed out, and the row lock of the DELETE makes a token good
// for exactly one submission even when two instances race for it.
#include <pqxx/pqxx>

#include <condition_variable>
#include <mutex>

#include "storage.h"

namespace pondaro::scores {

namespace {

// Step i brings the schema from version i to i + 1. Append, never change.
constexpr const char* kMigrations[] = {
    R"(CREATE TABLE scores (
         id bigint GENERATED ALWAYS AS IDENTITY PRIMARY KEY,
         name text NOT NULL,
         country text NOT NULL,
         score bigint NOT NULL,
         created bigint NOT NULL);
       CREATE INDEX scores_best ON scores (score DESC, id);
       CREATE TABLE tokens (token text PRIMARY KEY, issued bigint NOT NULL);
       CREATE INDEX tokens_issued ON tokens (issued);)",
};
constexpr int kSchemaVersion = static_cast<int>(std::size(kMigrations));
// Serialises migrations of instances that start together.
constexpr int64_t kMigrationLock = 0x504f4e44;  // "POND"

class PostgresStorage : public Storage {
 public:
  PostgresStorage(const std::string& connection, int pool) : connection_(connection), capacity_(pool < 1 ? 1 : pool) {
    Run([&](pqxx::connection& c) { Migrate(c); });
  }

  std::string Describe() const override { return "PostgreSQL (" + std::to_string(capacity_) + " connections)"; }

  void AddToken(const std::string& token, int64_t now) override {
    Run([&](pqxx::connection& c) {
      pqxx::work w(c);
      w.exec_prepared("add_token", token, now);
      w.commit();
    });
  }

  Redeemed Redeem(const std::string& token, int64_t now, int64_t lifetime, const StoredScore& score) override {
    return Run([&](pqxx::connection& c) {
      pqxx::work w(c);
      const pqxx::result used = w.exec_prepared("redeem", token);
      Redeemed result = Redeemed::Unknown;
      if (!used.empty()) result = now - used[0][0].as<int64_t>() < lifetime ? Redeemed::Stored : Redeemed::Expired;
      if (result == Redeemed::Stored) w.exec_prepared("insert", score.name, score.country, score.score, score.when);
      w.commit();
      return result;
    });
  }

  int64_t PurgeTokens(int64_t before) override {
    return Run([&](pqxx::connection& c) {
      pqxx::work w(c);
      const pqxx::result r = w.exec_prepared("purge", before);
      w.commit();
      return static_cast<int64_t>(r.affected_rows());
    });
  }

  std::vector<StoredScore> Best(int count) override {
    return Run([&](pqxx::connection& c) {
      pqxx::read_transaction w(c);
      std::vector<StoredScore> out;
      for (const auto& row : w.exec_prepared("best", count))
        out.push_back({row[0].as<std::string>(), row[1].as<std::string>(), row[2].as<int64_t>(), row[3].as<int64_t>()});
      return out;
    });
  }

  void Insert(const std::vector<StoredScore>& scores) override {
    Run([&](pqxx::connection& c) {
      pqxx::work w(c);
      // A thousand rows a statement: one round trip each instead of one per row.
      for (size_t from = 0; from < scores.size(); from += 1000) {
        std::string sql = "INSERT INTO scores (name, country, score, created) VALUES ";
        for (size_t i = from; i < scores.size() && i < from + 1000; ++i) {
          const StoredScore& s = scores[i];
          if (i != from) sql += ',';
          sql += '(' + w.quote(s.name) + ',' + w.quote(s.country) + ',' + std::to_string(s.score) + ',' +
                 std::to_string(s.when) + ')';
        }
        w.exec(sql);
      }
      w.commit();
    });
  }

  int64_t CountScores() override { return Count("SELECT count(*) FROM scores"); }
  int64_t CountTokens() override { return Count("SELECT count(*) FROM tokens"); }

 private:
  std::unique_ptr<pqxx::connection> Connect() {
    auto c = std::make_unique<pqxx::connection>(connection_);
    c->prepare("add_token", "INSERT INTO tokens (token, issued) VALUES ($1, $2)");
    c->prepare("redeem", "DELETE FROM tokens WHERE token = $1 RETURNING issued");
    c->prepare("insert", "INSERT INTO scores (name, country, score, created) VALUES ($1, $2, $3, $4)");
    c->prepare("purge", "DELETE FROM tokens WHERE issued < $1");
    c->prepare("best", "SELECT name, country, score, created FROM scores ORDER BY score DESC, id LIMIT $1");
    return c;
  }

  // Runs `work` on a pooled connection. A connection that broke is dropped, and
  // the next caller connects afresh; the failure itself is reported, not retried,
  // since the transaction may or may not have committed.
  template <typename Work>
  auto Run(Work&& work) -> decltype(work(std::declval<pqxx::connection&>())) {
    std::unique_ptr<pqxx::connection> c;
    {
      std::unique_lock lock(mutex_);
      idleOrRoom_.wait(lock, [&] { return !idle_.empty() || open_ < capacity_; });
      if (!idle_.empty()) {
        c = std::move(idle_.back());
        idle_.pop_back();
      } else {
        ++open_;
      }
    }
    struct GiveBack {
      PostgresStorage& s;
      std::unique_ptr<pqxx::connection>& c;
      ~GiveBack() {
        std::lock_guard lock(s.mutex_);
        if (c && c->is_open())
          s.idle_.push_back(std::move(c));
        else
          --s.open_;
        s.idleOrRoom_.notify_one();
      }
    } giveBack{*this, c};
    try {
      if (!c) c = Connect();
      return work(*c);
    } catch (const pqxx::broken_connection& e) {
      c.reset();
      throw StorageError(std::string("PostgreSQL connection lost: ") + e.what());
    } catch (const StorageError&) {
      throw;
    } catch (const std::exception& e) {
      throw StorageError(std::string("PostgreSQL: ") + e.what());
    }
  }

  void Migrate(pqxx::connection& c) {
    pqxx::work w(c);
    w.exec("SELECT pg_advisory_xact_lock(" + std::to_string(kMigrationLock) + ")");
    w.exec("CREATE TABLE IF NOT EXISTS schema_version (version integer NOT NULL)");
    const pqxx::result r = w.exec("SELECT version FROM schema_version");
    int version = 0;
    if (r.empty())
      w.exec("INSERT INTO schema_version VALUES (0)");
    else
      version = r[0][0].as<int>();
    if (version > kSchemaVersion)
      throw StorageError("the database has schema version " + std::to_string(version) + ", newer than this program's " +
                         std::to_string(kSchemaVersion) + ": update pondaro-scores");
    for (int v = version; v < kSchemaVersion; ++v) w.exec(kMigrations[v]);
    w.exec("UPDATE schema_version SET version = " + std::to_string(kSchemaVersion));
    w.commit();
  }

  int64_t Count(const char* sql) {
    return Run([&](pqxx::connection& c) {
      pqxx::read_transaction w(c);
      return w.exec(sql)[0][0].as<int64_t>();
    });
  }

  std::string connection_;
  int capacity_;
  std::mutex mutex_;
  std::condition_variable idleOrRoom_;
  std::vector<std::unique_ptr<pqxx::connection>> idle_;
  int open_ = 0;
};

}  // namespace

std::unique_ptr<Storage> OpenPostgres(const std::string& connection, int pool) {
  return std::make_unique<PostgresStorage>(connection, pool);
}

}  // namespace pondaro::scores
