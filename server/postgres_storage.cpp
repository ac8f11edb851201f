// The shared store: PostgreSQL through libpqxx, a small pool of connections per
// service instance (postgres_pool.h). Tokens are rows like the scores, so any
// instance can redeem a token another one handed out, and the row lock of the
// DELETE makes a token good for exactly one submission even when two instances
// race for it. The rate limit is rows too, so N instances enforce one limit.
#include <cmath>

#include "postgres_pool.h"

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
    // Who sent each score from now on (older rows keep NULL), the bans, and the
    // allowance of each client, shared by the instances.
    R"(ALTER TABLE scores ADD COLUMN sender text;
       CREATE INDEX scores_sender ON scores (sender);
       CREATE TABLE bans (sender text PRIMARY KEY, created bigint NOT NULL);
       CREATE TABLE rate_limits (key text PRIMARY KEY, tokens double precision NOT NULL,
         at double precision NOT NULL, allowed boolean NOT NULL);)",
};
constexpr int kSchemaVersion = static_cast<int>(std::size(kMigrations));
// Serialises migrations of instances that start together.
constexpr int64_t kMigrationLock = 0x504f4e44;  // "POND"
// Allowances that have filled up again are swept out at most this often.
constexpr double kForgetEvery = 10 * 60;

void Prepare(pqxx::connection& c) {
  c.prepare("add_token", "INSERT INTO tokens (token, issued) VALUES ($1, $2)");
  c.prepare("redeem", "DELETE FROM tokens WHERE token = $1 RETURNING issued");
  c.prepare("banned", "SELECT 1 FROM bans WHERE sender = $1");
  c.prepare("insert", "INSERT INTO scores (name, country, score, created, sender) VALUES ($1, $2, $3, $4, $5)");
  c.prepare("purge", "DELETE FROM tokens WHERE issued < $1");
  c.prepare("best", "SELECT name, country, score, created FROM scores ORDER BY score DESC, id LIMIT $1");
  // The bucket of limiter.h in one statement: refilled for the time since, one
  // taken when there is one. SET sees the row as it was.
  c.prepare("allow", R"(
      INSERT INTO rate_limits AS r (key, tokens, at, allowed) VALUES ($1, $2::float8 - 1, $3::float8, true)
      ON CONFLICT (key) DO UPDATE SET
        allowed = LEAST($2::float8, r.tokens + GREATEST(0, $3::float8 - r.at) * $4::float8) >= 1,
        tokens = LEAST($2::float8, r.tokens + GREATEST(0, $3::float8 - r.at) * $4::float8)
                 - CASE WHEN LEAST($2::float8, r.tokens + GREATEST(0, $3::float8 - r.at) * $4::float8) >= 1
                   THEN 1 ELSE 0 END,
        at = GREATEST(r.at, $3::float8)
      RETURNING allowed, tokens)");
  c.prepare("forget", "DELETE FROM rate_limits WHERE tokens + ($1::float8 - at) * $2::float8 >= $3::float8");
}

std::optional<std::string> Nullable(const std::string& s) {
  return s.empty() ? std::nullopt : std::optional<std::string>(s);
}

ListedScore Listed(const pqxx::row& row) {
  return {row[0].as<int64_t>(),
          {row[1].as<std::string>(), row[2].as<std::string>(), row[3].as<int64_t>(), row[4].as<int64_t>()},
          row[5].is_null() ? "" : row[5].as<std::string>()};
}

class PostgresLimiter : public Limiter {
 public:
  PostgresLimiter(PostgresPool& pool, double perMinute, double burst)
      : pool_(pool), perSecond_(perMinute / 60.0), burst_(std::max(1.0, burst)) {}

  bool Allow(const std::string& key, double now, int& retryAfter) override {
    if (perSecond_ <= 0) return true;
    return pool_.Run([&](pqxx::connection& c) {
      pqxx::work w(c);
      if (now - lastForget_ >= kForgetEvery) {
        lastForget_ = now;
        w.exec_prepared("forget", now, perSecond_, burst_);
      }
      const pqxx::result r = w.exec_prepared("allow", key, burst_, now, perSecond_);
      w.commit();
      if (r[0][0].as<bool>()) return true;
      retryAfter = static_cast<int>(std::ceil((1.0 - r[0][1].as<double>()) / perSecond_));
      return false;
    });
  }

 private:
  PostgresPool& pool_;
  double perSecond_, burst_;
  std::atomic<double> lastForget_{0};
};

class PostgresStorage : public Storage {
 private:
  // `body` in a transaction that commits when it returns.
  template <typename Body>
  auto Write(Body&& body) {
    return pool_.Run([&](pqxx::connection& c) {
      pqxx::work w(c);
      if constexpr (std::is_void_v<decltype(body(w))>) {
        body(w);
        w.commit();
        return 0;
      } else {
        auto result = body(w);
        w.commit();
        return result;
      }
    });
  }

 public:
  PostgresStorage(const std::string& connection, int pool, int timeoutSeconds)
      : pool_(connection, pool, timeoutSeconds, Prepare) {
    pool_.Run([&](pqxx::connection& c) { Migrate(c); return 0; });
  }

  std::string Describe() const override { return "PostgreSQL (" + std::to_string(pool_.Size()) + " connections)"; }

  void AddToken(const std::string& token, int64_t now) override {
    Write([&](pqxx::work& w) { w.exec_prepared("add_token", token, now); });
  }

  Redeemed Redeem(const std::string& token, int64_t now, int64_t lifetime, const StoredScore& score,
                  const std::string& sender) override {
    return Write([&](pqxx::work& w) {
      const pqxx::result used = w.exec_prepared("redeem", token);
      Redeemed result = Redeemed::Unknown;
      if (!used.empty()) result = now - used[0][0].as<int64_t>() < lifetime ? Redeemed::Stored : Redeemed::Expired;
      if (result == Redeemed::Stored && !sender.empty() && !w.exec_prepared("banned", sender).empty())
        result = Redeemed::Banned;
      if (result == Redeemed::Stored)
        w.exec_prepared("insert", score.name, score.country, score.score, score.when, Nullable(sender));
      return result;
    });
  }

  int64_t PurgeTokens(int64_t before) override {
    return Write([&](pqxx::work& w) { return static_cast<int64_t>(w.exec_prepared("purge", before).affected_rows()); });
  }

  std::vector<StoredScore> Best(int count) override {
    return pool_.Run([&](pqxx::connection& c) {
      pqxx::read_transaction w(c);
      std::vector<StoredScore> out;
      for (const auto& row : w.exec_prepared("best", count))
        out.push_back({row[0].as<std::string>(), row[1].as<std::string>(), row[2].as<int64_t>(), row[3].as<int64_t>()});
      return out;
    });
  }

  void Insert(const std::vector<StoredScore>& scores) override {
    Write([&](pqxx::work& w) {
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
    });
  }

  int64_t CountScores() override { return Count("SELECT count(*) FROM scores"); }
  int64_t CountTokens() override { return Count("SELECT count(*) FROM tokens"); }

  std::vector<ListedScore> List(int count) override {
    return Write([&](pqxx::work& w) {
      std::vector<ListedScore> out;
      for (const auto& row : w.exec_params(std::string(kList) + "ORDER BY score DESC, id LIMIT $1", count))
        out.push_back(Listed(row));
      return out;
    });
  }

  std::optional<ListedScore> Find(int64_t id) override {
    return Write([&](pqxx::work& w) -> std::optional<ListedScore> {
      const pqxx::result r = w.exec_params(std::string(kList) + "WHERE id = $1", id);
      if (r.empty()) return std::nullopt;
      return Listed(r[0]);
    });
  }

  bool Remove(int64_t id) override {
    return Write([&](pqxx::work& w) { return w.exec_params("DELETE FROM scores WHERE id = $1", id).affected_rows() > 0; });
  }

  int64_t BanSender(const std::string& sender, int64_t now) override {
    return Write([&](pqxx::work& w) {
      w.exec_params("INSERT INTO bans (sender, created) VALUES ($1, $2) ON CONFLICT DO NOTHING", sender, now);
      return static_cast<int64_t>(w.exec_params("DELETE FROM scores WHERE sender = $1", sender).affected_rows());
    });
  }

  bool Unban(const std::string& sender) override {
    return Write([&](pqxx::work& w) { return w.exec_params("DELETE FROM bans WHERE sender = $1", sender).affected_rows() > 0; });
  }

  std::vector<Ban> Bans() override {
    return Write([&](pqxx::work& w) {
      std::vector<Ban> out;
      for (const auto& row : w.exec("SELECT sender, created FROM bans ORDER BY created, sender"))
        out.push_back({row[0].as<std::string>(), row[1].as<int64_t>()});
      return out;
    });
  }

  std::unique_ptr<Limiter> SharedLimiter(double perMinute, double burst) override {
    return std::make_unique<PostgresLimiter>(pool_, perMinute, burst);
  }

 private:
  static constexpr const char* kList = "SELECT id, name, country, score, created, sender FROM scores ";

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
    return pool_.Run([&](pqxx::connection& c) {
      pqxx::read_transaction w(c);
      return w.exec(sql)[0][0].as<int64_t>();
    });
  }

  PostgresPool pool_;
};

}  // namespace

std::unique_ptr<Storage> OpenPostgres(const std::string& connection, int pool, int timeoutSeconds) {
  return std::make_unique<PostgresStorage>(connection, pool, timeoutSeconds);
}

}  // namespace pondaro::scores
